#include "support/ui/XP_ProgressBarAccessible.hpp"

#include "support/ui/XP_ProgressBar.hpp"

namespace brimtor {

static QAccessibleInterface* ProgressBarFactory(const QString&, QObject* object)
{
    auto* bar = qobject_cast<XP_ProgressBar*>(object);
    return bar ? new XP_ProgressBarAccessible(bar) : nullptr;
}

XP_ProgressBarAccessible::XP_ProgressBarAccessible(XP_ProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar)
{
}

void XP_ProgressBarAccessible::Install()
{
    static const bool installed = (QAccessible::installFactory(ProgressBarFactory), true);
    Q_UNUSED(installed);
}

void* XP_ProgressBarAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString XP_ProgressBarAccessible::text(QAccessible::Text t) const
{
    // The percentage, as the caption would show it.
    if (t == QAccessible::Value)
        return QString::number(Bar().Percent()) + QStringLiteral(" %");
    return QAccessibleWidget::text(t);
}

QVariant XP_ProgressBarAccessible::currentValue() const
{
    // A range the position cannot be shown in (see Value) reads as no value, never as a throw
    // into the screen reader's call.
    try {
        return Bar().Value();
    } catch (...) {
        return {};
    }
}

QVariant XP_ProgressBarAccessible::maximumValue() const
{
    return Bar().max();
}

QVariant XP_ProgressBarAccessible::minimumValue() const
{
    return Bar().min();
}

const XP_ProgressBar& XP_ProgressBarAccessible::Bar() const
{
    return *static_cast<const XP_ProgressBar*>(widget());
}

}  // namespace brimtor
