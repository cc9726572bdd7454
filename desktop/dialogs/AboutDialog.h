#pragma once

#include <QDialog>

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
    QLabel* picture_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* rightsLabel_ = nullptr;
    QLabel* disclaimerLabel_ = nullptr;
    // Which settings file this copy of the program uses.
    QLabel* settingsFileLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace zv
