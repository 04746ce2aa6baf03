#include "app/QtSeams.hpp"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "support/ErrorLog.hpp"
#include "support/ErrorLogFile.hpp"
#include "support/MessageBox.hpp"
#include "support/Shell.hpp"
#include "support/ui/LocalText.hpp"

namespace brimtor {

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

MsgAnswer FromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    default: return MsgAnswer::Ok;
    }
}

MsgAnswer ShowQtMessage(const Message& message)
{
    QMessageBox box(ToQtIcon(message.icon), ToQt(message.title),
                    ToQt(message.text), ToQtButtons(message.buttons),
                    QApplication::activeWindow());
    return FromQtButton(box.exec());
}

bool OpenWithDesktop(const std::string& target)
{
    const QString text = ToQt(target);
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text)
                                                       : QUrl(text, QUrl::TolerantMode);
    return QDesktopServices::openUrl(url);
}

}  // namespace

void InstallQtSeams()
{
    SetMessageHandler(ShowQtMessage);
    SetShellHandler(OpenWithDesktop);
}

void InstallErrorLogFile()
{
    SetErrorLogSink([](const std::string& source, long number, const std::string& description) {
        if (!AppendErrorLog(source, number, description)) {
            ShowMessage("There was an error in creating an error log entry", MsgIcon::Information,
                        MsgButtons::Ok, "Log Error");
        }
    });
}

}  // namespace brimtor
