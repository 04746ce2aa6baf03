#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QMainWindow>
#include <QPointer>

class QPushButton;

#include "app/WizardPages.hpp"
#include "bookmarks/SourceKinds.hpp"
#include "engine/ScanView.hpp"
#include "engine/cScanDriver.hpp"

namespace brimtor {

class cLinkMain;
class CNetConnect;
class ProxyBox;
class frmBackup;
class frmDonation;

// How long the window's timers and the connection probe wait. Tests shorten them.
struct frmMainTimings {
    ScanTimings scan;
    std::chrono::milliseconds testSiteLimit {10000};
};

// The wizard: welcome, source, proxy, scan, results and finish pages over one source
// controller, with the menus that open the other windows. Its source options are the rows of
// the sources table (a test may give one of its own).
class frmMain : public QMainWindow, private ScanView {
    Q_OBJECT

public:
    explicit frmMain(frmMainTimings timings = {}, const std::vector<SourceKind>& kinds = SourceKinds(),
                     QWidget* parent = nullptr);
    ~frmMain() override;

    std::int16_t CurrentPage() const { return m_CurrentPage; }
    cLinkMain& Links() { return *m_links; }

    void cmdNext_Click();
    void cmdBack_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void BuildMenus();
    void ConnectControls();
    void ShowPage();
    void EnterSourceLoad();
    void EnterScanPage();
    void optBrowser_Click(int index);
    void Browse(std::size_t code);
    void chkUseProxy_Click(bool ticked);
    void cmdScan_Click();
    void cmdClean_Click();
    // Cleans the chosen source and tells the user how it went; false when marked bookmarks are
    // still in the source, so the results page stays.
    bool CleanAndReport();
    // The text with the chosen browser profile's folder after it, when there is one.
    std::string AboutSource(const std::string& text);
    void ShowBackups();
    void ShowDonation();
    void ShowAbout();
    void ApplyLayout();
    QPushButton* ScanPageButton(ScanButton button) const;

    // ScanView: the scan page's controls for the scan driver.
    void SetStatus(const std::string& text) override;
    void SetResponse(const std::string& text) override;
    void ShowResponse() override;
    bool DetailsShown() const override;
    void ClearDetails() override;
    void AppendDetail(const std::string& line) override;
    int DetailCount() const override;
    void RemoveDetail(int index) override;
    void SelectLastDetail() override;
    void SetProgress(int value) override;
    int ProgressMax() const override;
    void EnableButton(ScanButton button, bool enabled) override;
    void SetCaption(ScanButton button, const std::string& caption) override;
    void Flash() override;

    frmMainTimings m_timings;
    const std::vector<SourceKind>& m_kinds;
    WizardControls m_c;
    std::unique_ptr<cLinkMain> m_links;
    std::unique_ptr<cScanDriver> m_driver;
    std::unique_ptr<ProxyBox> m_proxyBox;
    QPointer<frmBackup> m_backup;
    QPointer<frmDonation> m_donation;
    std::int16_t m_CurrentPage = 0;
    // The source the settings keep: the one read at the start until the user goes on from the
    // source page, so a choice made for them (or a look around) is never stored as theirs.
    std::optional<std::int32_t> m_rememberedSource;
    bool m_unloaded = false;
};

}  // namespace brimtor
