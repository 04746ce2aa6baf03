#include <QApplication>
#include <QMainWindow>

#include "app/QtSeams.hpp"
#include "support/MessageBox.hpp"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brimtor"));
    brimtor::InstallQtSeams();

    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(brimtor::kProgramTitle));
    window.resize(536, 402);
    window.show();
    return QApplication::exec();
}
