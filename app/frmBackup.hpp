#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace brimtor {

// Lists the backup copies; "Clean" deletes the ticked ones, "View" opens the highlighted one and
// "Restore" puts it back where it came from.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(QWidget* parent = nullptr);

    void LoadDisplay();
    void CleanSelected();
    void ViewSelected();
    // Asks where an old backup without its record came from, then whether to put it back; says
    // what was put back or why nothing was.
    void RestoreSelected();

private:
    void cmdOK_Click();
    void CheckAll();
    // The highlighted row's backup; empty when no row is.
    std::string SelectedPath() const;
    void EnableRestore();

    QListWidget* m_lvArchive = nullptr;
    QMenu* m_mnuPopup = nullptr;
    QPushButton* m_cmdRestore = nullptr;
    QAction* m_mnuRestore = nullptr;
    std::vector<std::string> m_paths;  // row i lists m_paths[i]
};

}  // namespace brimtor
