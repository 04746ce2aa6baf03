#include "tests/common/Recorders.hpp"

namespace brimtor::test {

MessageRecorder::MessageRecorder()
{
    m_previous = SetMessageHandler([this](const Message& message) {
        m_messages.push_back(message);
        if (m_whenShown)
            m_whenShown();
        if (!m_answers.empty()) {
            const MsgAnswer answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        switch (message.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Yes;
        case MsgButtons::RetryCancel:
            return MsgAnswer::Retry;
        default:
            return MsgAnswer::Ok;
        }
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHandler(std::move(m_previous));
}

std::vector<std::string> MessageRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const Message& message : m_messages)
        texts.push_back(message.text);
    return texts;
}

ShellRecorder::ShellRecorder(bool result)
{
    m_previous = SetShellHandler([this, result](const std::string& target) {
        m_targets.push_back(target);
        return result;
    });
}

ShellRecorder::~ShellRecorder()
{
    SetShellHandler(std::move(m_previous));
}

ErrorLogRecorder::ErrorLogRecorder()
{
    m_previous = SetErrorLogSink([this](const std::string& source, long number,
                                        const std::string& description) {
        m_entries.push_back({source, number, description});
    });
}

ErrorLogRecorder::~ErrorLogRecorder()
{
    SetErrorLogSink(std::move(m_previous));
}

FakeClock::FakeClock(LocalTime time)
    : m_time(time)
    , m_previous(SetAppClock(this))
{
}

FakeClock::~FakeClock()
{
    SetAppClock(m_previous);
}

}  // namespace brimtor::test
