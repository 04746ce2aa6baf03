#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QStringList>

class QWidget;

namespace brimtor {

// The file, folder and colour choosers behind a small set of properties. Create one instance
// per use: set the title, filter, default extension, starting folder and flags, call one of the
// Show functions and read the results. Paths are 8-bit text in the locale's encoding, as the
// rest of the program keeps them.
//
// Tests answer the next dialog without showing anything through SetNextAnswer,
// SetNextColorAnswer and SetNextCancel, and read what the dialog was asked to show through
// LastRequest.
class cCommonDialog {
public:
    // Flags of the file dialogs that change what Qt's dialog does; others are kept and ignored.
    static constexpr std::int32_t kOverwritePrompt = 0x2;
    static constexpr std::int32_t kAllowMultiSelect = 0x200;
    static constexpr std::int32_t kFileMustExist = 0x1000;
    static constexpr std::int32_t kExplorer = 0x80000;

    // Size of the file name buffer that every file dialog starts from.
    static constexpr std::int16_t kFileBufferSize = 256;

    // The program never prints: no printer dialog is offered. Always -1 (not confirmed).
    std::int32_t ShowPageSetupDlg(QWidget* owner);
    // Always false (not confirmed).
    bool ShowPrinter(std::int32_t printFlags = 0);
    // Does nothing.
    void PrintDoc();

    // A dialog for the user's own files: owned by `owner`, titled, with these flags, starting in
    // the home folder (the user's files are there, not beside an installed program).
    static cCommonDialog ForUserFiles(QWidget* owner, const std::string& title, std::int32_t flags);

    // Owner of the folder and colour dialogs; the file dialogs are shown without one.
    void SetOwnerHandle(QWidget* owner) { m_owner = owner; }
    // Folder the file dialogs start in.
    const std::string& InitDir() const { return m_initDir; }
    void SetInitDir(const std::string& folder) { m_initDir = folder; }
    // Title of the file and folder dialogs.
    const std::string& DialogTitle() const { return m_dialogTitle; }
    void SetDialogTitle(const std::string& title) { m_dialogTitle = title; }
    // Descriptions and patterns alternating, separated by "|". Throws NumberedError 9 for an
    // empty text, which leaves both the filter and its converted copy empty.
    const std::string& Filter() const { return m_filter; }
    void SetFilter(const std::string& filter);
    // The folder of the chosen file, with its trailing separator, or the chosen folder.
    const std::string& path() const { return m_path; }
    // Extension added to a name typed without one.
    const std::string& DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const std::string& extension) { m_defaultExt = extension; }
    // The chosen file's full path; after a multiple selection the folder and the file names,
    // separated by zero characters (see ParseFileNames). Every file dialog first resets it to
    // kFileBufferSize zero characters, which is what a cancelled dialog leaves.
    const std::string& Filename() const { return m_filename; }
    void SetFilename(const std::string& name) { m_filename = name; }
    // Name of the chosen file without its folder; empty after a multiple selection.
    const std::string& FileTitle() const { return m_fileTitle; }
    // 1-based index of the filter shown first.
    std::int16_t FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(std::int16_t index) { m_filterIndex = index; }
    std::int32_t flags() const { return m_flags; }
    void SetFlags(std::int32_t flags) { m_flags = flags; }
    // Setting the size also sets Filename to that many zero characters. Throws NumberedError 5
    // for a negative size.
    std::int16_t MaxFileSize() const { return m_maxFileSize; }
    void SetMaxFileSize(std::int16_t size);

    // Lets the user pick a folder: non-zero when one was chosen (it is then in path), else 0.
    std::int32_t Browse();
    // Let the user pick a file to open or a name to save under: positive when chosen, 0 when
    // cancelled; the choice is then in Filename, FileTitle and path.
    std::int32_t ShowOpen();
    std::int32_t ShowSave();
    // Lets the user pick a colour, starting from InitColor (a system colour name is resolved;
    // 0 starts from black) with 16 black custom colours. Returns 0x00BBGGRR, or -1 when
    // cancelled.
    std::int32_t ShowColor(bool bFullOpen = false, std::uint32_t InitColor = 0);
    // Full paths of the chosen files: Filename itself when it holds one name, else the folder
    // joined with each name that follows it.
    std::vector<std::string> ParseFileNames() const;

    enum class DialogKind { Open, Save, Folder, Color };
    // What a dialog was asked to show.
    struct DialogRequest {
        DialogKind kind = DialogKind::Open;
        std::string title;
        std::string initDir;
        QStringList nameFilters;
        std::int16_t filterIndex = 0;
        std::string defaultExt;
        std::int32_t flags = 0;
        std::uint32_t initialColor = 0;
        bool fullOpen = false;
    };

    // For tests: the next file or folder dialog of any instance shows nothing and answers as if
    // the user had chosen `paths` (several for a multiple selection, all in one folder; the
    // folder itself for Browse). An empty list, or a colour dialog, answers a cancel.
    static void SetNextAnswer(std::vector<std::string> paths);
    // For tests: the next colour dialog answers `color`; a file or folder dialog cancels.
    static void SetNextColorAnswer(std::uint32_t color);
    // For tests: the next dialog of any kind is cancelled without being shown.
    static void SetNextCancel();
    // For tests: what the last dialog, answered or shown, was asked to show.
    static const DialogRequest& LastRequest();

private:
    std::int32_t ShowFileDialog(DialogKind kind);
    DialogRequest FileRequest(DialogKind kind) const;
    void TakeChosenFiles(const std::vector<std::string>& paths);

    QWidget* m_owner = nullptr;
    std::string m_initDir;
    std::string m_dialogTitle;
    std::string m_filter;
    std::string m_filterZeroSeparated;
    std::string m_path;
    std::string m_defaultExt;
    std::string m_filename;
    std::string m_fileTitle;
    std::int16_t m_filterIndex = 0;
    std::int32_t m_flags = 0;
    std::int16_t m_maxFileSize = 0;
};

}  // namespace brimtor
