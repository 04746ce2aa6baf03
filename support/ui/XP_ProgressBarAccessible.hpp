#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace brimtor {

class XP_ProgressBar;

// What a screen reader learns of the drawn progress bar: the progress-bar role, and its
// position, minimum and maximum as a value it can read but not set.
class XP_ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit XP_ProgressBarAccessible(XP_ProgressBar* bar);

    // Makes Qt's accessibility ask this class for every progress bar. Once is enough.
    static void Install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

private:
    const XP_ProgressBar& Bar() const;
};

}  // namespace brimtor
