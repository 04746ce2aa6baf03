#pragma once

// Where the wizard's controls go when the window is resized. Everything is in twips and plain
// numbers, so the rules can be tested without a window; the window converts once.
namespace brimtor {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The sizes the rules read: the window's and the fixed sizes of a few controls.
struct WizardLayoutInput {
    int clientWidth = 0;   // W
    int clientHeight = 0;  // H
    int sourceRows = 0;    // the source page's options
    int outerWidth = 0;    // the window with its frame
    int frame1Height = 0;
    int headerWidth = 0;
    int iconWidth = 0;
    int buttonHeight = 0;  // the four bottom buttons share one height
    int cancelWidth = 0;
    int nextWidth = 0;
    int backWidth = 0;
    int donationWidth = 0;
    // Scan page.
    int responseWidth = 0;
    int detailsTop = 0;
    int detailsHeight = 0;
    int scanWidth = 0;
    int scanHeight = 0;
    int pauseWidth = 0;
    int lanesWidth = 0;  // the lane count and its label
    int lanesHeight = 0;
    int lanesLabelWidth = 0;
    int lanesLabelHeight = 0;
    int lookInsideWidth = 0;  // the check box "Look inside pages that answer"
    int lookInsideHeight = 0;
    // Results page.
    int cleanWidth = 0;
    int cleanHeight = 0;
    int otherColumnsWidth = 0;  // Status, Result and Status Code together
};

struct WizardLayout {
    TwipRect smallPage;  // pages 0, 1, 2 and 5, tall enough for every source option
    TwipRect bigPage;    // pages 3 and 4
    // Scan page, in page coordinates (only the values the rules set).
    int progressWidth = 0;
    int responseLeft = 0;
    int detailsListWidth = 0;
    int detailsListHeight = 0;
    int scanLeft = 0;
    int scanTop = 0;
    int pauseLeft = 0;
    TwipRect lanes;
    TwipRect lanesLabel;
    TwipRect lookInside;  // on the Details button's row, its right edge the list's
    // Results page, in page coordinates.
    int resultsWidth = 0;
    int resultsHeight = 0;
    int cleanCountTop = 0;
    int cleanLeft = 0;
    int cleanTop = 0;
    int firstColumnWidth = 0;
    // Header.
    int separatorWidth = 0;
    int iconLeft = 0;
    // Button row and the band behind it.
    int buttonTop = 0;
    int cancelLeft = 0;
    int nextLeft = 0;
    int backLeft = 0;
    int donationLeft = 0;
    TwipRect frame1;
};

// The wizard's resize rules. Negative results (a window smaller than the pages) are returned
// as they are: the window clips them.
WizardLayout LayOutWizard(const WizardLayoutInput& in);

constexpr int kSmallPageWidth = 7935;
constexpr int kSmallPageHeight = 3675;
constexpr int kBigPageTop = 840;

// The source page's options, one row per source, the first at this top, each this far apart;
// a file box stands beside the option of its source.
constexpr int kSourceRowTop = 720;
constexpr int kSourceRowPitch = 480;

// The small pages' height: the built-in one, or more when the source page has more options than
// it holds.
int SmallPageHeight(int sourceRows);

}  // namespace brimtor
