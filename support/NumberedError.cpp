#include "support/NumberedError.hpp"

namespace brimtor {

NumberedError::NumberedError(long number, std::string source, std::string description)
    : std::runtime_error(description)
    , m_number(number)
    , m_source(std::move(source))
    , m_description(std::move(description))
{
}

}  // namespace brimtor
