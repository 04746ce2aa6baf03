#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ClickableLabel.hpp"
#include "app/frmAbout.hpp"
#include "app/frmBackup.hpp"
#include "app/frmDonation.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/ui/XP_ProgressBar.hpp"
#include "tests/app/WizardFixture.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

// The controls a user acts on or reads, anywhere under `node`, that a screen reader could not
// name in words ("..." is no name).
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed)
{
    static const QList<QAccessible::Role> controls {
        QAccessible::PushButton, QAccessible::RadioButton, QAccessible::CheckBox, QAccessible::EditableText,
        QAccessible::List, QAccessible::Tree, QAccessible::ProgressBar, QAccessible::Link, QAccessible::SpinBox};
    const QString name = node->text(QAccessible::Name);
    if (controls.contains(node->role()) && std::none_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); }))
        unnamed << node->object()->objectName();
    for (int i = 0; i < node->childCount(); ++i)
        CollectUnnamed(node->child(i), unnamed);
}

}  // namespace

TEST(Accessibility, EveryControlIsNamedAndTheDrawnOnesSpeak)
{
    WizardFixture w;
    frmMain& window = w.Open();
    frmBackup backup;
    frmAbout about;
    frmDonation donation;
    for (QWidget* each : std::initializer_list<QWidget*> {&window, &backup, &about, &donation}) {
        QStringList unnamed;
        CollectUnnamed(QAccessible::queryAccessibleInterface(each), unnamed);
        EXPECT_EQ(unnamed.join(' ').toStdString(), "");
    }

    // A screen reader's toggle chooses the source as a click does.
    w.Click("cmdNext");
    QAccessible::queryAccessibleInterface(w.Find<QRadioButton>("optBrowser_4"))
        ->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(w.Find<QLineEdit>("txtBookmarkFile")->isEnabled());
    EXPECT_EQ(window.Links().SelectedBrowser(), 4);

    auto* pb = w.Find<XP_ProgressBar>("pb");
    pb->SetMax(10);
    pb->SetValue(5);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(pb);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Value), "50 %");
    QAccessibleValueInterface* value = bar->valueInterface();
    ASSERT_TRUE(value);
    EXPECT_EQ(QVariantList({value->minimumValue(), value->currentValue(), value->maximumValue()}), (QVariantList{0, 5, 10}));

    auto* email = w.Find<ClickableLabel>("lblEmail");
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(email);
    EXPECT_EQ(link->role(), QAccessible::Link);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::keyClick(email, Qt::Key_Space);
    EXPECT_EQ(w.shell.Targets(), std::vector<std::string>(2, "mailto:support@brimtor.example"));
}
