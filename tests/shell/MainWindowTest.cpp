#include <QApplication>
#include <QMdiArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "platform/Twips.h"
#include "resources/StringTable.h"
#include "tests/shell/MainWindowFixture.h"

namespace zv {
namespace {

class MainWindowTest : public test::MainWindowFixture {
  protected:
    std::optional<std::string> Setting(const std::string& section, const std::string& key) {
        std::string value;
        if (!IniAccess(IniRead, section, key, value, folder_.Settings()))
            return std::nullopt;
        return value;
    }
};

TEST_F(MainWindowTest, LoadsCaptionStatusBarAndToolbarFromTheStringTable) {
    Start();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Zarvopack"));
    auto* status = window_->findChild<QStatusBar*>(QStringLiteral("objStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->currentMessage().isEmpty());

    auto* bar = window_->findChild<QToolBar*>(QStringLiteral("objToolB"));
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> entries;
    for (QAction* action : bar->actions())
        entries.push_back(action->isSeparator() ? "|" : action->objectName().toStdString());
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "New", "Open", "Save", "|", "Size", "Path", "|", "Add", "Delete", "Cut",
                           "Paste", "Group", "Release", "|", "Start", "Break", "Stop", "Setup"}));
    EXPECT_EQ(Button("Setup")->toolTip(), QStringLiteral("実行オプションの設定"));
    EXPECT_FALSE(Button("Start")->icon().isNull());
}

TEST_F(MainWindowTest, MenuItemSettingChangesOnlyItsOwnCaption) {
    WriteSetting("MenuItem", "USR47", "パック開始(&L)...");
    Start();
    EXPECT_EQ(window_->MenuItem(47)->text(), QStringLiteral("パック開始(&L)..."));
    for (int k = 0; k < kMenuItemCount; ++k) {
        const bool recentFile = k >= 11 && k <= 15;
        if (k == 47 || recentFile)
            continue;
        const std::string caption = ResString(60000 + k);
        QAction* item = window_->MenuItem(k);
        if (caption == "-") {
            EXPECT_TRUE(item->isSeparator()) << k;
        } else {
            EXPECT_EQ(item->text().toStdString(), caption) << k;
        }
    }
    EXPECT_EQ(Item("sm_L(4)")->text(), QStringLiteral("切取り(&X)"));
    EXPECT_FALSE(Item("sm_F(8)")->isVisible());
    EXPECT_FALSE(window_->findChild<QMenu*>(QStringLiteral("hM(4)"))->menuAction()->isVisible());
}

TEST_F(MainWindowTest, RecentFilesKeepTheirPlacesAndSkipMissingFiles) {
    const std::string first = MakeFile("first.mtb", 10);
    const std::string third = MakeFile("R&D.mtb", 10);
    WriteSetting("History", "0", first);
    WriteSetting("History", "1", folder_.File("gone.mtb"));
    WriteSetting("History", "2", third);
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
    // Choosing an entry only shows what the settings file lists.
    Item("sm_F(10)")->trigger();
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
}

TEST_F(MainWindowTest, NoRecentFileShowsNeitherEntriesNorSeparator) {
    WriteSetting("History", "0", folder_.File("gone.mtb"));
    Start();
    for (const char* name : {"sm_F(9)", "sm_F(10)", "sm_F(11)", "sm_F(14)"})
        EXPECT_FALSE(Item(name)->isVisible()) << name;
}

TEST_F(MainWindowTest, LayoutIsStoredInTwipsOnCloseInTheNormalState) {
    Start();
    window_->move(TwipsToPixelsX(3000), TwipsToPixelsY(1500));
    window_->resize(TwipsToPixelsX(12000), TwipsToPixelsY(9000));
    ASSERT_TRUE(window_->close());
    EXPECT_EQ(Setting("LASTMAINFORM", "LEFT"), std::to_string(PixelsToTwipsX(window_->x())));
    EXPECT_EQ(Setting("LASTMAINFORM", "TOP"), std::to_string(PixelsToTwipsY(window_->y())));
    EXPECT_EQ(Setting("LASTMAINFORM", "WIDTH"), "12000");
    EXPECT_EQ(Setting("LASTMAINFORM", "HEIGHT"), "9000");
}

TEST_F(MainWindowTest, MaximizedCloseKeepsTheStoredLayout) {
    WriteSetting("LASTMAINFORM", "WIDTH", "11000");
    Start();
    window_->showMaximized();
    ASSERT_TRUE(window_->close());
    EXPECT_EQ(Setting("LASTMAINFORM", "WIDTH"), "11000");
    EXPECT_EQ(Setting("LASTMAINFORM", "TOP"), std::nullopt);
}

TEST_F(MainWindowTest, StoredLeftAloneMovesOnlyTheLeftEdge) {
    Start();
    const QRect designed(window_->pos(), window_->size());
    window_.reset();

    WriteSetting("LASTMAINFORM", "LEFT", "4500");
    Start();
    EXPECT_EQ(window_->x(), TwipsToPixelsX(4500));
    EXPECT_EQ(window_->y(), designed.y());
    EXPECT_EQ(window_->size(), designed.size());
}

TEST_F(MainWindowTest, LayoutValueThatIsNoNumberIsReported) {
    WriteSetting("LASTMAINFORM", "TOP", "high");
    WriteSetting("LASTMAINFORM", "LEFT", "4500");
    ui_.Answer(MsgResult::OK);
    Start();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "型が一致しません。");
    EXPECT_EQ(ui_.Boxes()[0].title, "zarvopackｴﾗｰ 13");
    EXPECT_EQ(window_->x(), TwipsToPixelsX(4500));
}

TEST_F(MainWindowTest, WindowIsNeverSmallerThanItsMinimum) {
    WriteSetting("LASTMAINFORM", "WIDTH", "3000");
    Start();
    EXPECT_EQ(window_->width(), TwipsToPixelsX(6880));
    window_->resize(100, 100);
    EXPECT_EQ(window_->size(), QSize(TwipsToPixelsX(6880), TwipsToPixelsY(6165)));
}

TEST_F(MainWindowTest, CloseDuringRunIsRefusedButStoresTheLayout) {
    Start();
    ProjectWith({"a.txt"});
    App().running = true;
    ui_.Answer(MsgResult::OK);
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(ui_.OnlyBoxText(), "実行中は終了できません");
    EXPECT_EQ(ui_.Boxes()[0].title, "Zarvopack");
    EXPECT_EQ(ui_.Boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ui_.Boxes()[0].icon, MsgIcon::None);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->ProjectWindowCount(), 1);
    EXPECT_TRUE(Setting("LASTMAINFORM", "TOP").has_value());
}

TEST_F(MainWindowTest, ExitEndsTheProgramOnlyWhenEveryWindowLetsItClose) {
    Start();
    ProjectWith({"a.txt"});

    ui_.Answer(MsgResult::Cancel);
    Item("sm_F(16)")->trigger();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, " 無題1は変更されています\r\n保存しますか？");
    EXPECT_EQ(ui_.Boxes()[0].title, "zarvopackの保存");
    EXPECT_EQ(ui_.Boxes()[0].buttons, MsgButtons::YesNoCancel);
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

TEST_F(MainWindowTest, ShortcutKeysRunTheirCommands) {
    Start();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window_->ProjectWindowCount(), 1);
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("無題1"));
}

}  // namespace
}  // namespace zv
