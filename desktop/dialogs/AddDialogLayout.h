#pragma once

namespace zv {

// A control's place in twips, relative to the control that holds it.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the add-files dialog's controls go, in twips. W and H are the dialog's
// outer width and height, x the splitter bar's left edge and c the height of a
// caption bar. The vertical rules follow H, the horizontal ones W and x; a
// resize runs both, a splitter drag only the horizontal ones. Sizes never go
// below zero, however small the window.
class AddDialogLayout {
  public:
    // The client area the dialog is designed for, and its splitter.
    static constexpr int kDesignWidth = 7200;
    static constexpr int kDesignHeight = 6270;
    static constexpr int kDesignSplitter = 2400;

    void Vertical(int H, int c);
    void Horizontal(int W, int x);

    // The splitter's left edge kept where both panes still have room.
    static int ClampSplitter(int x, int W);

    // Held by the dialog.
    TwipRect frame0, frame1, frame2, frame3, button0, button1, statusBar;
    // Held by frame 0 (the left pane).
    TwipRect drive, dir, check;
    // Held by frame 1 (the right pane).
    TwipRect list, label0, text0, button2, button3;
    // Held by the splitter bar.
    TwipRect line0;
    // Held by frame 3 (the progress frame).
    TwipRect progressBar, button4;
    // Over the list, held by the dialog.
    TwipRect overlay;

  private:
    void PlaceOverlay();
};

}  // namespace zv
