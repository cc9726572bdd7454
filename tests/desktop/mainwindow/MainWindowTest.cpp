#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "core/project/ProjectFile.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/platform/Twips.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;
namespace keys = settings_keys;

class MainWindowTest : public test::MainWindowFixture {
  protected:
    std::string Layout(const SettingsKey& key) {
        std::string value;
        EXPECT_TRUE(IniAccess(IniRead, key.section, key.name, value, folder_.Settings()));
        return value;
    }
    void WriteLayout(const SettingsKey& key, const std::string& value) {
        WriteSetting(key.section, key.name, value);
    }
};

TEST_F(MainWindowTest, MenuItemSettingChangesOnlyItsOwnCaption) {
    WriteSetting(keys::kMenuItem, "USR47", "パック開始(&L)...");
    Start();
    EXPECT_EQ(Item("sm_R(0)")->text(), QStringLiteral("パック開始(&L)..."));
    EXPECT_NE(Item("sm_R(3)")->text(), Item("sm_R(0)")->text());
    EXPECT_TRUE(Item("sm_R(1)")->isSeparator());
    EXPECT_TRUE(Item("sm_L(6)")->isSeparator()) << "cut and paste sit in the list menu";
    EXPECT_FALSE(Item("sm_F(8)")->isVisible());
    EXPECT_FALSE(window_->findChild<QMenu*>(QStringLiteral("hM(4)"))->menuAction()->isVisible());
}

TEST_F(MainWindowTest, RecentFilesSkipMissingFilesAndOpenTheirProjects) {
    WriteSetting(keys::kHistory, "1", folder_.File("gone.mtb"));
    Start();
    EXPECT_FALSE(Item("sm_F(9)")->isVisible()) << "no separator without an entry";
    window_.reset();

    const std::string first = folder_.File("first.mtb");
    const std::string member = MakeFile("a", 10);
    ASSERT_TRUE(ProjectFile::Write(first, {{member, 0, {{member, 10}}}}, RunSettings{}));
    MakeFile("R&D.mtb", 10);
    WriteSetting(keys::kHistory, "0", first);
    WriteSetting(keys::kHistory, "2", folder_.File("R&D.mtb"));
    Start();
    EXPECT_TRUE(Item("sm_F(9)")->isVisible());
    EXPECT_EQ(Item("sm_F(10)")->text().toStdString(), "&0: " + first);
    EXPECT_EQ(Item("sm_F(12)")->text().toStdString(), "&2: " + folder_.File("R&&D.mtb"));
    std::vector<bool> shown;
    for (const char* name : {"sm_F(10)", "sm_F(11)", "sm_F(12)", "sm_F(13)", "sm_F(14)"})
        shown.push_back(Item(name)->isVisible());
    EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false, false}));

    OpenMenu(0);
    EXPECT_TRUE(Item("sm_F(10)")->isEnabled());
    EXPECT_FALSE(Item("sm_F(11)")->isEnabled());
    // Choosing an entry opens its project as Open does; an opened project
    // comes first, the list closes up over files that have gone.
    Item("sm_F(10)")->trigger();
    ASSERT_EQ(window_->ProjectWindowCount(), 1);
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("first"));
    EXPECT_EQ(Item("sm_F(10)")->text().toStdString(), "&0: " + first);
    EXPECT_EQ(Item("sm_F(11)")->text().toStdString(), "&1: " + folder_.File("R&&D.mtb"));
    EXPECT_FALSE(Item("sm_F(12)")->isVisible());
}

// New windows once opened mostly outside the frame with their title bars hidden.
TEST_F(MainWindowTest, NewWindowsCascadeInsideTheVisibleArea) {
    Start();
    auto* area = window_->findChild<QMdiArea*>();
    std::vector<QPoint> places;
    for (int i = 0; i < 12; ++i) {
        window_->RunCommand(Command::New);
        const QRect frame = area->activeSubWindow()->geometry();
        EXPECT_TRUE(area->viewport()->rect().contains(frame)) << i;
        places.push_back(frame.topLeft());
    }
    EXPECT_LT(places[0].y(), places[1].y()) << "each below the one before";
}

// Stored values move only their edge, a non-number is reported and the
// minimum size holds; the layout is stored in twips on close, in the normal
// state only.
TEST_F(MainWindowTest, WindowLayoutIsRememberedInTwips) {
    Start();
    const QRect designed(window_->pos(), window_->size());
    window_.reset();
    WriteLayout(keys::MainFormLeft, "4500");
    WriteLayout(keys::MainFormTop, "high");
    WriteLayout(keys::MainFormWidth, "3000");
    ui_.Answer(MsgResult::OK);
    Start();
    ExpectBox(ui_.Boxes().at(0), "型が一致しません。", "zarvopackｴﾗｰ 13");
    EXPECT_EQ(window_->x(), TwipsToPixelsX(4500));
    EXPECT_EQ(window_->y(), designed.y());
    EXPECT_EQ(window_->height(), designed.height());
    EXPECT_EQ(window_->width(), TwipsToPixelsX(6880));
    window_->resize(100, 100);
    EXPECT_EQ(window_->size(), QSize(TwipsToPixelsX(6880), TwipsToPixelsY(6165)));

    window_->move(TwipsToPixelsX(3000), TwipsToPixelsY(1500));
    window_->resize(TwipsToPixelsX(12000), TwipsToPixelsY(9000));
    ASSERT_TRUE(window_->close());
    EXPECT_EQ(Layout(keys::MainFormLeft), std::to_string(PixelsToTwipsX(window_->x())));
    EXPECT_EQ(Layout(keys::MainFormTop), std::to_string(PixelsToTwipsY(window_->y())));
    EXPECT_EQ(Layout(keys::MainFormWidth), "12000");
    EXPECT_EQ(Layout(keys::MainFormHeight), "9000");
    WriteLayout(keys::MainFormWidth, "11000");
    Start();
    window_->showMaximized();
    ASSERT_TRUE(window_->close());
    EXPECT_EQ(Layout(keys::MainFormWidth), "11000");
}

TEST_F(MainWindowTest, ExitEndsTheProgramOnlyWhenEveryWindowLetsItClose) {
    Start();
    ProjectWith({"a.txt"});

    ui_.Answer(MsgResult::Cancel);
    Item("sm_F(16)")->trigger();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    ExpectBox(ui_.Boxes()[0], " 無題1は変更されています\r\n保存しますか？", "zarvopackの保存",
              MsgButtons::YesNoCancel);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->ProjectWindowCount(), 1);

    ui_.Answer(MsgResult::No);
    QTimer::singleShot(0, window_.get(), [this] { Item("sm_F(16)")->trigger(); });
    // Should the program not end, the loop is ended with a failure code.
    const QObject guard;
    QTimer::singleShot(60'000, &guard, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
}

}  // namespace
}  // namespace zv
