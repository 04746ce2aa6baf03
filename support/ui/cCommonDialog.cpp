#include "support/ui/cCommonDialog.hpp"

#include <optional>
#include <utility>

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

#include "support/NumberedError.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/ui/DialogFilter.hpp"
#include "support/ui/LocalText.hpp"
#include "support/ui/SystemColor.hpp"

namespace brimtor {

namespace {

// What the next dialog answers instead of showing itself: paths for a file or folder dialog,
// a colour for a colour dialog, anything else a cancel.
struct Answer {
    std::vector<std::string> paths;
    std::optional<std::uint32_t> color;
};

std::optional<Answer> g_nextAnswer;
cCommonDialog::DialogRequest g_lastRequest;

// Records the request and hands out the pending answer, if any, once.
std::optional<Answer> TakeAnswer(const cCommonDialog::DialogRequest& request)
{
    g_lastRequest = request;
    std::optional<Answer> answer = std::move(g_nextAnswer);
    g_nextAnswer.reset();
    return answer;
}


QFileDialog::FileMode FileModeFor(const cCommonDialog::DialogRequest& request)
{
    if (request.kind == cCommonDialog::DialogKind::Save)
        return QFileDialog::AnyFile;
    if (request.flags & cCommonDialog::kAllowMultiSelect)
        return QFileDialog::ExistingFiles;
    if (request.flags & cCommonDialog::kFileMustExist)
        return QFileDialog::ExistingFile;
    return QFileDialog::AnyFile;
}

std::vector<std::string> RunFileDialog(const cCommonDialog::DialogRequest& request)
{
    QFileDialog dialog(nullptr, ToQt(request.title), ToQt(request.initDir));
    const bool save = request.kind == cCommonDialog::DialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(FileModeFor(request));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !save || !(request.flags & cCommonDialog::kOverwritePrompt));
    dialog.setNameFilters(request.nameFilters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.filterIndex - 1));
    dialog.setDefaultSuffix(ToQt(request.defaultExt));
    // A name typed without an extension takes that of the filter shown, so that a file saved
    // under "Web pages" is named as one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QRegularExpressionMatch suffix = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
        if (suffix.hasMatch())
            dialog.setDefaultSuffix(suffix.captured(1));
    });
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& file : dialog.selectedFiles())
            chosen.push_back(FromQt(file));
    return chosen;
}

std::string RunFolderDialog(QWidget* owner, const cCommonDialog::DialogRequest& request)
{
    return FromQt(QFileDialog::getExistingDirectory(owner, ToQt(request.title), QString(),
                                                    QFileDialog::ShowDirsOnly));
}

std::optional<std::uint32_t> RunColorDialog(QWidget* owner, const cCommonDialog::DialogRequest& request)
{
    // The custom colours start black at every call, like the initial colour a fresh chooser has.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::black);
    QColorDialog dialog(ToQColor(request.initialColor), owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

}  // namespace

cCommonDialog cCommonDialog::ForUserFiles(QWidget* owner, const std::string& title, std::int32_t flags)
{
    cCommonDialog dialog;
    dialog.SetOwnerHandle(owner);
    dialog.SetDialogTitle(title);
    dialog.SetFlags(flags);
    dialog.SetInitDir(FromQt(QDir::homePath()));
    return dialog;
}

std::int32_t cCommonDialog::ShowPageSetupDlg(QWidget*)
{
    return -1;
}

bool cCommonDialog::ShowPrinter(std::int32_t)
{
    return false;
}

void cCommonDialog::PrintDoc()
{
}

void cCommonDialog::SetFilter(const std::string& filter)
{
    m_filter = filter;
    // An empty filter throws below and must not leave the previous conversion behind.
    m_filterZeroSeparated.clear();
    m_filterZeroSeparated = ZeroSeparatedFilter(filter);
}

void cCommonDialog::SetMaxFileSize(std::int16_t size)
{
    if (size < 0)
        throw NumberedError(ErrorNumber::InvalidProcedureCall, "cCommonDialog: MaxFileSize", "Invalid procedure call or argument");
    m_maxFileSize = size;
    m_filename.assign(static_cast<std::size_t>(size), '\0');
}

std::int32_t cCommonDialog::Browse()
{
    DialogRequest request;
    request.kind = DialogKind::Folder;
    request.title = m_dialogTitle;
    const std::optional<Answer> answer = TakeAnswer(request);
    const std::string folder = answer ? (answer->paths.empty() ? std::string() : answer->paths.front())
                                      : RunFolderDialog(m_owner, request);
    if (folder.empty())
        return 0;
    m_path = folder;
    return 1;
}

std::int32_t cCommonDialog::ShowOpen()
{
    return ShowFileDialog(DialogKind::Open);
}

std::int32_t cCommonDialog::ShowSave()
{
    return ShowFileDialog(DialogKind::Save);
}

std::int32_t cCommonDialog::ShowColor(bool bFullOpen, std::uint32_t InitColor)
{
    DialogRequest request;
    request.kind = DialogKind::Color;
    request.fullOpen = bFullOpen;
    // A value that names no colour starts the chooser from all bits set.
    if (InitColor != 0)
        request.initialColor = TranslateColorStrict(InitColor, QApplication::palette()).value_or(0xFFFFFFFFu);
    const std::optional<Answer> answer = TakeAnswer(request);
    const std::optional<std::uint32_t> chosen = answer ? answer->color : RunColorDialog(m_owner, request);
    return chosen ? static_cast<std::int32_t>(*chosen) : -1;
}

std::vector<std::string> cCommonDialog::ParseFileNames() const
{
    const std::vector<std::string> pieces =
        m_filename.empty() ? std::vector<std::string> {} : SplitAt(m_filename, '\0');
    if (pieces.size() <= 1)
        return pieces;
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < pieces.size(); ++i)
        paths.push_back(AddTrailingChar(pieces.front(), '/') + pieces[i]);
    return paths;
}

void cCommonDialog::SetNextAnswer(std::vector<std::string> paths)
{
    g_nextAnswer = Answer {std::move(paths), std::nullopt};
}

void cCommonDialog::SetNextColorAnswer(std::uint32_t color)
{
    g_nextAnswer = Answer {{}, color};
}

void cCommonDialog::SetNextCancel()
{
    g_nextAnswer = Answer {};
}

const cCommonDialog::DialogRequest& cCommonDialog::LastRequest()
{
    return g_lastRequest;
}

std::int32_t cCommonDialog::ShowFileDialog(DialogKind kind)
{
    // A name or size set before the call has no effect on the dialog.
    SetMaxFileSize(kFileBufferSize);
    const DialogRequest request = FileRequest(kind);
    const std::optional<Answer> answer = TakeAnswer(request);
    const std::vector<std::string> chosen = answer ? answer->paths : RunFileDialog(request);
    if (chosen.empty())
        return 0;
    TakeChosenFiles(chosen);
    return 1;
}

cCommonDialog::DialogRequest cCommonDialog::FileRequest(DialogKind kind) const
{
    DialogRequest request;
    request.kind = kind;
    request.title = m_dialogTitle;
    request.initDir = m_initDir;
    request.nameFilters = QtNameFilters(m_filterZeroSeparated);
    request.filterIndex = m_filterIndex;
    request.defaultExt = m_defaultExt;
    request.flags = m_flags;
    return request;
}

void cCommonDialog::TakeChosenFiles(const std::vector<std::string>& paths)
{
    const std::string& first = paths.front();
    const std::string::size_type slash = first.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : first.substr(0, slash == 0 ? 1 : slash);
    m_path = folder.empty() ? folder : AddTrailingChar(folder, '/');
    if (paths.size() == 1) {
        m_filename = first;
        m_fileTitle = GetFileName(first);
        return;
    }
    m_filename = folder;
    for (const std::string& file : paths)
        m_filename += '\0' + GetFileName(file);
    m_fileTitle.clear();
}

}  // namespace brimtor
