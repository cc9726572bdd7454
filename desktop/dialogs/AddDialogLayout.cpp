#include "desktop/dialogs/AddDialogLayout.h"

#include <algorithm>

namespace zv {

namespace {

// The room each pane keeps at least when the splitter is dragged.
constexpr int kPaneMinimum = 900;

constexpr int kMargin = 60;
constexpr int kInner = 120;  // children's distance from their frame's edges
constexpr int kPaneTop = 240;
constexpr int kSplitterTop = 120;
constexpr int kSplitterWidth = 90;
constexpr int kLineWidth = 15;
constexpr int kDriveHeight = 330;
constexpr int kDirTop = 615;
constexpr int kRowHeight = 285;
constexpr int kLabelWidth = 840;
constexpr int kSelectWidth = 1215;
constexpr int kButtonWidth = 1455;
constexpr int kButtonHeight = 345;
constexpr int kProgressFrameHeight = 465;
constexpr int kProgressTop = 150;
constexpr int kProgressHeight = 225;
constexpr int kCancelTop = 105;
constexpr int kCancelWidth = 975;
constexpr int kCancelHeight = 315;
constexpr int kStatusHeight = 210;
constexpr int kOverlayHeight = 360;

int AtLeastZero(int value) {
    return std::max(0, value);
}

}  // namespace

void AddDialogLayout::Vertical(int H, int c) {
    frame0.top = frame1.top = kMargin;
    frame0.height = frame1.height = AtLeastZero(H - (c + 855));
    frame2.top = kSplitterTop;
    frame2.height = AtLeastZero(H - (c + 975));
    line0.top = 0;
    line0.height = AtLeastZero(frame2.height - 15);
    frame3.top = H - 1035;
    frame3.height = kProgressFrameHeight;
    button0.top = button1.top = H - 915;
    button0.height = button1.height = kButtonHeight;
    button2.top = button3.top = H - 1875;
    button2.height = button3.height = kButtonHeight;
    label0.top = text0.top = check.top = H - 1515;
    label0.height = text0.height = check.height = kRowHeight;
    list.top = kPaneTop;
    list.height = AtLeastZero(H - 2220);
    drive.top = kPaneTop;
    drive.height = kDriveHeight;
    dir.top = kDirTop;
    dir.height = AtLeastZero(H - 2175);
    progressBar.top = kProgressTop;
    progressBar.height = kProgressHeight;
    button4.top = kCancelTop;
    button4.height = kCancelHeight;
    statusBar.top = H - c - kStatusHeight;
    statusBar.height = kStatusHeight;
    PlaceOverlay();
}

void AddDialogLayout::Horizontal(int W, int x) {
    frame0.left = kMargin;
    frame0.width = AtLeastZero(x - 135);
    frame2.left = x;
    frame2.width = kSplitterWidth;
    line0.left = (kSplitterWidth - kLineWidth) / 2;
    line0.width = kLineWidth;
    drive.left = dir.left = check.left = kInner;
    drive.width = dir.width = check.width = AtLeastZero(x - 375);
    frame1.left = x + 90;
    frame1.width = AtLeastZero(W - x - 315);
    list.left = kInner;
    list.width = AtLeastZero(W - x - 555);
    label0.left = kInner;
    label0.width = kLabelWidth;
    text0.width = AtLeastZero(W - x - 1395);
    text0.left = kInner + list.width - text0.width;
    button2.left = kInner;
    button2.width = button3.width = kSelectWidth;
    button3.left = button2.left + kSelectWidth + kMargin;
    button1.left = W - 3240;
    button0.left = W - 1680;
    button0.width = button1.width = kButtonWidth;
    frame3.left = kMargin;
    frame3.width = AtLeastZero(W - 3465);
    button4.left = frame3.width - 1095;
    button4.width = kCancelWidth;
    progressBar.left = kInner;
    progressBar.width = AtLeastZero(frame3.width - 1320);
    statusBar.left = 0;
    statusBar.width = W;
    PlaceOverlay();
}

int AddDialogLayout::ClampSplitter(int x, int W) {
    const int lowest = kPaneMinimum + 135;
    const int highest = W - 555 - kPaneMinimum;
    return std::max(lowest, std::min(x, highest));
}

void AddDialogLayout::PlaceOverlay() {
    overlay.left = frame1.left + list.left + kInner;
    overlay.width = AtLeastZero(list.width - 2 * kInner);
    overlay.top = frame1.top + list.top + (list.height - kOverlayHeight) / 2;
    overlay.height = kOverlayHeight;
}

}  // namespace zv
