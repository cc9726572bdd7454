#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace zv {

// The version box: the program's picture, name, version, rights notice and
// disclaimer, closed with OK. It does not block the main window that owns it.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* owner);

  private:
    QLabel* objPicture = nullptr;
    std::array<QLabel*, 5> objLabel{};
    std::array<QPushButton*, 1> objButton{};
};

}  // namespace zv
