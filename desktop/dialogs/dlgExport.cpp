#include "desktop/dialogs/dlgExport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/platform/UiServices.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

constexpr int kTitle = 41171;         // "書き出し"
constexpr int kFormats = 41172;       // "形式"
constexpr int kFolderLabel = 41176;   // "書き出し先(&T)："
constexpr int kChooseFolder = 41177;  // "参照(&B)..."
constexpr int kExport = 41178;        // "書き出し(&E)"
constexpr int kCancel = 41179;        // "ｷｬﾝｾﾙ"
constexpr int kFolderTitle = 41180;   // "書き出し先のﾌｫﾙﾀﾞ"

QString Text(int id) {
    return ShownText(ResString(id));
}

template <class Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

dlgExport::dlgExport(QWidget* owner, const std::string& startFolder)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("dlgExport"));
    setModal(true);
    setWindowTitle(Text(kTitle));

    objFrame[0] = Named(new QGroupBox(Text(kFormats)), ControlName("objFrame", 0));
    auto* formats = new QVBoxLayout(objFrame[0]);
    for (const ExportFormatChoice& choice : ExportFormatChoices()) {
        auto* option = Named(new QRadioButton(Text(choice.caption)),
                             ControlName("objOption", static_cast<int>(objOption.size())));
        formats->addWidget(option);
        objOption.push_back(option);
    }
    objOption.front()->setChecked(true);

    objLabel[0] = Named(new QLabel(Text(kFolderLabel)), ControlName("objLabel", 0));
    objText[0] =
        Named(new QLineEdit(QString::fromStdString(startFolder)), ControlName("objText", 0));
    objText[0]->setMinimumWidth(objText[0]->fontMetrics().averageCharWidth() * 48);
    objLabel[0]->setBuddy(objText[0]);
    objButton[0] = Named(new QPushButton(Text(kChooseFolder)), ControlName("objButton", 0));
    objButton[1] = Named(new QPushButton(Text(kExport)), ControlName("objButton", 1));
    objButton[2] = Named(new QPushButton(Text(kCancel)), ControlName("objButton", 2));
    objButton[1]->setDefault(true);

    auto* folder = new QHBoxLayout;
    folder->addWidget(objLabel[0]);
    folder->addWidget(objText[0], 1);
    folder->addWidget(objButton[0]);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(objButton[1]);
    buttons->addWidget(objButton[2]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(objFrame[0]);
    layout->addLayout(folder);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(objButton[0], &QPushButton::clicked, this, &dlgExport::ChooseFolder);
    connect(objButton[1], &QPushButton::clicked, this, &QDialog::accept);
    connect(objButton[2], &QPushButton::clicked, this, &QDialog::reject);
    connect(objText[0], &QLineEdit::textChanged, this, &dlgExport::EnableExport);
    EnableExport();
}

std::optional<ExportRequest> dlgExport::Ask(QWidget* owner, const std::string& startFolder) {
    dlgExport dialog(owner, startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Request();
}

ExportRequest dlgExport::Request() const {
    ExportRequest request;
    for (std::size_t i = 0; i < objOption.size(); ++i) {
        if (objOption[i]->isChecked())
            request.format = ExportFormatChoices()[i].format;
    }
    request.folder = objText[0]->text().toStdString();
    return request;
}

void dlgExport::ChooseFolder() {
    if (const auto folder = Ui().FolderDialog(ResString(kFolderTitle), Request().folder))
        objText[0]->setText(QString::fromStdString(*folder));
}

void dlgExport::EnableExport() {
    objButton[1]->setEnabled(ExportFolderAccepted(Request().folder));
}

}  // namespace zv
