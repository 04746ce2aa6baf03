#pragma once

#include <stdexcept>
#include <string>

namespace brimtor {

// A run-time error with the number, source and description that the error log records and
// that callers may test for. Numbers follow the classic run-time error numbering so that a
// logged line reads the same whichever layer raised it.
class NumberedError : public std::runtime_error {
public:
    NumberedError(long number, std::string source, std::string description);

    long Number() const { return m_number; }
    const std::string& Source() const { return m_source; }
    const std::string& Description() const { return m_description; }

private:
    long m_number;
    std::string m_source;
    std::string m_description;
};

// The numbers this program raises outside the registry class.
namespace ErrorNumber {
constexpr long InvalidProcedureCall = 5;
constexpr long SubscriptOutOfRange = 9;
constexpr long PermissionDenied = 70;
}  // namespace ErrorNumber

}  // namespace brimtor
