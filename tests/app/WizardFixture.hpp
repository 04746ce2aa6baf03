#pragma once

#include <memory>
#include <string>

#include <QPushButton>
#include <QStringList>

#include "app/frmMain.hpp"
#include "engine/ConnectionFlags.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"

namespace brimtor::test {

// A wizard window in a temporary home, with fast timers, a LAN connection confirmed by a
// loopback test site, and recorders for message boxes and the shell.
struct WizardFixture {
    TempHome home;
    MessageRecorder messages;
    ShellRecorder shell;
    LoopbackServer server;
    quint16 port = server.Start();
    ConnectionFlagsSource previousFlags;
    std::unique_ptr<frmMain> window;

    WizardFixture();
    ~WizardFixture();

    // Opens the window (again), as a fresh start reading the settings.
    frmMain& Open(const std::vector<SourceKind>& kinds = SourceKinds());
    void Close();

    template <typename T>
    T* Find(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    void Click(const char* buttonName) const;
    // Clicks the source option's round button, as a user would.
    void ChooseSource(int option) const;
    std::string Url(const std::string& path) const;
    // Chooses the text-file source with a file holding these lines and moves to the proxy page.
    void LoadTextFile(const std::vector<std::string>& lines);
    // From the proxy page: to the scan page, then scans and waits for the end.
    void Scan();
    // On the results page: shows every bookmark and saves the list with Ctrl+S as this file.
    void SaveAllRows(const std::string& path);
};

// What brimtor-check prints with these arguments, run to its end without the connection test or
// a server pace while this process's event loop serves the links.
std::string CommandOutput(QStringList arguments);

}  // namespace brimtor::test
