#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace brimtor {

// Why a step failed, in words the user can be shown ("Cannot replace /x: the file is read-only").
struct Failure {
    std::string reason;
};

// What a step gives when the world may refuse it (a file, a disk, another program, the user's
// data): its value, or the failure. A step with nothing to give is an Outcome<>. Only a broken
// invariant throws.
template <typename T = std::monostate>
class [[nodiscard]] Outcome {
public:
    Outcome(T value = {}) : m_value(std::move(value)) {}
    Outcome(Failure failure) : m_reason(std::move(failure.reason)) {}

    explicit operator bool() const { return m_value.has_value(); }
    const T& operator*() const { return *m_value; }
    T& operator*() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    // Why there is no value; empty when there is one.
    const std::string& Reason() const { return m_reason; }

private:
    std::optional<T> m_value;
    std::string m_reason;
};

}  // namespace brimtor
