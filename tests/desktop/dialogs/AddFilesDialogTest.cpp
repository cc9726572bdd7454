#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include "core/project/ProjectDocument.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/dialogs/AddFilesDialog.h"
#include "desktop/dialogs/FolderBox.h"
#include "desktop/dialogs/GroupNameDialog.h"
#include "desktop/platform/Twips.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Scripted services whose time-sliced yields are the moments the test acts,
// as a user does while a scan lets the events run.
class YieldingUi : public ScriptedUi {
  public:
    std::function<void(bool now)> onYield = [](bool) {};  // `now`: a forced yield

    void Yield() override { ScriptedUi::Yield(), onYield(false); }
    void YieldNow() override { ScriptedUi::YieldNow(), onYield(true); }
};

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

class AddFilesDialogTest : public ::testing::Test {
  protected:
    std::string Make(const std::string& relative, std::uintmax_t bytes = 1) {
        const fs::path path = fs::path(folder_.Path()) / relative;
        fs::create_directories(path.parent_path());
        test::WriteBytes(path.string(), std::string(bytes > 1000 ? 1 : bytes, 'x'));
        fs::resize_file(path, bytes);
        return path.string();
    }

    std::string Remembered() { return Setting(settings_keys::LastAddFolder).value_or(""); }

    std::optional<std::string> Setting(const SettingsKey& key) {
        return IniFile(folder_.Settings()).Read(key.section, key.name);
    }

    void Store(const SettingsKey& key, const std::string& value) {
        ASSERT_TRUE(IniFile(folder_.Settings()).Write(key.section, key.name, value));
    }

    // Opens the dialog on the folder last used, under the model tester, and
    // lets its first scan run.
    void Open(const std::string& lastUsed = "", std::unique_ptr<Drives> drives = {}) {
        if (!lastUsed.empty())
            Store(settings_keys::LastAddFolder, folder_.File(lastUsed));
        dialog_ = std::make_unique<AddFilesDialog>(
            nullptr,
            AddTarget{&window_, &document_,
                      [this](const std::string& openGroup) { redrawn_.push_back(openGroup); }},
            std::move(drives));
        new QAbstractItemModelTester(List()->model(),
                                     QAbstractItemModelTester::FailureReportingMode::Fatal,
                                     List()->model());
        dialog_->show();
        QCoreApplication::processEvents();
        ASSERT_FALSE(dialog_->Busy());
    }

    template <class Widget = QWidget>
    Widget* Control(const QString& name) const {
        return test::Control<Widget>(*dialog_, name);
    }
    QPushButton* Button(int i) const {
        return Control<QPushButton>(QStringLiteral("objButton(%1)").arg(i));
    }
    QTreeView* List() const { return Control<QTreeView>("objListView(0)"); }
    QAbstractItemModel& Rows() const { return *List()->model(); }
    QCheckBox* Subfolders() const { return Control<QCheckBox>("objCheck(0)"); }
    QLineEdit* FilterBox() const { return Control<QLineEdit>("objText(0)"); }
    FolderBox* Dir() const { return Control<FolderBox>("objDir(0)"); }
    QComboBox* DriveBox() const { return Control<QComboBox>("objDrive(0)"); }
    QWidget* ProgressFrame() const { return Control("objFrame(3)"); }

    Texts Column(int column) const {
        Texts texts;
        for (int row = 0; row < Rows().rowCount(); ++row)
            texts.push_back(Rows().index(row, column).data().toString().toStdString());
        return texts;
    }
    // The check marks top to bottom, "x" for a checked row.
    std::string Checks() const {
        std::string checks;
        for (int row = 0; row < Rows().rowCount(); ++row)
            checks += Rows().index(row, 0).data(Qt::CheckStateRole) == Qt::Checked ? "x" : ".";
        return checks;
    }
    void Check(int row) { Rows().setData(Rows().index(row, 0), Qt::Checked, Qt::CheckStateRole); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    void Filter(const QString& text) {
        FilterBox()->setText(text);
        QTest::keyClick(FilterBox(), Qt::Key_Return);
    }

    void ClickHeading(int column) {
        QHeaderView* header = List()->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }

    void EnterFolder(const QString& name, Qt::Key key) {
        Dir()->setCurrentItem(
            Dir()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0));
        QTest::keyClick(Dir(), key);
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

    test::TempFolder folder_;
    YieldingUi ui_;
    QObject window_;
    ProjectDocument document_;
    Texts redrawn_;
    std::unique_ptr<AddFilesDialog> dialog_;
    std::unique_ptr<QMimeData> data_;
};

TEST_F(AddFilesDialogTest, OpensOnTheProgramFolderFirstAndAgainAsItWasLeft) {
    Make("a.txt");
    Make("b.txt");
    Open();
    EXPECT_EQ(dialog_->Folder(), folder_.Path());
    EXPECT_EQ(Remembered(), folder_.Path());
    // The settings file just written lies there too.
    EXPECT_EQ(Column(0), (Texts{"a.txt", "b.txt", "zarvopack.dat"}));
    EXPECT_EQ(Column(3), (Texts(3, folder_.Path())));
    EXPECT_EQ(Checks(), "...") << "loading checks nothing";

    // Size and splitter are kept; a remembered folder that has gone gives way
    // to the home folder.
    dialog_->resize(TwipsToPixelsX(9000), TwipsToPixelsY(7500));
    dialog_->reject();
    EXPECT_EQ(Setting(settings_keys::AddDialogSplitter), "2400");
    // A stored height of no use leaves the designed one.
    Store(settings_keys::AddDialogHeight, "0");
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(folder_.File("home")));
    Make("home/h.txt");
    Open("gone");
    qputenv("HOME", home);
    EXPECT_EQ(dialog_->size(),
              QSize(TwipsToPixelsX(9000), TwipsToPixelsY(AddDialogLayout::kDesignHeight)));
    EXPECT_EQ(dialog_->Folder(), folder_.File("home"));
    EXPECT_EQ(Column(0), Texts{"h.txt"});
    EXPECT_EQ(Remembered(), folder_.File("gone")) << "nothing was changed yet";

    // A size left on a larger screen is fitted to this one, buttons in reach.
    dialog_->reject();
    for (const SettingsKey& key : {settings_keys::AddDialogWidth, settings_keys::AddDialogHeight})
        Store(key, "90000");
    Open();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(dialog_->width(), screen.width());
    EXPECT_LT(dialog_->height(), screen.height());
}

TEST_F(AddFilesDialogTest, AFolderChangeChecksEveryRowAndIsRemembered) {
    for (const char* file : {"a.jpg", "b.jpg", "2024/c.jpg", "2024/d.jpg", "2024/deep/e.jpg"})
        Make(std::string("photos/") + file);
    Open("photos");
    EXPECT_EQ(Checks(), "..");

    EnterFolder("2024", Qt::Key_Return);
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos/2024"));
    EXPECT_EQ(Remembered(), folder_.File("photos/2024"));
    EXPECT_EQ(Column(0), (Texts{"c.jpg", "d.jpg"}));
    EXPECT_EQ(Checks(), "xx");

    Click(Subfolders());
    EXPECT_EQ(Column(0), (Texts{"c.jpg", "d.jpg", "e.jpg"}));
    EXPECT_EQ(Checks(), "...");

    QTest::keyClick(Dir(), Qt::Key_Left);
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos"));
    EXPECT_FALSE(Subfolders()->isChecked());
    EXPECT_EQ(Checks(), "xx");

    // One click enters a folder; the list's columns fill the dialog.
    QTreeWidgetItem* year =
        Dir()->findItems("2024", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QTest::mouseClick(Dir()->viewport(), Qt::LeftButton, {}, Dir()->visualItemRect(year).center());
    EXPECT_EQ(dialog_->Folder(), folder_.File("photos/2024"));
    dialog_->resize(1600, dialog_->height());
    QCoreApplication::processEvents();
    EXPECT_GT(List()->viewport()->width(), 730);
    EXPECT_EQ(List()->header()->length(), List()->viewport()->width());
}

// A chain of folders, one file each, makes the walk's order certain. A scan
// shows its progress and offers only Cancel; Cancel, Esc and the close box stop
// it, and the files walked so far stay.
TEST_F(AddFilesDialogTest, AScanShowsItsProgressAndCancelEscOrTheCloseBoxStopIt) {
    std::string relative = "chain";
    for (int i = 0; i < 5; ++i) {
        Make(relative + "/f" + std::to_string(i) + ".txt", 10);
        relative += "/" + std::to_string(i + 1);
    }
    Open("chain");
    int progress = 0;
    ui_.onYield = [&](bool now) {
        if (now || !ProgressFrame()->isVisible())
            return;
        progress = Control<QProgressBar>("objProgressBar(0)")->value();
        EXPECT_FALSE(Control("objFrame(0)")->isEnabled());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Button(i)->isEnabled(), i == 4) << i;
    };
    Click(Subfolders());
    EXPECT_EQ(Rows().rowCount(), 5);
    EXPECT_EQ(progress, 32766) << "the bar ends full";
    EXPECT_FALSE(ProgressFrame()->isVisible());
    EXPECT_TRUE(Button(0)->isEnabled());

    const struct {
        int folders;  // walked before the stop
        std::function<void()> stop;
        bool closes;
    } stops[] = {
        {3,
         [this] {
             Click(Button(4));
             EXPECT_EQ(Button(4)->text(), QStringLiteral("停止中"));
         },
         false},
        {1, [this] { QTest::keyClick(List(), Qt::Key_Escape); }, false},
        {2,
         [this] {
             dialog_->close();
             EXPECT_TRUE(dialog_->isVisible()) << "not before the scan has stopped";
         },
         true},
    };
    for (const auto& [folders, stop, closes] : stops) {
        ui_.onYield = [](bool) {};
        if (Subfolders()->isChecked())
            Click(Subfolders());
        int walked = 0;
        ui_.onYield = [&, folders, stop](bool now) {
            if (!now && ProgressFrame()->isVisible() && ++walked == folders)
                stop();
        };
        Click(Subfolders());
        EXPECT_EQ(walked, folders);
        ASSERT_EQ(dialog_->isVisible(), !closes) << folders;
        if (closes)
            break;
        EXPECT_EQ(Rows().rowCount(), folders) << "the files walked so far stay";
        EXPECT_EQ(Button(4)->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    }
    // Without a scan Esc closes.
    dialog_->show();
    QTest::keyClick(List(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(AddFilesDialogTest, HeadingsSortBothWaysAndTheFilterLooksAtTheFileNameOnly) {
    Make("mixed/ABC.txt", 5);
    Make("mixed/abc.tmp", 300);
    Make("mixed/notes.txt", 1234567);
    Make("mixed/abc/x.txt");
    Open("mixed");
    const Texts bySize{"ABC.txt", "abc.tmp", "notes.txt"};
    const Texts byName{"abc.tmp", "ABC.txt", "notes.txt"};
    Check(2);
    const std::pair<int, Texts> clicks[] = {
        {2, bySize}, {2, Texts(bySize.rbegin(), bySize.rend())}, {0, byName}, {0, {}}, {0, byName}};
    for (const auto& [column, order] : clicks) {
        ClickHeading(column);
        EXPECT_TRUE(order.empty() || Column(0) == order) << column;
    }
    EXPECT_EQ(Column(2), (Texts{"      300", "        5", "1,234,567"}));
    EXPECT_EQ(Checks(), "..x") << "the mark moves with its row";

    Click(Subfolders());
    Filter("abc -tmp");
    EXPECT_EQ(Column(0), Texts{"ABC.txt"});
    EXPECT_EQ(QApplication::focusWidget(), FilterBox());
    Filter("");
    EXPECT_EQ(Rows().rowCount(), 4);
    // A scan lists every file, whatever the filter says.
    Filter("notes");
    Click(Subfolders());
    EXPECT_EQ(Column(0), byName);
}

// More rows than a project has room for are checked all the same: the group
// question comes first, as one group they are one item, and only as single
// items does the project refuse them. The dialog stays open with its marks.
TEST_F(AddFilesDialogTest, CheckedFilesTooManyForTheProjectGoToItAsOneGroup) {
    Make("held");
    ItemRecord held;
    held.Files.front() = FileRef::Get(folder_.File("held"));
    held.Name = held.PathList = held.Files.front().Path();
    document_.Items().assign(kMaxProjectItems - 2, held);
    for (const char* name : {"many/0", "many/1", "many/2", "many/3"})
        Make(name);
    Open("many");
    // Ctrl+A checks every row, or none when all are checked, wherever the focus is.
    Check(1);
    QTest::keyClick(List(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Checks(), "xxxx");
    QTest::keyClick(FilterBox(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Checks(), "....");
    for (const int row : {0, 2, 3})
        Check(row);

    // Single items first, then a group with a long name ended with Return.
    const std::string name(300, 'n');
    for (const bool group : {false, true}) {
        test::WhenModal<GroupNameDialog>([&](GroupNameDialog& confirmation) {
            EXPECT_EQ(confirmation.parentWidget(), dialog_.get());
            if (!group)
                return QTest::mouseClick(test::Control(confirmation, "objButton(0)"),
                                         Qt::LeftButton);
            QTest::mouseClick(test::Control(confirmation, "objOption(1)"), Qt::LeftButton);
            auto* box = test::Control<QLineEdit>(confirmation, "objText(0)");
            box->setText(QString::fromStdString(name));
            QTest::keyClick(box, Qt::Key_Return);
        });
        for (int box = 0; box < (group ? 0 : 2); ++box)
            ui_.Answer(MsgResult::OK);
        redrawn_.clear();
        Click(Button(1));
    }
    // The project's refusal comes first; its text is the project's.
    test::ExpectBox(ui_.Boxes().at(1), "ﾘｽﾄの追加に失敗しました", "Zarvopack");
    ASSERT_EQ(document_.Items().size(), static_cast<size_t>(kMaxProjectItems - 1));
    EXPECT_EQ(document_.Items().back().Name, name);
    EXPECT_EQ(
        document_.Items().back().PathList,
        folder_.File("many/0") + "\t" + folder_.File("many/2") + "\t" + folder_.File("many/3"));
    EXPECT_EQ(redrawn_, (Texts{""})) << "the list is drawn again at the top level";
    EXPECT_EQ(dialog_->focusWidget(), Button(0));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Checks(), "x.xx") << "the marks stay";
}

TEST_F(AddFilesDialogTest, ADriveThatIsNotReadyIsOfferedAgainOrLeftAlone) {
    const std::string card = folder_.File("card");
    Make("card/DCIM/p.jpg");
    Make("here/h.txt");
    Make("here/sub/s.txt");
    auto drives =
        std::make_unique<TestDrives>(std::vector<Drive>{{"/", "/"}, {card, card + " [sd card]"}});
    TestDrives& testDrives = *drives;
    testDrives.notReady.insert(card);
    Open("here", std::move(drives));
    ASSERT_EQ(DriveBox()->currentIndex(), 0);

    ui_.Answer(MsgResult::Retry);
    ui_.Answer(MsgResult::Cancel);
    DriveBox()->setCurrentIndex(1);
    for (const MessageBoxRequest& box : ui_.Boxes())
        test::ExpectBox(box,
                        "ﾄﾞﾗｲﾌﾞの準備が出来ていません\r\n" +
                            QString::fromStdString(card).toUpper().toStdString() + " [SD CARD]",
                        "ﾃﾞｨｽｸを挿入してください", MsgButtons::RetryCancel);
    EXPECT_EQ(DriveBox()->currentIndex(), 0);
    EXPECT_EQ(dialog_->Folder(), folder_.File("here"));

    // The card is in now: the drive's root is shown.
    testDrives.notReady.clear();
    DriveBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog_->Folder(), card);
    EXPECT_EQ(Dir()->Root(), card);

    // The left arrow stops at the drive's root; the right one enters the
    // folder highlighted.
    QTest::keyClick(Dir(), Qt::Key_Left);
    EXPECT_EQ(dialog_->Folder(), card);
    EnterFolder("DCIM", Qt::Key_Right);
    EXPECT_EQ(Column(0), Texts{"p.jpg"});

    // Only one dropped folder is taken; one of the other drive goes there,
    // drive box and all.
    QWidget* dirArea = Dir()->viewport();
    EXPECT_FALSE(DragOver(dirArea, {folder_.File("here"), card}));
    EXPECT_FALSE(DragOver(dirArea, {folder_.File("here/h.txt")}));
    EXPECT_FALSE(DragOver(List()->viewport(), {folder_.File("here")}));
    Drop(DriveBox(), {folder_.File("here")});
    EXPECT_EQ(dialog_->Folder(), folder_.File("here"));
    EXPECT_EQ(DriveBox()->currentIndex(), 0);
    EXPECT_EQ(Checks(), "x");
    Drop(dirArea, {folder_.File("here/sub")});
    EXPECT_EQ(Column(0), Texts{"s.txt"});
}

}  // namespace
}  // namespace zv
