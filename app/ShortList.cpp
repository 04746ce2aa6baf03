#include "app/ShortList.hpp"

#include <algorithm>

namespace brimtor {

std::string ShortList(const std::string& header, const std::vector<std::string>& lines)
{
    constexpr std::size_t kNamed = 5;
    std::string text = header + "\r\n";
    for (std::size_t i = 0; i < std::min(lines.size(), kNamed); ++i)
        text += "\r\n" + lines[i];
    if (lines.size() > kNamed)
        text += "\r\n(and " + std::to_string(lines.size() - kNamed) + " more)";
    return text;
}

}  // namespace brimtor
