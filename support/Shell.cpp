#include "support/Shell.hpp"

namespace brimtor {

static ShellHandler& Handler()
{
    static ShellHandler handler;
    return handler;
}

bool OpenWithShell(const std::string& target)
{
    return Handler() ? Handler()(target) : false;
}

ShellHandler SetShellHandler(ShellHandler handler)
{
    ShellHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

}  // namespace brimtor
