#pragma once

#include <string>

namespace brimtor {

// The scan page's buttons the scan driver enables, disables and captions.
enum class ScanButton { Scan, Pause, Next, Back, Cancel };

// What the scan driver needs of the window: the stage and socket labels, the details log, the
// progress bar and the buttons. The main window implements it over its widgets; tests
// implement it over plain values.
class ScanView {
public:
    virtual ~ScanView() = default;

    virtual void SetStatus(const std::string& text) = 0;    // the stage line
    virtual void SetResponse(const std::string& text) = 0;  // the socket's state
    virtual void ShowResponse() = 0;

    virtual bool DetailsShown() const = 0;
    virtual void ClearDetails() = 0;
    virtual void AppendDetail(const std::string& line) = 0;
    virtual int DetailCount() const = 0;
    virtual void RemoveDetail(int index) = 0;  // 0-based
    virtual void SelectLastDetail() = 0;

    virtual void SetProgress(int value) = 0;
    virtual int ProgressMax() const = 0;

    virtual void EnableButton(ScanButton button, bool enabled) = 0;
    virtual void SetCaption(ScanButton button, const std::string& caption) = 0;

    // Draws the user's eye to the finished scan.
    virtual void Flash() = 0;
};

}  // namespace brimtor
