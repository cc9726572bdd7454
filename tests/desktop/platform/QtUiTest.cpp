#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "desktop/platform/QtUi.h"

namespace zv {
namespace {

// Acts on the modal dialog of type D as soon as the event loop of its exec()
// runs. Whatever else shows instead is closed, so a wrong dialog fails the
// test rather than hanging it.
template <class D>
void WhenShown(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<D*>(modal)) {
            act(*dialog);
            return;
        }
        ADD_FAILURE() << "the expected dialog did not show";
        if (modal)
            modal->close();
    });
}

void PressEscape(QWidget& widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

TEST(QtUiTest, MessageBoxShowsTheRequestModallyAndReturnsTheButtonClicked) {
    QtUi ui;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_EQ(QApplication::activeWindow(), &window);
    WhenShown<QMessageBox>([&window](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), &window);
        EXPECT_EQ(box.windowModality(), Qt::WindowModal);
        EXPECT_EQ(box.text(), QStringLiteral("一行目\n二行目 <b>"));
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), QString::fromStdString(AppTitle()));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(
        ShowMessage("一行目\r\n二行目 <b>", "", MsgButtons::YesNoCancel, MsgIcon::Question, 1),
        MsgResult::Yes);
}

TEST(QtUiTest, EscapeAndTheCloseBoxChooseCancelOrNoWhereThereIsOne) {
    QtUi ui;
    const std::pair<MsgButtons, MsgResult> cases[] = {
        {MsgButtons::OK, MsgResult::OK},
        {MsgButtons::OKCancel, MsgResult::Cancel},
        {MsgButtons::YesNo, MsgResult::No},
        {MsgButtons::YesNoCancel, MsgResult::Cancel},
        {MsgButtons::RetryCancel, MsgResult::Cancel},
    };
    for (const auto& [buttons, expected] : cases) {
        WhenShown<QMessageBox>([](QMessageBox& box) { PressEscape(box); });
        EXPECT_EQ(ShowMessage("?", "題", buttons, MsgIcon::Exclamation, 0), expected);
    }
    WhenShown<QMessageBox>([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(ShowMessage("?", "題", MsgButtons::YesNo, MsgIcon::None, 0), MsgResult::No);
}

TEST(QtUiTest, InputBoxReturnsTheTextOrNothingOnCancel) {
    QtUi ui;
    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.labelText(), QStringLiteral("ｸﾞﾙｰﾌﾟ名を決定してください"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ｸﾞﾙｰﾌﾟ名"));
        EXPECT_EQ(dialog.textValue(), QStringLiteral("名称未設定"));
        dialog.setTextValue(QStringLiteral("写真"));
        dialog.accept();
    });
    EXPECT_EQ(ui.InputBox("ｸﾞﾙｰﾌﾟ名を決定してください", "ｸﾞﾙｰﾌﾟ名", "名称未設定"), "写真");
    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(AppTitle()));
        dialog.reject();
    });
    EXPECT_EQ(ui.InputBox("?", "", "x"), std::nullopt);
}

TEST(QtUiTest, FileDialogsStartAtTheProposedFileAndLeaveOverwritingToTheProgram) {
    QtUi ui;
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("前回.mtb"));
    QFile(existing).open(QIODevice::WriteOnly);
    const char filter[] = "Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*";
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("zarvopackのｵｰﾌﾟﾝ"));
        EXPECT_EQ(dialog.nameFilters(), QStringList({QStringLiteral("Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)"),
                                                     QStringLiteral("全てのﾌｧｲﾙ(*)")}));
        EXPECT_EQ(dialog.selectedFiles(), QStringList(existing));
        static_cast<QDialog&>(dialog).accept();
        // Without an existing file chosen it stays open: end it rather than hang.
        if (dialog.isVisible())
            dialog.reject();
    });
    EXPECT_EQ(ui.OpenFileDialog({filter, "zarvopackのｵｰﾌﾟﾝ", existing.toStdString()}),
              existing.toStdString());

    const QString proposed = folder.filePath(QStringLiteral("無題1"));
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.selectedFiles(), QStringList(proposed));
        // Accepting an existing file would otherwise ask and wait here.
        if (!dialog.testOption(QFileDialog::DontConfirmOverwrite)) {
            ADD_FAILURE() << "the dialog would ask about overwriting";
            dialog.reject();
            return;
        }
        dialog.selectFile(existing);
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_EQ(ui.SaveFileDialog({filter, "保存", proposed.toStdString()}), existing.toStdString());

    WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(ui.SaveFileDialog({filter, "保存", proposed.toStdString()}), std::nullopt);
}

// Stands in for the desktop's associated programs.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST(QtUiTest, LocalPathsOpenAsFilesAndAddressesAsTheyAre) {
    QtUi ui;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");

    EXPECT_TRUE(ui.OpenWithAssociatedProgram("/tmp/写真 #1/a b.jpg"));
    EXPECT_TRUE(ui.OpenWithAssociatedProgram("https://example.org/zarvo?page=1"));

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), QStringLiteral("/tmp/写真 #1/a b.jpg"));
    EXPECT_EQ(catcher.urls[1].toString(), QStringLiteral("https://example.org/zarvo?page=1"));
}

// Counts the events that reach it.
class EventCounter : public QObject {
  public:
    int seen = 0;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++seen;
        return true;
    }
};

TEST(QtUiTest, YieldRunsEventsOncePerTimeSliceAndYieldNowAlways) {
    QtUi ui;
    EventCounter counter;
    ui.YieldNow();
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    ui.Yield();
    EXPECT_EQ(counter.seen, 0);
    ui.YieldNow();
    EXPECT_EQ(counter.seen, 1);

    // A later Yield does run them; the deadline only keeps a broken one from
    // hanging the test.
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    QElapsedTimer deadline;
    deadline.start();
    while (counter.seen == 1 && deadline.elapsed() < 10000)
        ui.Yield();
    EXPECT_EQ(counter.seen, 2);
}

}  // namespace
}  // namespace zv

#include "QtUiTest.moc"
