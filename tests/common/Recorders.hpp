#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/Clock.hpp"
#include "support/ErrorLog.hpp"
#include "support/MessageBox.hpp"
#include "support/Shell.hpp"

// Test doubles for the seams: each installs itself for its lifetime and restores what was there.
namespace brimtor::test {

// Records every message box and answers at once: with the next queued answer, else the first
// button's answer.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void SetNextAnswer(MsgAnswer answer) { m_answers.push_back(answer); }
    // Runs while each message is up, as a test's look at the program behind the box.
    void WhenShown(std::function<void()> look) { m_whenShown = std::move(look); }
    const std::vector<Message>& Messages() const { return m_messages; }
    // The texts alone, for compact assertions.
    std::vector<std::string> Texts() const;

private:
    std::vector<Message> m_messages;
    std::deque<MsgAnswer> m_answers;
    std::function<void()> m_whenShown;
    MessageHandler m_previous;
};

// Records every target handed to the shell and answers `result`.
class ShellRecorder {
public:
    explicit ShellRecorder(bool result = true);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    const std::vector<std::string>& Targets() const { return m_targets; }

private:
    std::vector<std::string> m_targets;
    ShellHandler m_previous;
};

// Records every error-log call.
class ErrorLogRecorder {
public:
    struct Entry {
        std::string source;
        long number = 0;
        std::string description;
    };
    ErrorLogRecorder();
    ~ErrorLogRecorder();
    ErrorLogRecorder(const ErrorLogRecorder&) = delete;
    ErrorLogRecorder& operator=(const ErrorLogRecorder&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
    ErrorLogSink m_previous;
};

// A clock that stands still at the time it is given.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalTime time);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    LocalTime Now() const override { return m_time; }

private:
    LocalTime m_time;
    const Clock* m_previous;
};

}  // namespace brimtor::test
