// Takes pictures of the desktop program's real windows holding sample
// projects, for the documentation: zarvopack_screenshots DIR writes PNG files
// into DIR. Meant for the offscreen platform, where nothing shows on a screen.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <iostream>
#include <stdexcept>

#include "dialogs/frmVersion.h"
#include "document/frmNested.h"
#include "platform/UiServices.h"
#include "resources/StringTable.h"
#include "shell/AppState.h"
#include "shell/IniAccess.h"
#include "shell/ProgramPaths.h"
#include "shell/mdiMain.h"
#include "shell/screenshots/SampleProjects.h"

namespace {

// Nobody is there to answer: every box goes to standard error and is answered
// with its default button.
class LoggingUi : public zv::UiServices {
  public:
    LoggingUi() { zv::SetUi(this); }
    ~LoggingUi() override { zv::SetUi(nullptr); }

    zv::MsgResult MessageBox(const zv::MessageBoxRequest& request) override {
        std::cerr << "message box: " << request.text << '\n';
        return zv::DefaultAnswer(request.buttons, request.defaultButton);
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const zv::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const zv::FileDialogRequest&) override {
        return std::nullopt;
    }
    bool OpenWithAssociatedProgram(const std::string&) override { return false; }
    void Yield() override {}
    void YieldNow() override { QCoreApplication::processEvents(); }
};

constexpr int kTitleBarHeight = 30;

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
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

void ShowView(zv::frmNested& project, int tab, int16_t unit, int16_t pathMode) {
    project.SetSizeUnit(unit);
    project.SetPathMode(pathMode);
    project.SelectTab(tab);
    Settle();
}

void TakePictures(const QString& folder, const zv::SampleProjects& samples) {
    zv::App().untitledName = zv::ResString(40097);
    zv::App().untitledCounter = 0;
    zv::mdiMain window;
    window.BuildMenus();
    window.resize(1180, 760);
    window.show();
    window.activateWindow();
    Settle();

    zv::frmNested* photos = window.NewProjectWindow();
    photos->LoadProject(samples.photosAndVideos);
    zv::frmNested* music = window.NewProjectWindow();
    music->LoadProject(samples.music);
    // The music project's results behind, the photo project's list in front.
    music->parentWidget()->setGeometry(8, 8, 720, 440);
    photos->parentWidget()->setGeometry(360, 150, 780, 480);
    window.findChild<QMdiArea*>()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow*>(photos->parentWidget()));
    ShowView(*music, 1, 1, 1);
    ShowView(*photos, 0, 1, 1);
    photos->ListView(0)->setCurrentItem(photos->ListView(0)->topLevelItem(3));
    Settle();
    Save(window, window.grab(), folder, "main-window.png");

    photos->parentWidget()->showMaximized();
    ShowView(*photos, 0, 3, 0);
    Save(window, window.grab(), folder, "list-bytes-full-paths.png");
    ShowView(*photos, 0, 1, 1);
    Save(window, window.grab(), folder, "list-megabytes-file-names.png");
    ShowView(*photos, 1, 1, 1);
    Save(window, window.grab(), folder, "result-tab.png");
    ShowView(*photos, 2, 3, 0);
    Save(window, window.grab(), folder, "information-tab.png");

    ShowView(*photos, 0, 1, 0);
    auto* fileMenu = window.findChild<QMenu*>(QStringLiteral("hM(0)"));
    window.menuBar()->setActiveAction(fileMenu->menuAction());
    Settle();
    fileMenu->setActiveAction(window.MenuItem(11));
    Settle();
    Save(window, WithOnTop(window, *fileMenu, false), folder, "file-menu.png");
    fileMenu->hide();
    Settle();

    window.RunCommand(zv::Command::VersionInformation);
    Settle();
    auto* box = window.findChild<zv::frmVersion*>();
    Save(window, WithOnTop(window, *box, true), folder, "version-box.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zarvopack_screenshots DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
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
        std::string photos = samples.photosAndVideos;
        std::string music = samples.music;
        zv::IniAccess(zv::IniWrite, "History", "0", photos, zv::SettingsFilePath());
        zv::IniAccess(zv::IniWrite, "History", "1", music, zv::SettingsFilePath());
        TakePictures(folder, samples);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
