#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <set>

#include "dialogs/FolderBox.h"
#include "dialogs/dlgAdd.h"
#include "dialogs/dlgCheckGroup.h"
#include "document/frmNested.h"
#include "shell/IniAccess.h"
#include "tests/dialogs/YieldingUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

constexpr const char* kTooManyRows =
    "ｱｲﾃﾑ数が多すぎます\r\n32,766個以上のｱｲﾃﾑを処理することはできません";

// Drives the test lays out: folders that play the part of volumes, some of
// them not ready.
class TestDrives : public Drives {
  public:
    explicit TestDrives(std::vector<Drive> drives) : drives_(std::move(drives)) {}

    std::vector<Drive> List() const override { return drives_; }
    bool IsReady(const std::string& root) const override { return !notReady.count(root); }
    double Capacity(const std::string&) const override { return 1e9; }

    std::set<std::string> notReady;

  private:
    std::vector<Drive> drives_;
};

// Points the home folder elsewhere for as long as it lives.
class HomeFolder {
  public:
    explicit HomeFolder(const std::string& path) : old_(qgetenv("HOME")) {
        qputenv("HOME", QByteArray::fromStdString(path));
    }
    ~HomeFolder() { qputenv("HOME", old_); }

  private:
    QByteArray old_;
};

class dlgAddTest : public ::testing::Test {
  protected:
    ~dlgAddTest() override { dialog_.reset(); }

    // A file below the temporary folder, with its folders.
    std::string Make(const std::string& relative, std::uintmax_t bytes = 1) {
        const fs::path path = fs::path(folder_.Path()) / relative;
        fs::create_directories(path.parent_path());
        test::WriteBytes(path.string(), std::string(bytes > 1000 ? 1 : bytes, 'x'));
        fs::resize_file(path, bytes);
        return path.string();
    }

    std::string Folder(const std::string& relative) {
        const fs::path path = fs::path(folder_.Path()) / relative;
        fs::create_directories(path);
        return path.string();
    }

    void Remember(std::string path) {
        ASSERT_TRUE(IniAccess(IniWrite, "LASTADDFOLDER", "PATH", path, folder_.Settings()));
    }

    std::string Remembered() {
        std::string path;
        IniAccess(IniRead, "LASTADDFOLDER", "PATH", path, folder_.Settings());
        return path;
    }

    // Opens the dialog and lets its first scan run.
    void Open(std::unique_ptr<Drives> drives = {}) {
        dialog_ = std::make_unique<dlgAdd>(nullptr, &target_, std::move(drives));
        dialog_->show();
        QCoreApplication::processEvents();
        ASSERT_FALSE(dialog_->Busy());
    }

    template <class Widget>
    Widget* Control(const QString& name) const {
        auto* widget = dialog_->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QPushButton* Button(int i) const {
        return Control<QPushButton>(QStringLiteral("objButton(%1)").arg(i));
    }
    QTreeView* List() const { return Control<QTreeView>(QStringLiteral("objListView(0)")); }
    QAbstractItemModel& Rows() const { return *List()->model(); }
    QCheckBox* Subfolders() const { return Control<QCheckBox>(QStringLiteral("objCheck(0)")); }
    QLineEdit* FilterBox() const { return Control<QLineEdit>(QStringLiteral("objText(0)")); }
    FolderBox* Dir() const { return Control<FolderBox>(QStringLiteral("objDir(0)")); }
    QComboBox* DriveBox() const { return Control<QComboBox>(QStringLiteral("objDrive(0)")); }
    QWidget* ProgressFrame() const { return Control<QWidget>(QStringLiteral("objFrame(3)")); }

    // The texts of one column, top to bottom.
    Texts Column(int column) const {
        Texts texts;
        for (int row = 0; row < Rows().rowCount(); ++row)
            texts.push_back(Rows().index(row, column).data().toString().toStdString());
        return texts;
    }
    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (int row = 0; row < Rows().rowCount(); ++row)
            checks.push_back(Rows().index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked);
        return checks;
    }
    void Check(int row) { Rows().setData(Rows().index(row, 0), Qt::Checked, Qt::CheckStateRole); }

    void Filter(const QString& text) {
        FilterBox()->setText(text);
        QTest::keyClick(FilterBox(), Qt::Key_Return);
    }

    void ClickHeading(int column) {
        QHeaderView* header = List()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }

    // Sends a drag of `paths` over `target`; true when a drop is offered.
    bool DragOver(QWidget* target, const Texts& paths) {
        data_ = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        data_->setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data_.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }
    void Drop(QWidget* target, const Texts& paths) {
        ASSERT_TRUE(DragOver(target, paths));
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data_.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        QCoreApplication::processEvents();
    }

    void ExpectBox(std::size_t i, const std::string& text, const std::string& title,
                   MsgButtons buttons = MsgButtons::OK) const {
        ASSERT_LT(i, ui_.Boxes().size());
        EXPECT_EQ(ui_.Boxes()[i].text, text);
        EXPECT_EQ(ui_.Boxes()[i].title, title);
        EXPECT_EQ(ui_.Boxes()[i].buttons, buttons);
        EXPECT_EQ(ui_.Boxes()[i].icon, MsgIcon::None);
    }

    test::TempFolder folder_;
    test::YieldingUi ui_;
    frmNested target_;
    std::unique_ptr<dlgAdd> dialog_;
    std::unique_ptr<QMimeData> data_;
};

TEST_F(dlgAddTest, ShowsItsCaptionsFromTheStringTable) {
    Open();
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("ﾌｧｲﾙの追加"));
    EXPECT_EQ(Control<QGroupBox>("objFrame(0)")->title(), QStringLiteral("場所"));
    EXPECT_EQ(Control<QGroupBox>("objFrame(1)")->title(), QStringLiteral("ﾌｧｲﾙﾘｽﾄ"));
    EXPECT_EQ(Control<QGroupBox>("objFrame(3)")->title(), QStringLiteral(" "));
    EXPECT_EQ(dialog_->findChild<QGroupBox*>("objFrame(2)"), nullptr) << "the splitter has none";
    EXPECT_NE(Control<QFrame>("objLine(0)"), nullptr);
    EXPECT_EQ(Control<QLabel>("objLabel(0)")->text(), QStringLiteral("ﾌｨﾙﾀ(&S)："));
    EXPECT_EQ(Subfolders()->text(), QStringLiteral("ｻﾌﾞﾌｫﾙﾀﾞを含む(&D)"));
    EXPECT_EQ(Control<QLineEdit>("objText(1)")->text(), QStringLiteral("リストを更新しています"));
    const QStringList captions = {"閉じる(&C)", "追加(&A)", "全て選択", "全て取消", "ｷｬﾝｾﾙ"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Button(i)->text(), captions[i]);
    const QStringList headings = {"ﾌｧｲﾙ名", "種類", "ｻｲｽﾞ", "場所", "更新日"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Rows().headerData(i, Qt::Horizontal).toString(), headings[i]);
    EXPECT_EQ(Rows().headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_FALSE(ProgressFrame()->isVisible());
    EXPECT_TRUE(List()->isVisible());
    EXPECT_NE(Control<QWidget>("objStatusBar(0)"), nullptr);
}

TEST_F(dlgAddTest, FirstUseOpensOnTheProgramFolderAndRemembersIt) {
    Make("a.txt");
    Make("b.txt");
    Open();
    EXPECT_EQ(dialog_->Folder(), folder_.Path());
    EXPECT_EQ(Remembered(), folder_.Path());
    EXPECT_EQ(Dir()->Path(), folder_.Path());
    EXPECT_EQ(DriveBox()->currentText(), QStringLiteral("/"));
    // The settings file just written lies there too.
    EXPECT_EQ(Column(0), (Texts{"a.txt", "b.txt", "zarvopack.dat"}));
    EXPECT_EQ(Column(3), (Texts(3, folder_.Path())));
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false})) << "loading checks nothing";
}

TEST_F(dlgAddTest, AFolderChangeChecksEveryRowAndIsRemembered) {
    Make("photos/a.jpg");
    Make("photos/b.jpg");
    Make("photos/2024/c.jpg");
    Make("photos/2024/d.jpg");
    Make("photos/2024/deep/e.jpg");
    Remember(folder_.File("photos"));
    Open();
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos"));
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false}));

    // Into a subfolder through the folder box, as a double-click or Enter does.
    QTreeWidgetItem* sub = Dir()->findItems("2024", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(sub, nullptr);
    Dir()->setCurrentItem(sub);
    QTest::keyClick(Dir(), Qt::Key_Return);
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos/2024"));
    EXPECT_EQ(Remembered(), folder_.File("photos/2024"));
    EXPECT_EQ(Column(0), (Texts{"c.jpg", "d.jpg"}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true}));

    // The subfolder box lists the folders below as well, and checks nothing.
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(Column(0), (Texts{"c.jpg", "d.jpg", "e.jpg"}));
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
    EXPECT_FALSE(ProgressFrame()->isVisible());

    // A folder change takes the subfolders away again.
    QTest::keyClick(Dir(), Qt::Key_Left);
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos"));
    EXPECT_FALSE(Subfolders()->isChecked());
    EXPECT_EQ(Column(0), (Texts{"a.jpg", "b.jpg"}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true}));
}

TEST_F(dlgAddTest, ARememberedFolderThatIsGoneIsPassedOver) {
    const HomeFolder home(Folder("home"));
    Make("home/h.txt");
    Remember(folder_.File("gone"));
    Open();
    EXPECT_EQ(dialog_->Folder(), folder_.File("home"));
    EXPECT_EQ(Column(0), Texts{"h.txt"});
    EXPECT_EQ(Remembered(), folder_.File("gone")) << "nothing was changed yet";
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgAddTest, AnEmptyFolderListsNothingAndSaysNothing) {
    Remember(Folder("empty"));
    Open();
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(Rows().rowCount(), 0);
    QTest::mouseClick(Button(2), Qt::LeftButton);
    EXPECT_EQ(Rows().rowCount(), 0);
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgAddTest, ScanningWithSubfoldersShowsProgressAndPassesOverSystemFolders) {
    Make("tree/a.txt", 100);
    Make("tree/.hidden", 100);
    Make("tree/System Volume Information/index.dat", 100);
    Make("tree/System Volume Information/Sub/restore.dat", 100);
    Make("tree/A/b.txt", 300);
    Make("tree/.config/c.txt", 500);
    Remember(folder_.File("tree"));
    Open();
    int walked = 0;
    std::vector<int> progress;
    ui_.onYield = [&](bool now) {
        if (now || !ProgressFrame()->isVisible())
            return;
        ++walked;
        progress.push_back(Control<QProgressBar>("objProgressBar(0)")->value());
        // The busy look: only the cancel button is left to the user.
        EXPECT_FALSE(Control<QWidget>("objFrame(0)")->isEnabled());
        EXPECT_FALSE(Control<QWidget>("objFrame(1)")->isEnabled());
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(Button(i)->isEnabled()) << i;
        EXPECT_TRUE(Button(4)->isEnabled());
        EXPECT_TRUE(Control<QLineEdit>("objText(1)")->isVisible());
        EXPECT_EQ(dialog_->cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(FilterBox()->palette().color(QPalette::Base),
                  QApplication::palette().color(QPalette::Button));
    };
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    std::set<std::string> names;
    for (const std::string& name : Column(0))
        names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"a.txt", ".hidden", "b.txt", "c.txt"}));
    // Root, A, .config and the system folder: the bar ends full.
    EXPECT_EQ(walked, 4);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 32766);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_FALSE(ProgressFrame()->isVisible());
    EXPECT_FALSE(Control<QLineEdit>("objText(1)")->isVisible());
    EXPECT_TRUE(Button(0)->isEnabled());
    EXPECT_NE(dialog_->cursor().shape(), Qt::WaitCursor);
}

// A chain of folders, each with one file of 10 bytes: the walk's order is
// certain.
class dlgAddScanTest : public dlgAddTest {
  protected:
    void SetUp() override {
        std::string relative = "chain";
        for (int i = 0; i < 5; ++i) {
            Make(relative + "/f" + std::to_string(i) + ".txt", 10);
            relative += "/" + std::to_string(i + 1);
        }
        Remember(folder_.File("chain"));
        Open();
    }

    // Calls `act` at the yield after the n-th folder walked.
    void AtFolder(int n, std::function<void()> act) {
        walked_ = 0;
        ui_.onYield = [this, n, act](bool now) {
            if (!now && ProgressFrame()->isVisible() && ++walked_ == n)
                act();
        };
    }

    int walked_ = 0;
};

TEST_F(dlgAddScanTest, CancellingKeepsTheFilesOfTheFoldersWalkedSoFar) {
    AtFolder(3, [this] {
        QTest::mouseClick(Button(4), Qt::LeftButton);
        EXPECT_EQ(Button(4)->text(), QStringLiteral("停止中"));
    });
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(walked_, 3);
    EXPECT_EQ(Column(0), (Texts{"f0.txt", "f1.txt", "f2.txt"}));
    EXPECT_EQ(Button(4)->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_FALSE(ProgressFrame()->isVisible());
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(dlgAddScanTest, EscDuringAScanStopsItAndEscAgainCloses) {
    AtFolder(1, [this] { QTest::keyClick(List(), Qt::Key_Escape); });
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(Column(0), Texts{"f0.txt"});
    EXPECT_TRUE(dialog_->isVisible());

    QTest::keyClick(List(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(dlgAddScanTest, TheCloseBoxDuringAScanClosesOnceTheScanHasStopped) {
    AtFolder(2, [this] {
        dialog_->close();
        EXPECT_TRUE(dialog_->isVisible());
    });
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(walked_, 2);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(dlgAddTest, TheFilterNarrowsTheRowsByTheFileNameOnly) {
    Make("mixed/ABC.txt");
    Make("mixed/abc.tmp");
    Make("mixed/notes.txt");
    Make("mixed/abc/x.txt");
    Remember(folder_.File("mixed"));
    Open();
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    ASSERT_EQ(Rows().rowCount(), 4);

    Filter("abc -tmp");
    EXPECT_EQ(Column(0), Texts{"ABC.txt"});
    EXPECT_EQ(QApplication::focusWidget(), FilterBox());
    Filter(QStringLiteral("abc\u3000-tmp"));
    EXPECT_EQ(Column(0), Texts{"ABC.txt"});
    Filter("+");
    EXPECT_EQ(Column(0), (Texts{"abc.tmp", "ABC.txt", "notes.txt", "x.txt"}));
    Filter("-");
    EXPECT_EQ(Rows().rowCount(), 0);
    Filter("");
    EXPECT_EQ(Rows().rowCount(), 4);

    // A scan lists every file, whatever the filter box holds.
    Filter("notes");
    QTest::mouseClick(Subfolders(), Qt::LeftButton);
    EXPECT_EQ(Column(0), (Texts{"abc.tmp", "ABC.txt", "notes.txt"}));
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgAddTest, SizesArePaddedAndAColumnSortsBothWays) {
    Make("sizes/big.bin", 1234567);
    Make("sizes/small.txt", 5);
    Make("sizes/mid.dat", 300);
    Remember(folder_.File("sizes"));
    Open();
    EXPECT_EQ(Column(0), (Texts{"big.bin", "mid.dat", "small.txt"}));
    EXPECT_EQ(Column(2), (Texts{"1,234,567", "      300", "        5"}));

    ClickHeading(2);
    EXPECT_EQ(Column(0), (Texts{"small.txt", "mid.dat", "big.bin"}));
    EXPECT_EQ(List()->header()->sortIndicatorSection(), 2);
    EXPECT_EQ(List()->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    ClickHeading(2);
    EXPECT_EQ(Column(0), (Texts{"big.bin", "mid.dat", "small.txt"}));
    EXPECT_EQ(List()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    // Another column starts ascending.
    ClickHeading(0);
    EXPECT_EQ(Column(0), (Texts{"big.bin", "mid.dat", "small.txt"}));
    ClickHeading(0);
    EXPECT_EQ(Column(0), (Texts{"small.txt", "mid.dat", "big.bin"}));
}

TEST_F(dlgAddTest, CtrlAChecksEverythingThenNothing) {
    Make("two/a.txt");
    Make("two/b.txt");
    Remember(folder_.File("two"));
    Open();
    Check(1);
    QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true}));
    QTest::keyClick(FilterBox(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false}));
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgAddTest, SelectAllAndClearAllRefuseMoreThan32766Rows) {
    const std::string many = Folder("many");
    for (int i = 0; i < 32767; ++i)
        std::ofstream(many + "/" + std::to_string(i));
    Remember(many);
    Open();
    ASSERT_EQ(Rows().rowCount(), 32767);
    Check(0);
    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button(2), Qt::LeftButton);
    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button(3), Qt::LeftButton);
    ui_.Answer(MsgResult::OK);
    QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(ui_.Boxes().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        ExpectBox(i, kTooManyRows, "Zarvopack");
    EXPECT_EQ(Checks()[0], true);
    EXPECT_EQ(Checks()[1], false);
}

TEST_F(dlgAddTest, ADriveThatIsNotReadyIsOfferedAgainOrLeftAlone) {
    const std::string card = Folder("card");
    Make("card/DCIM/p.jpg");
    Make("here/h.txt");
    Remember(folder_.File("here"));
    auto drives =
        std::make_unique<TestDrives>(std::vector<Drive>{{"/", "/"}, {card, card + " [sd card]"}});
    TestDrives& testDrives = *drives;
    testDrives.notReady.insert(card);
    Open(std::move(drives));
    ASSERT_EQ(DriveBox()->count(), 2);
    EXPECT_EQ(DriveBox()->currentIndex(), 0);

    ui_.Answer(MsgResult::Retry);
    ui_.Answer(MsgResult::Cancel);
    DriveBox()->setCurrentIndex(1);
    const std::string question = "ﾄﾞﾗｲﾌﾞの準備が出来ていません\r\n" +
                                 QString::fromStdString(card).toUpper().toStdString() +
                                 " [SD CARD]";
    ASSERT_EQ(ui_.Boxes().size(), 2u);
    ExpectBox(0, question, "ﾃﾞｨｽｸを挿入してください", MsgButtons::RetryCancel);
    ExpectBox(1, question, "ﾃﾞｨｽｸを挿入してください", MsgButtons::RetryCancel);
    EXPECT_EQ(DriveBox()->currentIndex(), 0);
    EXPECT_EQ(dialog_->Folder(), folder_.File("here"));

    // The card is in now: the drive's root is shown.
    testDrives.notReady.clear();
    DriveBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog_->Folder(), card);
    EXPECT_EQ(Dir()->Root(), card);
    EXPECT_EQ(Remembered(), card);

    // The left arrow stops at the drive's root; the right one enters the
    // folder highlighted.
    QTest::keyClick(Dir(), Qt::Key_Left);
    EXPECT_EQ(dialog_->Folder(), card);
    Dir()->setCurrentItem(Dir()->findItems("DCIM", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    QTest::keyClick(Dir(), Qt::Key_Right);
    EXPECT_EQ(dialog_->Folder(), card + "/DCIM");
    EXPECT_EQ(Column(0), Texts{"p.jpg"});
    QTest::keyClick(Dir(), Qt::Key_Left);
    EXPECT_EQ(dialog_->Folder(), card);

    // Dropping a folder of the other drive goes there, drive box and all.
    Drop(DriveBox(), {folder_.File("here")});
    EXPECT_EQ(dialog_->Folder(), folder_.File("here"));
    EXPECT_EQ(DriveBox()->currentIndex(), 0);
}

TEST_F(dlgAddTest, OnlyOneDroppedFolderIsTaken) {
    Make("one/a.txt");
    Make("two/b.txt");
    Remember(folder_.File("one"));
    Open();
    QWidget* dirArea = Dir()->viewport();
    EXPECT_FALSE(DragOver(dirArea, {folder_.File("one"), folder_.File("two")}));
    EXPECT_FALSE(DragOver(dirArea, {folder_.File("two/b.txt")}));
    EXPECT_FALSE(DragOver(DriveBox(), {folder_.File("missing")}));
    EXPECT_FALSE(DragOver(List()->viewport(), {folder_.File("two")}));

    Drop(dirArea, {folder_.File("two")});
    EXPECT_EQ(dialog_->Folder(), folder_.File("two"));
    EXPECT_EQ(Column(0), Texts{"b.txt"});
    EXPECT_EQ(Checks(), std::vector<bool>{true});
}

TEST_F(dlgAddTest, CheckedFilesGoToTheProjectAndTheDialogStaysOpen) {
    Make("add/a.txt");
    Make("add/b.txt");
    Make("add/c.txt");
    Remember(folder_.File("add"));
    Open();

    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    ExpectBox(0, "ﾌｧｲﾙを選択してください", "Zarvopack");
    EXPECT_TRUE(target_.Document().IsEmpty());

    // Two files, and no group in the group confirmation: two single items.
    Check(0);
    Check(2);
    bool confirmed = false;
    QTimer::singleShot(0, [&] {
        auto* confirmation = qobject_cast<dlgCheckGroup*>(QApplication::activeModalWidget());
        ASSERT_NE(confirmation, nullptr);
        EXPECT_EQ(confirmation->parentWidget(), dialog_.get());
        EXPECT_TRUE(confirmation->findChild<QRadioButton*>("objOption(0)")->isChecked());
        confirmation->findChild<QPushButton*>("objButton(0)")->click();
        confirmed = true;
    });
    QTest::mouseClick(Button(1), Qt::LeftButton);
    EXPECT_TRUE(confirmed);
    ASSERT_EQ(target_.Document().Items().size(), 2u);
    EXPECT_EQ(target_.Document().Items()[0].Name, folder_.File("add/a.txt"));
    EXPECT_EQ(target_.Document().Items()[1].Name, folder_.File("add/c.txt"));
    EXPECT_EQ(target_.ListView(0)->topLevelItemCount(), 2);
    EXPECT_EQ(dialog_->focusWidget(), Button(0));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true})) << "the marks stay";
}

TEST_F(dlgAddTest, TheSplitterMovesThePanesWhenItIsLetGo) {
    Open();
    QWidget* bar = Control<QWidget>("objFrame(2)");
    QWidget* left = Control<QWidget>("objFrame(0)");
    QWidget* right = Control<QWidget>("objFrame(1)");
    auto* line = Control<QFrame>("objLine(0)");
    const int leftWidth = left->width();
    const int rightLeft = right->x();
    const QColor face = line->palette().color(QPalette::Window);

    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 20));
    EXPECT_NE(line->palette().color(QPalette::Window), face);
    QTest::mouseMove(bar, QPoint(40, 20));
    EXPECT_EQ(left->width(), leftWidth) << "the panes wait for the release";
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 20));
    EXPECT_EQ(line->palette().color(QPalette::Window), face);
    EXPECT_NEAR(left->width(), leftWidth + 40, 1);
    EXPECT_NEAR(right->x(), rightLeft + 40, 1);
}

}  // namespace
}  // namespace zv
