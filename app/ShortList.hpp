#pragma once

#include <string>
#include <vector>

namespace brimtor {

// The header, a blank line and the first few lines, then how many more there are: a message box
// has no room for a long list. "2 favorite(s) could not be removed:\r\n\r\nNews/a.url: …".
std::string ShortList(const std::string& header, const std::vector<std::string>& lines);

}  // namespace brimtor
