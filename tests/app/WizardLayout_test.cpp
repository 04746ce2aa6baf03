#include <QApplication>
#include <gtest/gtest.h>

#include "app/Twips.hpp"
#include "app/frmMain.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;

// What a user sees at the built-in size and at a larger one: the bottom buttons in a row in the
// band at the foot of the window, apart and inside it; the scan and results lists filling their
// pages, with their buttons below them.
TEST(WizardLayout, AtTwoSizesNothingOverlapsAndTheListsFillTheirPages)
{
    test::TempHome home;
    frmMain window;
    window.show();
    for (const QSize twips : {QSize(8040, 6030), QSize(12000, 9000)}) {
        window.resize(TwipsToPixels(&window, twips.width()), TwipsToPixels(&window, twips.height()));
        QApplication::processEvents();
        const QWidget* surface = window.centralWidget();
        const auto at = [&](const char* name) {
            const auto* w = window.findChild<QWidget*>(QLatin1String(name));
            return QRect(w->mapTo(surface, QPoint()), w->size());
        };
        const QRect band = at("Frame1");
        const char* const buttons[] = {"cmdDonation", "cmdBack", "cmdNext", "cmdCancel"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(surface->rect().contains(at(buttons[i]))) << buttons[i];
            EXPECT_TRUE(band.contains(at(buttons[i]).center())) << buttons[i];
            if (i > 0) {
                EXPECT_LT(at(buttons[i - 1]).right(), at(buttons[i]).left()) << buttons[i];
            }
        }
        // The look's box: on the Details row, at the list's right edge.
        EXPECT_LT(at("cmdDetails").right(), at("chkLookInside").left());
        EXPECT_LT(at("chkLookInside").bottom(), at("lbDetails").top());
        EXPECT_NEAR(at("chkLookInside").right(), at("lbDetails").right(), 1);
        for (const auto& [list, button, page] : {std::tuple("lbDetails", "cmdScan", "picPage_3"),
                                                 std::tuple("lvResults", "cmdClean", "picPage_4")}) {
            EXPECT_LT(at(page).bottom(), band.bottom()) << page;
            EXPECT_TRUE(at(page).contains(at(list))) << list;
            EXPECT_GT(at(list).width(), at(page).width() * 9 / 10) << list;
            EXPECT_GT(at(list).height(), at(page).height() / 2) << list;
            EXPECT_TRUE(at(page).contains(at(button))) << button;
            EXPECT_GT(at(button).top(), at(list).bottom()) << button;
            EXPECT_NEAR(at(button).right(), at(list).right(), 1) << button;  // right edges line up
        }
    }
}
