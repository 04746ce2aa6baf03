#pragma once

#include <array>

#include <QDialog>

class QLabel;
class QTimer;

namespace brimtor {

// One step of a credit line's climb: 50 twips up, back to 3000 once above the top, shown only
// in the upper 2000 twips.
struct CreditStep {
    int top = 0;
    bool visible = false;
};
CreditStep ScrollCredit(int top);

// The version, scrolling credits and the support address.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The credits move every `scrollIntervalMs` milliseconds.
    explicit frmAbout(QWidget* parent = nullptr, int scrollIntervalMs = 100);

    // The credit lines' tops in twips, for tests.
    const std::array<int, 4>& CreditTops() const { return m_tops; }
    void SetCreditTop(std::size_t line, int top);

private:
    void ScrollCredits();
    void PlaceCredit(std::size_t line);

    std::array<QLabel*, 4> m_credits {};
    std::array<int, 4> m_tops {1800, 2200, 2600, 3000};
    QTimer* m_timer = nullptr;
};

}  // namespace brimtor
