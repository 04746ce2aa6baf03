#include "support/MessageBox.hpp"

#include <iostream>

namespace brimtor {

static MessageHandler& Handler()
{
    static MessageHandler handler;
    return handler;
}

static MsgAnswer FirstButton(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
        return MsgAnswer::Retry;
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        break;
    }
    return MsgAnswer::Ok;
}

MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons,
                      const std::string& title)
{
    const Message message{text, title, icon, buttons};
    if (Handler())
        return Handler()(message);
    std::cerr << title << ": " << text << '\n';
    return FirstButton(buttons);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace brimtor
