#include "desktop/dialogs/GroupNameDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/platform/UiServices.h"
#include "core/project/Grouping.h"
#include "core/settings/FileSystem.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"
#include "desktop/platform/Twips.h"

namespace zv {

namespace {

constexpr int kOk = 4203;  // "OK(&O)"

// The dialog's designed client area, in twips.
constexpr int kDesignWidth = 5460;
constexpr int kDesignHeight = 2340;

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The closed name box wears the colour of an inactive title's text, which on
// the desktops the program was made for is the face colour of dialogs; the
// open one the background of text to type.
QColor NameBoxBackground(bool open) {
    return QApplication::palette().color(open ? QPalette::Base : QPalette::Window);
}

}  // namespace

GroupNameDialog::GroupNameDialog(QWidget* owner, std::vector<ItemRecord> items)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      items_(std::move(items)) {
    setObjectName(QStringLiteral("GroupNameDialog"));
    setModal(true);
    setWindowTitle(ShownText(ResString(text_id::ProductName)));

    explanation_ =
        Named(new QLabel(ShownText(ResString(text_id::MakeGroupExplanation))), "objLabel(0)");
    explanation_->setWordWrap(true);
    yesOption_ = Named(new QRadioButton(ShownText(ResString(text_id::YesButton))), "objOption(1)");
    noOption_ = Named(new QRadioButton(ShownText(ResString(text_id::NoButton))), "objOption(0)");
    nameBox_ = Named(new QLineEdit, "objText(0)");
    okButton_ = Named(new QPushButton(ShownText(ResString(kOk))), "objButton(0)");
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);

    auto* choice = new QHBoxLayout;
    choice->addWidget(yesOption_);
    choice->addWidget(noOption_);
    choice->addWidget(nameBox_, 1);
    choice->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation_);
    layout->addStretch();
    layout->addLayout(choice);

    noOption_->setChecked(true);
    ShowNameBox(false);
    connect(yesOption_, &QRadioButton::toggled, this, &GroupNameDialog::ShowNameBox);
    connect(okButton_, &QPushButton::clicked, this, &GroupNameDialog::OnOk);

    // The designed size, unless the texts in the fonts at hand need more room.
    const QSize design(TwipsToPixelsX(kDesignWidth), TwipsToPixelsY(kDesignHeight));
    setFixedSize(design.expandedTo(sizeHint()));
}

std::string GroupNameDialog::Ask(QWidget* owner, std::vector<ItemRecord> items) {
    GroupNameDialog dialog(owner, std::move(items));
    dialog.exec();
    return dialog.chosenName_;
}

void GroupNameDialog::ShowNameBox(bool open) {
    QLineEdit* box = nameBox_;
    box->setEnabled(open);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, NameBoxBackground(open));
    box->setPalette(palette);
    if (open)
        box->setFocus();
}

void GroupNameDialog::OnOk() {
    if (!yesOption_->isChecked()) {
        accept();
        return;
    }
    QLineEdit* box = nameBox_;
    const std::string name = box->text().toStdString();
    if (name.empty()) {
        ShowMessage(ResString(text_id::GroupNamePrompt));
        box->setFocus();
        return;
    }
    if (FileExists(name) || FolderExists(name)) {
        ShowMessage(ResString(text_id::NameIsExistingPath));
        reject();
        return;
    }
    if (name.find_first_of("'\"") != std::string::npos || name.find("..") != std::string::npos) {
        ShowMessage(ResString(text_id::ForbiddenNameCharacters));
        reject();
        return;
    }
    if (FindGroup(name, items_) >= 0 &&
        ShowMessage(ResString(text_id::AskAddToExistingGroup), ResString(text_id::MakeGroupTitle),
                    MsgButtons::YesNo) != MsgResult::Yes) {
        box->setFocus();
        box->selectAll();
        return;
    }
    chosenName_ = name;
    accept();
    Ui().YieldNow();
}

}  // namespace zv
