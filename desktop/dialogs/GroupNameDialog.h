#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/project/ItemRecord.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zv {

// The group confirmation: asked when several files come into a project at
// once, whether they are to be registered as one group, and under which name.
// Its only result is the chosen group name, empty unless the user confirmed a
// name; the caller does the adding.
class GroupNameDialog : public QDialog {
    Q_OBJECT

  public:
    // `items`: the list items of the project the files are for; a name is
    // checked against their groups.
    GroupNameDialog(QWidget* owner, std::vector<ItemRecord> items);

    // Shows the dialog modally over `owner` and gives the chosen group name.
    static std::string Ask(QWidget* owner, std::vector<ItemRecord> items);

    // The name confirmed with OK; empty otherwise.
    const std::string& ChosenName() const { return chosenName_; }

  private:
    // The name box is open for typing only while "はい(&Y)" is chosen.
    void ShowNameBox(bool open);
    void OnOk();

    std::vector<ItemRecord> items_;
    std::string chosenName_;
    QLabel* explanation_ = nullptr;
    // Make a group of the files, or keep them single files.
    QRadioButton* yesOption_ = nullptr;
    QRadioButton* noOption_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace zv
