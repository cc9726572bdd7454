#pragma once

#include <QCursor>

class QWidget;

namespace zv {

// Shows the hourglass over a widget for as long as it lives, then gives the
// widget back the cursor it had; nested uses leave the outer one in place.
class WaitCursor {
  public:
    explicit WaitCursor(QWidget* widget);
    ~WaitCursor();

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    QWidget* widget_;
    bool hadOwnCursor_;
    QCursor previous_;
};

}  // namespace zv
