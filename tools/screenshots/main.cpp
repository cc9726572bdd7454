// Takes pictures of the desktop program's real windows holding sample
// projects, for the documentation: zarvopack_screenshots DIR writes PNG files
// into DIR. Meant for the offscreen platform, where nothing shows on a screen.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <stdexcept>

#include "core/platform/HeadlessUi.h"
#include "core/settings/AppState.h"
#include "core/settings/IniFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/AboutDialog.h"
#include "desktop/dialogs/AddFilesDialog.h"
#include "desktop/dialogs/GroupNameDialog.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/platform/QtTranslations.h"
#include "desktop/projectwindow/ProjectListModel.h"
#include "desktop/projectwindow/ProjectListView.h"
#include "desktop/projectwindow/ProjectWindow.h"
#include "tools/screenshots/SampleProjects.h"

namespace {

// What the pictures of a run do while the run lets the events run, as a user
// watching it would.
std::function<void()> atYield;

// Nobody is there to answer: every box goes to standard error and is answered
// with its default button.
class LoggingUi : public zv::HeadlessUi {
  public:
    LoggingUi() { zv::SetUi(this); }
    ~LoggingUi() override { zv::SetUi(nullptr); }

    zv::MsgResult MessageBox(const zv::MessageBoxRequest& request) override {
        std::cerr << "message box: " << request.text << '\n';
        return zv::DefaultAnswer(request.buttons, request.defaultButton);
    }
    void Yield() override {
        if (atYield)
            atYield();
    }
    void YieldNow() override {
        QCoreApplication::processEvents();
        Yield();
    }
};

constexpr int kTitleBarHeight = 30;

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A run goes on its own thread: the events run here until it has ended.
void WaitForTheRun() {
    while (zv::App().running) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (atYield)
            atYield();
    }
}

// The offscreen platform draws no window frames; a plain title bar with the
// window's own icon and caption stands in for the one a desktop would draw.
QPixmap WithTitleBar(const QWidget& window, const QPixmap& content) {
    QPixmap framed(content.width() + 2, content.height() + kTitleBarHeight + 1);
    framed.fill(QColor(55, 65, 81));
    QPainter painter(&framed);
    window.windowIcon().paint(&painter, QRect(8, 6, 18, 18));
    QFont font = window.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(34, 0, framed.width() - 80, kTitleBarHeight), Qt::AlignVCenter,
                     window.windowTitle());
    painter.drawText(QRect(framed.width() - 30, 0, 24, kTitleBarHeight), Qt::AlignCenter,
                     QStringLiteral("✕"));
    painter.drawPixmap(1, kTitleBarHeight, content);
    return framed;
}

// The main window with the popup or box drawn over it where it stands.
QPixmap WithOnTop(QWidget& window, QWidget& top, bool titleBar) {
    QPixmap shot = window.grab();
    QPainter painter(&shot);
    const QPoint at = top.geometry().topLeft() - window.geometry().topLeft();
    if (titleBar)
        painter.drawPixmap(at - QPoint(1, kTitleBarHeight), WithTitleBar(top, top.grab()));
    else
        painter.drawPixmap(at, top.grab());
    return shot;
}

void Save(const QWidget& window, const QPixmap& content, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!WithTitleBar(window, content).save(path))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::cout << path.toStdString() << '\n';
}

void ShowView(zv::ProjectWindow& project, zv::ProjectTab tab, zv::SizeUnit unit,
              zv::PathMode pathMode) {
    project.SetSizeUnit(unit);
    project.SetPathMode(pathMode);
    project.SelectTab(tab);
    Settle();
}

// Selects the rows of a list that show one of `texts`, and only those.
void SelectRows(zv::ProjectListView& list, const QStringList& texts) {
    list.clearSelection();
    for (int row = 0; row < list.Model().rowCount(); ++row) {
        if (texts.contains(list.Model().Text(row)))
            list.SelectRow(row);
    }
}

// Editing the list: an opened group, cut marks on a file and a group, the
// group confirmation for dropped files and a group's name being edited.
void TakeEditingPictures(zv::MainWindow& window, zv::ProjectWindow& photos, const QString& folder) {
    ShowView(photos, zv::ProjectTab::List, zv::UnitMegabytes, zv::FileNamesOnly);
    photos.RenderList(zv::ProjectList::Files, "京都旅行", 0);
    Settle();
    Save(window, window.grab(), folder, "opened-group.png");

    photos.RenderList(zv::ProjectList::Files, "", 0);
    zv::ProjectListView& list = *photos.ListView(zv::ProjectList::Files);
    SelectRows(list, {QStringLiteral("運動会2025.mp4"), QStringLiteral("北海道旅行")});
    window.RunCommand(zv::Command::Cut);
    Settle();
    Save(window, window.grab(), folder, "cut-marks.png");

    zv::GroupNameDialog confirmation(&window, photos.GetItems());
    confirmation.show();
    confirmation.findChild<QRadioButton*>(QStringLiteral("objOption(1)"))->setChecked(true);
    confirmation.findChild<QLineEdit*>(QStringLiteral("objText(0)"))->setText("夏休みの写真");
    Settle();
    Save(window, WithOnTop(window, confirmation, true), folder, "group-confirmation.png");
    confirmation.close();

    // The project holds results, which the Rename command would first offer
    // to clear; the picture shows the editing itself.
    SelectRows(list, {QStringLiteral("北海道旅行")});
    photos.StartRename();
    auto* editor = list.viewport()->findChild<QLineEdit*>();
    editor->setText(QStringLiteral("北海道旅行 2025夏"));
    editor->setSelection(6, 5);
    Settle();
    Save(window, window.grab(), folder, "rename.png");
}

// Lets `act` work on the modal dialog that opens next, from inside its event
// loop.
void WhenModalOpens(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(*dialog);
    });
}

QPushButton* ButtonOf(const QWidget& dialog, int index) {
    return dialog.findChild<QPushButton*>(QStringLiteral("objButton(%1)").arg(index));
}

double Filled(const QProgressBar& bar) {
    return double(bar.value() - bar.minimum()) / std::max(1, bar.maximum() - bar.minimum());
}

// Every file below a folder.
std::vector<zv::FileRef> FilesBelow(const QString& root) {
    std::vector<zv::FileRef> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.toStdString())) {
        if (entry.is_regular_file())
            files.push_back(zv::FileRef::Get(entry.path().string()));
    }
    return files;
}

// Recordings of an even number of bytes from 1 to 90 MB (sparse, so they take
// no disk space): media of an odd number of bytes are never filled to the
// byte, so each search runs long enough to be watched.
std::vector<zv::FileRef> Recordings(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> bytes(1e6, 9e7);
    std::vector<zv::FileRef> files;
    for (int i = 1; i <= 60; ++i) {
        const std::filesystem::path path = folder / ("番組" + std::to_string(i) + ".ts");
        std::ofstream(path, std::ios::binary).put('\0');
        std::filesystem::resize_file(path, 2 * static_cast<std::uintmax_t>(bytes(random) / 2));
        files.push_back(zv::FileRef::Get(path.string()));
    }
    return files;
}

zv::RunSettings RunSettingsFor(const std::string& mediaSize, double tolerance, int16_t media) {
    zv::RunSettings settings;
    settings.MediaSize = mediaSize;
    settings.DiffSize = tolerance;
    settings.MediaNum = media;
    settings.MaxFile = 32766;
    return settings;
}

// A new project window holding `files`, with its run settings.
zv::ProjectWindow& NewProject(zv::MainWindow& window, std::vector<zv::FileRef> files,
                              const zv::RunSettings& settings) {
    zv::ProjectWindow& project = *window.NewProjectWindow();
    project.AddFiles(std::move(files), "");
    project.Document().LoadRunSettings(settings);
    project.RenderList(zv::ProjectList::Files, "", 0);
    Settle();
    return project;
}

// The run settings with the help of the tolerance shown, the result tab after
// a run of a real folder, and the run dialog during a search and paused.
void TakeRunPictures(zv::MainWindow& window, const std::filesystem::path& samples,
                     const QString& folder) {
    // Qt's plug-ins: a real folder that is there wherever the program runs.
    zv::ProjectWindow& plugins =
        NewProject(window, FilesBelow(QLibraryInfo::path(QLibraryInfo::PluginsPath)),
                   RunSettingsFor("1000000", 1000, 32766));
    ShowView(plugins, zv::ProjectTab::List, zv::UnitKilobytes, zv::FileNamesOnly);
    WhenModalOpens([&window, &folder](QDialog& dialog) {
        QLabel* tolerance = dialog.findChild<QLabel*>(QStringLiteral("objLabel(5)"));
        const QPointF at = tolerance->rect().center();
        QMouseEvent hover(QEvent::MouseMove, at, tolerance->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tolerance, &hover);
        Settle();
        Save(window, WithOnTop(window, dialog, true), folder, "run-settings.png");
        ButtonOf(dialog, 0)->click();
    });
    window.RunCommand(zv::Command::RunOptions);

    WhenModalOpens([](QDialog& dialog) { ButtonOf(dialog, 3)->click(); });
    window.RunCommand(zv::Command::Run);
    WaitForTheRun();
    ShowView(plugins, zv::ProjectTab::Result, zv::UnitKilobytes, zv::FullPaths);
    Save(window, window.grab(), folder, "result-after-run.png");

    // The first medium is taken as found so far ("確定"), the second one is
    // watched, paused, and the run stopped.
    zv::ProjectWindow& recordings =
        NewProject(window, Recordings(samples / "録画"), RunSettingsFor("700000001", 0, 3));
    ShowView(recordings, zv::ProjectTab::List, zv::UnitMegabytes, zv::FileNamesOnly);
    int stage = 0;
    int yields = 0;
    atYield = [&] {
        auto* dialog = window.findChild<zv::RunDialog*>();
        if (dialog == nullptr)
            return;
        const QString status = dialog->findChild<QLabel*>(QStringLiteral("objLabel(0)"))->text();
        const auto* steps = dialog->findChild<QProgressBar*>(QStringLiteral("objProgress(0)"));
        const auto* sizes = dialog->findChild<QProgressBar*>(QStringLiteral("objProgress(1)"));
        if (stage == 0 && ButtonOf(*dialog, 2)->isEnabled() && ++yields == 200) {
            ButtonOf(*dialog, 2)->click();
            stage = 1;
        } else if (stage == 1 && status.contains(QStringLiteral("2枚目")) &&
                   Filled(*steps) >= 0.5 && Filled(*steps) <= 0.8 && Filled(*sizes) >= 0.25) {
            Settle();
            Save(window, WithOnTop(window, *dialog, true), folder, "run-dialog.png");
            ButtonOf(*dialog, 1)->click();
            Settle();
            Save(window, WithOnTop(window, *dialog, true), folder, "run-dialog-paused.png");
            stage = 2;
        } else if (stage == 2) {
            ButtonOf(*dialog, 0)->click();
            stage = 3;
        }
    };
    WhenModalOpens([](QDialog& dialog) { ButtonOf(dialog, 3)->click(); });
    window.RunCommand(zv::Command::Run);
    WaitForTheRun();
    atYield = nullptr;
    if (stage != 3)
        throw std::runtime_error("the run never showed the progress to take its pictures");
}

// The add-files dialog on the sample folder with its subfolders and some rows
// checked, the same list filtered, and a scan of a large folder in progress.
void TakeAddPictures(zv::MainWindow& window, const std::filesystem::path& samples,
                     const QString& folder) {
    window.NewProjectWindow()->parentWidget()->showMaximized();
    Settle();
    WhenModalOpens([&window, &samples, &folder](QDialog& dialog) {
        auto& add = static_cast<zv::AddFilesDialog&>(dialog);
        Settle();
        add.resize(860, 560);
        add.move(window.geometry().center() - add.rect().center());
        add.ChangeFolder(samples.string());
        auto* subfolders = add.findChild<QCheckBox*>(QStringLiteral("objCheck(0)"));
        subfolders->click();
        auto* list = add.findChild<QTreeView*>(QStringLiteral("objListView(0)"));
        QAbstractItemModel& rows = *list->model();
        for (const int row : {1, 2, 4, 7, 8})
            rows.setData(rows.index(row, 0), Qt::Checked, Qt::CheckStateRole);
        list->setCurrentIndex(rows.index(8, 0));
        Settle();
        Save(window, WithOnTop(window, add, true), folder, "add-files.png");

        auto* filter = add.findChild<QLineEdit*>(QStringLiteral("objText(0)"));
        filter->setFocus();
        filter->setText(QStringLiteral("jpg -0003"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(filter, &enter);
        Settle();
        Save(window, WithOnTop(window, add, true), folder, "add-files-filtered.png");

        // A folder large enough that the walk takes a while; the picture is
        // taken when the bar has come some way, and the scan cancelled.
        add.ChangeFolder(QLibraryInfo::path(QLibraryInfo::DataPath).toStdString() + "/..");
        auto* bar = add.findChild<QProgressBar*>(QStringLiteral("objProgressBar(0)"));
        bool taken = false;
        atYield = [&] {
            if (taken || !bar->isVisible() || Filled(*bar) < 0.3)
                return;
            taken = true;
            Settle();
            Save(window, WithOnTop(window, add, true), folder, "add-files-scanning.png");
            ButtonOf(add, 4)->click();
        };
        subfolders->click();
        atYield = nullptr;
        if (!taken)
            throw std::runtime_error("the scan never showed its progress to take its picture");
        ButtonOf(add, 0)->click();
    });
    window.RunCommand(zv::Command::Add);
}

// The result list's menu with the export, and the export dialog it opens.
void TakeExportPicture(zv::MainWindow& window, zv::ProjectWindow& project, const QString& folder) {
    auto* menu = window.findChild<QMenu*>(QStringLiteral("objResultMenu"));
    const zv::ProjectListView& list = *project.ListView(zv::ProjectList::Results);
    menu->popup(list.viewport()->mapToGlobal(list.RowRect(1).center()));
    menu->setActiveAction(window.MenuItem(zv::menu_k::Export));
    Settle();
    Save(window, WithOnTop(window, *menu, false), folder, "result-menu.png");
    menu->hide();
    WhenModalOpens([&window, &folder](QDialog& dialog) {
        Settle();
        Save(window, WithOnTop(window, dialog, true), folder, "export-dialog.png");
        dialog.reject();
    });
    window.RunCommand(zv::Command::Export);
}

// The program as it starts on a screen of 1024x768, title bar included.
void TakeStartPicture(const QString& folder) {
    zv::MainWindow window;
    window.BuildMenus();
    window.setGeometry(0, 0, 1022, 768 - kTitleBarHeight - 1);
    window.show();
    Settle();
    Save(window, window.grab(), folder, "start-1024x768.png");
}

void TakePictures(const QString& folder, const zv::SampleProjects& samples) {
    TakeStartPicture(folder);
    zv::App().untitledName = zv::ResString(40097);
    zv::App().untitledCounter = 0;
    zv::MainWindow window;
    window.BuildMenus();
    window.resize(1180, 760);
    window.show();
    window.activateWindow();
    Settle();

    zv::ProjectWindow* photos = window.NewProjectWindow();
    photos->LoadProject(samples.photosAndVideos);
    zv::ProjectWindow* music = window.NewProjectWindow();
    music->LoadProject(samples.music);
    // The music project's results behind, the photo project's list in front.
    music->parentWidget()->setGeometry(8, 8, 720, 440);
    photos->parentWidget()->setGeometry(360, 150, 780, 480);
    window.findChild<QMdiArea*>()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow*>(photos->parentWidget()));
    ShowView(*music, zv::ProjectTab::Result, zv::UnitMegabytes, zv::FileNamesOnly);
    ShowView(*photos, zv::ProjectTab::List, zv::UnitMegabytes, zv::FileNamesOnly);
    zv::ProjectListView& list = *photos->ListView(zv::ProjectList::Files);
    list.setCurrentIndex(list.Model().index(3, 0));
    Settle();
    Save(window, window.grab(), folder, "main-window.png");

    photos->parentWidget()->showMaximized();
    ShowView(*photos, zv::ProjectTab::List, zv::UnitBytes, zv::FullPaths);
    Save(window, window.grab(), folder, "list-bytes-full-paths.png");
    ShowView(*photos, zv::ProjectTab::List, zv::UnitMegabytes, zv::FileNamesOnly);
    Save(window, window.grab(), folder, "list-megabytes-file-names.png");
    ShowView(*photos, zv::ProjectTab::Result, zv::UnitMegabytes, zv::FileNamesOnly);
    Save(window, window.grab(), folder, "result-tab.png");
    TakeExportPicture(window, *photos, folder);
    ShowView(*photos, zv::ProjectTab::Info, zv::UnitBytes, zv::FullPaths);
    Save(window, window.grab(), folder, "information-tab.png");

    ShowView(*photos, zv::ProjectTab::List, zv::UnitMegabytes, zv::FullPaths);
    auto* fileMenu = window.findChild<QMenu*>(QStringLiteral("hM(0)"));
    window.menuBar()->setActiveAction(fileMenu->menuAction());
    Settle();
    fileMenu->setActiveAction(window.MenuItem(zv::menu_k::FirstRecent));
    Settle();
    Save(window, WithOnTop(window, *fileMenu, false), folder, "file-menu.png");
    fileMenu->hide();
    Settle();

    window.RunCommand(zv::Command::VersionInformation);
    Settle();
    auto* box = window.findChild<zv::AboutDialog*>();
    Save(window, WithOnTop(window, *box, true), folder, "version-box.png");
    box->close();
    Settle();

    TakeEditingPictures(window, *photos, folder);
    TakeAddPictures(
        window,
        std::filesystem::path(samples.photosAndVideos).parent_path().parent_path() / "サンプル",
        folder);
    TakeRunPictures(
        window, std::filesystem::path(samples.photosAndVideos).parent_path().parent_path(), folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zarvopack_screenshots DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    zv::InstallQtTranslations(app);
    const LoggingUi ui;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir temporary(QDir::temp().filePath(QStringLiteral("zarvopack-XXXXXX")));
    if (!QDir().mkpath(folder) || !temporary.isValid()) {
        std::cerr << "cannot make the folders\n";
        return 1;
    }
    try {
        // The sample program folder with the shipped settings, listing the two
        // projects as recent files.
        zv::SetProgramFolder(temporary.path().toStdString());
        QFile::copy(QStringLiteral(ZV_SHIPPED_SETTINGS),
                    QString::fromStdString(zv::SettingsFilePath()));
        const zv::SampleProjects samples = zv::MakeSampleProjects(temporary.path().toStdString());
        const zv::IniFile settings(zv::SettingsFilePath());
        static_cast<void>(
            settings.Write(zv::settings_keys::kHistory, "0", samples.photosAndVideos));
        static_cast<void>(settings.Write(zv::settings_keys::kHistory, "1", samples.music));
        TakePictures(folder, samples);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
