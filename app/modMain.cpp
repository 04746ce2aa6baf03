#include "app/modMain.hpp"

#include <QApplication>
#include <QIcon>

#include "app/QtSeams.hpp"
#include "app/SingleInstance.hpp"
#include "app/frmMain.hpp"
#include "bookmarks/PrivateCopy.hpp"
#include "bookmarks/cIE.hpp"
#include "support/Version.hpp"

namespace brimtor {

int Main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brimtor"));
    // The desktop pairs the window with the installed menu entry and shows its icon.
    QApplication::setDesktopFileName(QLatin1String(kAppId));
    QApplication::setWindowIcon(QIcon::fromTheme(QLatin1String(kAppId)));
    SingleInstance instance;
    if (!instance.Claim())
        return 0;

    InstallQtSeams();
    InstallErrorLogFile();
    cIE::SetRuntimeVersion(qVersion());
    // A crashed read's copy of a browser's database must not outlive the crash for long.
    RemoveStaleCopies();
    frmMain window;
    QObject::connect(&instance, &SingleInstance::showRequested, &window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return QApplication::exec();
}

}  // namespace brimtor
