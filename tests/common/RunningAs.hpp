#pragma once

#include <sys/prctl.h>

namespace brimtor::test {

// Gives this process a browser's command name ("firefox-esr", "chrome") for its lifetime, so that
// a lock link naming this process names a running browser.
class RunningAs {
public:
    explicit RunningAs(const char* name)
    {
        ::prctl(PR_GET_NAME, m_name);
        ::prctl(PR_SET_NAME, name);
    }
    ~RunningAs() { ::prctl(PR_SET_NAME, m_name); }

private:
    char m_name[16] = {};
};

}  // namespace brimtor::test
