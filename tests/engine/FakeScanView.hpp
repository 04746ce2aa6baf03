#pragma once

#include <string>
#include <vector>

#include "engine/ScanView.hpp"

namespace brimtor::test {

// The scan page as plain values.
class FakeScanView : public ScanView {
public:
    void SetStatus(const std::string& text) override { status = text; }
    void SetResponse(const std::string& text) override { response = text; }
    void ShowResponse() override { responseShown = true; }
    bool DetailsShown() const override { return detailsShown; }
    void ClearDetails() override { details.clear(); }
    void AppendDetail(const std::string& line) override { details.push_back(line); }
    int DetailCount() const override { return static_cast<int>(details.size()); }
    void RemoveDetail(int index) override { details.erase(details.begin() + index); }
    void SelectLastDetail() override { selected = DetailCount() - 1; }
    void SetProgress(int value) override { progresses.push_back(progress = value); }
    int ProgressMax() const override { return progressMax; }
    void EnableButton(ScanButton button, bool on) override { enabled[static_cast<int>(button)] = on; }
    void SetCaption(ScanButton button, const std::string& text) override { captions[static_cast<int>(button)] = text; }
    void Flash() override { ++flashes; }

    bool Enabled(ScanButton b) const { return enabled[static_cast<int>(b)]; }
    std::string Caption(ScanButton b) const { return captions[static_cast<int>(b)]; }

    std::string status, response;
    bool responseShown = false, detailsShown = false;
    std::vector<std::string> details;
    std::vector<int> progresses;  // every value the bar was given
    int selected = -1, progress = -1, progressMax = 0, flashes = 0;
    bool enabled[5] = {true, false, false, false, true};
    std::string captions[5];
};

}  // namespace brimtor::test
