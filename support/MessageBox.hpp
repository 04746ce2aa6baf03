#pragma once

#include <functional>
#include <string>

#include "support/Version.hpp"

// The one way any layer shows a message box. The application installs a handler that shows a
// real dialog; tests install one that records the message and answers at once.
namespace brimtor {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct Message {
    std::string text;
    std::string title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

using MessageHandler = std::function<MsgAnswer(const Message&)>;

// Shows the message and returns the user's answer. With no handler installed the message is
// written to standard error and the first button's answer is returned.
MsgAnswer ShowMessage(const std::string& text, MsgIcon icon = MsgIcon::None,
                      MsgButtons buttons = MsgButtons::Ok, const std::string& title = kProgramTitle);

// Installs the handler and returns the one it replaced.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace brimtor
