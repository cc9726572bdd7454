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

    formatsBox_ =
        Named(new QGroupBox(Text(text_id::ExportFormatsCaption)), ControlName("objFrame", 0));
    auto* formats = new QVBoxLayout(formatsBox_);
    for (const ExportFormatChoice& choice : ExportFormatChoices()) {
        auto* option = Named(new QRadioButton(Text(choice.caption)),
                             ControlName("objOption", static_cast<int>(formatOptions_.size())));
        formats->addWidget(option);
        formatOptions_.push_back(option);
    }
    formatOptions_.front()->setChecked(true);

    folderLabel_ = Named(new QLabel(Text(text_id::ExportFolderLabel)), ControlName("objLabel", 0));
    folderBox_ =
        Named(new QLineEdit(QString::fromStdString(startFolder)), ControlName("objText", 0));
    folderBox_->setMinimumWidth(folderBox_->fontMetrics().averageCharWidth() * 48);
    folderLabel_->setBuddy(folderBox_);
    browseButton_ =
        Named(new QPushButton(Text(text_id::ExportBrowseButton)), ControlName("objButton", 0));
    exportButton_ =
        Named(new QPushButton(Text(text_id::ExportButton)), ControlName("objButton", 1));
    cancelButton_ =
        Named(new QPushButton(Text(text_id::CancelButton)), ControlName("objButton", 2));
    exportButton_->setDefault(true);

    auto* folder = new QHBoxLayout;
    folder->addWidget(folderLabel_);
    folder->addWidget(folderBox_, 1);
    folder->addWidget(browseButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatsBox_);
    layout->addLayout(folder);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browseButton_, &QPushButton::clicked, this, &ExportDialog::ChooseFolder);
    connect(exportButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(folderBox_, &QLineEdit::textChanged, this, &ExportDialog::EnableExport);
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
    for (std::size_t i = 0; i < formatOptions_.size(); ++i) {
        if (formatOptions_[i]->isChecked())
            request.format = ExportFormatChoices()[i].format;
    }
    request.folder = folderBox_->text().toStdString();
    return request;
}

void ExportDialog::ChooseFolder() {
    if (const auto folder =
            Ui().FolderDialog(ResString(text_id::ExportFolderTitle), Request().folder))
        folderBox_->setText(QString::fromStdString(*folder));
}

void ExportDialog::EnableExport() {
    exportButton_->setEnabled(ExportFolderAccepted(Request().folder));
}

}  // namespace zv
