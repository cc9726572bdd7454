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

    objLabel[0] =
        Named(new QLabel(ShownText(ResString(text_id::MakeGroupExplanation))), "objLabel(0)");
    objLabel[0]->setWordWrap(true);
    objOption[1] =
        Named(new QRadioButton(ShownText(ResString(text_id::YesButton))), "objOption(1)");
    objOption[0] = Named(new QRadioButton(ShownText(ResString(text_id::NoButton))), "objOption(0)");
    objText[0] = Named(new QLineEdit, "objText(0)");
    objButton[0] = Named(new QPushButton(ShownText(ResString(kOk))), "objButton(0)");
    objButton[0]->setDefault(true);
    objButton[0]->setAutoDefault(true);

    auto* choice = new QHBoxLayout;
    choice->addWidget(objOption[1]);
    choice->addWidget(objOption[0]);
    choice->addWidget(objText[0], 1);
    choice->addWidget(objButton[0]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(objLabel[0]);
    layout->addStretch();
    layout->addLayout(choice);

    objOption[0]->setChecked(true);
    ShowNameBox(false);
    connect(objOption[1], &QRadioButton::toggled, this, &GroupNameDialog::ShowNameBox);
    connect(objButton[0], &QPushButton::clicked, this, &GroupNameDialog::OnOk);

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
    QLineEdit* box = objText[0];
    box->setEnabled(open);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, NameBoxBackground(open));
    box->setPalette(palette);
    if (open)
        box->setFocus();
}

void GroupNameDialog::OnOk() {
    if (!objOption[1]->isChecked()) {
        accept();
        return;
    }
    QLineEdit* box = objText[0];
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
