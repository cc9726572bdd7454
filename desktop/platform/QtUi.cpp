#include "desktop/platform/QtUi.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QStyle>
#include <QUrl>
#include <vector>

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/BoxText.h"
#include "desktop/platform/QtFileFilter.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

// Long enough that processing events costs little of a run, short enough that
// the windows still answer the user at once.
constexpr qint64 kTimeSliceMs = 15;

// A box's lines hold about this many Latin characters before they break, which
// keeps a box within the width Qt gives one before it wraps on its own.
constexpr int kLineCharacters = 60;
// Beside its title a window's title bar holds its icon and up to three
// buttons, about a title bar's height each, and some room round them.
constexpr int kTitleBarSquares = 6;

struct Choice {
    QMessageBox::StandardButton button;
    MsgResult result;
};

// The buttons of each set in their order; the last one is also what Escape and
// the close box choose.
std::vector<Choice> ChoicesOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {{QMessageBox::Ok, MsgResult::OK}};
        case MsgButtons::OKCancel:
            return {{QMessageBox::Ok, MsgResult::OK}, {QMessageBox::Cancel, MsgResult::Cancel}};
        case MsgButtons::YesNo:
            return {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No}};
        case MsgButtons::YesNoCancel:
            return {{QMessageBox::Yes, MsgResult::Yes},
                    {QMessageBox::No, MsgResult::No},
                    {QMessageBox::Cancel, MsgResult::Cancel}};
        case MsgButtons::RetryCancel:
            return {{QMessageBox::Retry, MsgResult::Retry},
                    {QMessageBox::Cancel, MsgResult::Cancel}};
    }
    return {{QMessageBox::Ok, MsgResult::OK}};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The program words its errors with a title of "ｴﾗｰ" and leaves the icon to
// the box; an error must not look like a note.
QMessageBox::Icon IconOf(const MessageBoxRequest& request) {
    if (request.icon == MsgIcon::None &&
        request.title.find(ResString(text_id::ErrorTitle)) != std::string::npos)
        return QMessageBox::Critical;
    return IconOf(request.icon);
}

QString TitleOf(const std::string& title) {
    return QString::fromStdString(title.empty() ? AppTitle() : title);
}

// A desktop draws the title in bold; the box is made at least that wide, with
// the title bar's icon and buttons beside it, so the title is never cut.
void FitTitle(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const int width =
        QFontMetrics(bold).horizontalAdvance(box.windowTitle()) +
        kTitleBarSquares * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

// Each box and dialog belongs to the window the user is working in and blocks
// only that one.
void ModalToOwner(QDialog& dialog) {
    if (dialog.parentWidget())
        dialog.setWindowModality(Qt::WindowModal);
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title));
    ModalToOwner(dialog);
    // Qt's own dialog behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    const QString filter = QtFileFilter(request.filter);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    if (!request.proposedName.empty()) {
        const QFileInfo proposed(QString::fromStdString(request.proposedName));
        if (proposed.isDir()) {
            dialog.setDirectory(proposed.absoluteFilePath());
        } else {
            dialog.setDirectory(proposed.absolutePath());
            dialog.selectFile(proposed.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

QtUi::QtUi() {
    sinceEvents_.start();
    SetUi(this);
}

QtUi::~QtUi() {
    SetUi(nullptr);
}

MsgResult QtUi::MessageBox(const MessageBoxRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    ModalToOwner(box);
    box.setWindowTitle(TitleOf(request.title));
    box.setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(box.font());
    box.setText(BrokenForBox(ShownText(request.text), metrics,
                             metrics.averageCharWidth() * kLineCharacters));
    box.setIcon(IconOf(request));
    const std::vector<Choice> choices = ChoicesOf(request.buttons);
    for (const Choice& choice : choices)
        box.addButton(choice.button);
    const bool defaultFits =
        request.defaultButton >= 0 && request.defaultButton < static_cast<int>(choices.size());
    box.setDefaultButton(choices[defaultFits ? request.defaultButton : 0].button);
    box.setEscapeButton(choices.back().button);
    FitTitle(box);
    box.exec();
    for (const Choice& choice : choices) {
        if (box.clickedButton() == box.button(choice.button))
            return choice.result;
    }
    return choices.back().result;
}

std::optional<std::string> QtUi::InputBox(const std::string& prompt, const std::string& title,
                                          const std::string& proposed) {
    QInputDialog dialog(QApplication::activeWindow());
    ModalToOwner(dialog);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(TitleOf(title));
    dialog.setLabelText(ShownText(prompt));
    dialog.setTextValue(QString::fromStdString(proposed));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

std::optional<std::string> QtUi::OpenFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUi::SaveFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtUi::FolderDialog(const std::string& title,
                                              const std::string& startFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       QString::fromStdString(startFolder));
    ModalToOwner(dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool QtUi::OpenWithAssociatedProgram(const std::string& pathOrAddress) {
    static const QRegularExpression withScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString text = QString::fromStdString(pathOrAddress);
    const QUrl url = withScheme.match(text).hasMatch()
                         ? QUrl(text)
                         : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

void QtUi::Yield() {
    if (sinceEvents_.elapsed() >= kTimeSliceMs)
        YieldNow();
}

void QtUi::YieldNow() {
    QCoreApplication::processEvents();
    sinceEvents_.restart();
}

}  // namespace zv
