#pragma once

#include <array>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace brimtor {

struct SourceKind;
class XP_ProgressBar;
class ResultsView;
class ClickableLabel;

// The controls of the wizard's header, pages and button band, built once by BuildWizard and
// then driven by the main window. Each carries its name as its objectName; the members of a
// control array are named with an index suffix ("optBrowser_3", "picPage_0").
struct WizardControls {
    QWidget* picHeader = nullptr;
    QLabel* imgIcon = nullptr;
    QFrame* sepOne = nullptr;
    std::array<QWidget*, 6> picPage {};

    // Source page: one option per source kind, by code, and beside the option of a source
    // whose file the user names, its box and browse button ("txtFile", "cmdBrowse").
    struct FileBox {
        QLineEdit* box = nullptr;
        QPushButton* browse = nullptr;
    };
    std::vector<QRadioButton*> optBrowser;
    std::vector<FileBox> fileBoxes;  // by code; none for a source that finds its own store

    // Proxy page.
    QCheckBox* chkUseProxy = nullptr;
    QLineEdit* txtProxyServer = nullptr;
    QLineEdit* txtProxyPort = nullptr;
    QLineEdit* txtProxyUserName = nullptr;
    QLineEdit* txtProxyPassword = nullptr;
    QLabel* Label13 = nullptr;  // "Proxy Ser&ver: "
    QLabel* Label14 = nullptr;  // "Port:"
    QLabel* Label10 = nullptr;  // "Us&er name:"
    QLabel* Label8 = nullptr;   // "P&assword:"

    // Scan page.
    XP_ProgressBar* pb = nullptr;
    QPushButton* cmdDetails = nullptr;
    QListWidget* lbDetails = nullptr;
    QPushButton* cmdScan = nullptr;
    QPushButton* cmdPause = nullptr;
    QLabel* lblLanes = nullptr;  // "Links at a time:"
    QSpinBox* spnLanes = nullptr;
    QCheckBox* chkLookInside = nullptr;  // "Look inside pages that answer"
    QLabel* lblResponse = nullptr;
    QLabel* lblStatus = nullptr;

    // Results page.
    ResultsView* lvResults = nullptr;
    QLabel* lblCleanCount = nullptr;
    QPushButton* cmdClean = nullptr;

    // Finish page.
    ClickableLabel* lblEmail = nullptr;

    // Button band.
    QFrame* Frame1 = nullptr;
    QPushButton* cmdDonation = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Builds every control of the wizard as a child of `surface`, at its design place, with the
// source page's options from the kinds of sources.
WizardControls BuildWizard(QWidget* surface, const std::vector<SourceKind>& kinds);

// The placeholder the proxy server box shows while no server is named.
inline constexpr const char* kServerPlaceholder = "...Server Name";
// The placeholder of the two file boxes.
inline constexpr const char* kFilePlaceholder = "please specify...";

}  // namespace brimtor
