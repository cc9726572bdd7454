#include "desktop/dialogs/ExportDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/platform/UiServices.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

QString Text(int id) {
    return ShownText(ResString(id));
}

template <class Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

ExportDialog::ExportDialog(QWidget* owner, const std::string& startFolder)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ExportDialog"));
    setModal(true);
    setWindowTitle(Text(text_id::ExportTitle));

    objFrame[0] =
        Named(new QGroupBox(Text(text_id::ExportFormatsCaption)), ControlName("objFrame", 0));
    auto* formats = new QVBoxLayout(objFrame[0]);
    for (const ExportFormatChoice& choice : ExportFormatChoices()) {
        auto* option = Named(new QRadioButton(Text(choice.caption)),
                             ControlName("objOption", static_cast<int>(objOption.size())));
        formats->addWidget(option);
        objOption.push_back(option);
    }
    objOption.front()->setChecked(true);

    objLabel[0] = Named(new QLabel(Text(text_id::ExportFolderLabel)), ControlName("objLabel", 0));
    objText[0] =
        Named(new QLineEdit(QString::fromStdString(startFolder)), ControlName("objText", 0));
    objText[0]->setMinimumWidth(objText[0]->fontMetrics().averageCharWidth() * 48);
    objLabel[0]->setBuddy(objText[0]);
    objButton[0] =
        Named(new QPushButton(Text(text_id::ExportBrowseButton)), ControlName("objButton", 0));
    objButton[1] = Named(new QPushButton(Text(text_id::ExportButton)), ControlName("objButton", 1));
    objButton[2] = Named(new QPushButton(Text(text_id::CancelButton)), ControlName("objButton", 2));
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

    connect(objButton[0], &QPushButton::clicked, this, &ExportDialog::ChooseFolder);
    connect(objButton[1], &QPushButton::clicked, this, &QDialog::accept);
    connect(objButton[2], &QPushButton::clicked, this, &QDialog::reject);
    connect(objText[0], &QLineEdit::textChanged, this, &ExportDialog::EnableExport);
    EnableExport();
}

std::optional<ExportRequest> ExportDialog::Ask(QWidget* owner, const std::string& startFolder) {
    ExportDialog dialog(owner, startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Request();
}

ExportRequest ExportDialog::Request() const {
    ExportRequest request;
    for (std::size_t i = 0; i < objOption.size(); ++i) {
        if (objOption[i]->isChecked())
            request.format = ExportFormatChoices()[i].format;
    }
    request.folder = objText[0]->text().toStdString();
    return request;
}

void ExportDialog::ChooseFolder() {
    if (const auto folder =
            Ui().FolderDialog(ResString(text_id::ExportFolderTitle), Request().folder))
        objText[0]->setText(QString::fromStdString(*folder));
}

void ExportDialog::EnableExport() {
    objButton[1]->setEnabled(ExportFolderAccepted(Request().folder));
}

}  // namespace zv
