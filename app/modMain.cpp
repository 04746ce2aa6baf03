#include "app/modMain.hpp"

#include <string>

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "app/Maker.hpp"
#include "app/QtSeams.hpp"
#include "app/frmMain.hpp"
#include "bookmarks/cIE.hpp"
#include "support/ErrorLog.hpp"
#include "support/ErrorLogFile.hpp"
#include "support/Shell.hpp"

namespace brimtor {

// The per-user runtime folder ($XDG_RUNTIME_DIR), or a private one in the temporary folder.
static QString LockFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/brimtor.lock");
}

int Main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brimtor"));
    QLockFile instance(LockFilePath());
    // A lock left by a process that died is taken over; a live one means we are the second.
    instance.setStaleLockTime(0);
    if (!instance.tryLock(0))
        return 0;

    InstallQtSeams();
    InstallErrorLogFile();
    cIE::SetRuntimeVersion(qVersion());
    frmMain window;
    window.show();
    return QApplication::exec();
}

void OpenEmail()
{
    LogFailure("modMain: OpenEmail", [] { OpenWithShell(std::string("mailto:") + maker::kSupportAddress); });
}

}  // namespace brimtor
