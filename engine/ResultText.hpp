#pragma once

#include <cstdint>
#include <string>

namespace brimtor {

// The words the results show for a check's response code: the socket or connection error's
// text for numbers above 4096, the HTTP reason phrase otherwise, with the reason the row is not
// ticked when the site refused the check.
std::string ResultText(std::int32_t code);

}  // namespace brimtor
