#include "app/WizardLayout.hpp"

#include <algorithm>

namespace brimtor {

namespace {

// A control that ends `gap` twips left of another: its left edge.
int EndsLeftOf(int otherLeft, int ownWidth, int gap)
{
    return otherLeft - ownWidth - gap;
}

void LayOutScanPage(const WizardLayoutInput& in, WizardLayout& out)
{
    const int w = out.bigPage.width;
    const int h = out.bigPage.height;
    out.progressWidth = w - 440;
    out.responseLeft = w - in.responseWidth - 440;
    out.detailsListWidth = w - 440;
    out.detailsListHeight = h - in.detailsTop - in.detailsHeight - in.scanHeight - 240;
    // The list starts right under the Details button.
    const int listTop = in.detailsTop + in.detailsHeight;
    const int listLeft = 220;
    out.scanTop = listTop + out.detailsListHeight + 100;
    out.scanLeft = listLeft + out.detailsListWidth - in.scanWidth;
    out.pauseLeft = EndsLeftOf(out.scanLeft, in.pauseWidth, 100);
    // The lane count and its label go left of Pause, centred on the button row.
    const auto centred = [&out, &in](int height) { return out.scanTop + (in.scanHeight - height) / 2; };
    out.lanes = {EndsLeftOf(out.pauseLeft, in.lanesWidth, 100), centred(in.lanesHeight), in.lanesWidth,
                 in.lanesHeight};
    out.lanesLabel = {EndsLeftOf(out.lanes.left, in.lanesLabelWidth, 60), centred(in.lanesLabelHeight),
                      in.lanesLabelWidth, in.lanesLabelHeight};
    // The button row has no room left for it at the built-in width; the Details row has.
    out.lookInside = {listLeft + out.detailsListWidth - in.lookInsideWidth,
                      in.detailsTop + (in.detailsHeight - in.lookInsideHeight) / 2, in.lookInsideWidth,
                      in.lookInsideHeight};
}

void LayOutResultsPage(const WizardLayoutInput& in, WizardLayout& out)
{
    out.resultsWidth = out.bigPage.width - 100;
    out.resultsHeight = out.bigPage.height - in.cleanHeight - 250;
    out.cleanCountTop = out.resultsHeight + 20;
    out.cleanTop = out.resultsHeight + 60;
    out.cleanLeft = out.resultsWidth - in.cleanWidth;
    out.firstColumnWidth = out.resultsWidth - in.otherColumnsWidth - 500;
}

void LayOutButtons(const WizardLayoutInput& in, WizardLayout& out)
{
    out.buttonTop = in.clientHeight - in.buttonHeight - 90;
    out.cancelLeft = in.clientWidth - in.cancelWidth - 100;
    out.nextLeft = EndsLeftOf(out.cancelLeft, in.nextWidth, 300);
    out.backLeft = EndsLeftOf(out.nextLeft, in.backWidth, 50);
    out.donationLeft = EndsLeftOf(out.backLeft, in.donationWidth, 1000);
    out.frame1 = {-120, out.buttonTop - in.buttonHeight + 100, in.outerWidth + 100, 1125};
}

}  // namespace

int SmallPageHeight(int sourceRows)
{
    // The built-in page ends 75 twips below its sixth option's row.
    return std::max(kSmallPageHeight, kSourceRowTop + sourceRows * kSourceRowPitch + 75);
}

WizardLayout LayOutWizard(const WizardLayoutInput& in)
{
    WizardLayout out;
    const int smallHeight = SmallPageHeight(in.sourceRows);
    out.smallPage = {in.clientWidth / 2 - kSmallPageWidth / 2, in.clientHeight / 2 - smallHeight / 2,
                     kSmallPageWidth, smallHeight};
    out.bigPage = {0, kBigPageTop, in.clientWidth, in.clientHeight - in.frame1Height - 360};
    LayOutScanPage(in, out);
    LayOutResultsPage(in, out);
    out.separatorWidth = in.outerWidth + 300;
    out.iconLeft = in.headerWidth - in.iconWidth - 100;
    LayOutButtons(in, out);
    return out;
}

}  // namespace brimtor
