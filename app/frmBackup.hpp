#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QListWidget;
class QMenu;

namespace brimtor {

// Lists the backup copies; "Clean" deletes the ticked ones, "View" opens the highlighted one.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(QWidget* parent = nullptr);

    void LoadDisplay();
    void CleanSelected();
    void ViewSelected();

private:
    void cmdOK_Click();
    void CheckAll();

    QListWidget* m_lvArchive = nullptr;
    QMenu* m_mnuPopup = nullptr;
    std::vector<std::string> m_paths;  // row i lists m_paths[i]
};

}  // namespace brimtor
