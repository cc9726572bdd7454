#include "desktop/mainwindow/ShellCommands.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/ExportRequest.h"
#include "core/project/ProjectFile.h"
#include "core/project/SaveProject.h"
#include "core/settings/AppState.h"
#include "core/settings/ConfirmClearResults.h"
#include "core/settings/DialogFolder.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/AboutDialog.h"
#include "desktop/dialogs/AddFilesDialog.h"
#include "desktop/dialogs/ExportDialog.h"
#include "desktop/dialogs/ExportProgressWindow.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/mainwindow/RecentFiles.h"
#include "desktop/mainwindow/RunController.h"
#include "desktop/platform/WaitCursor.h"
#include "desktop/projectwindow/ProjectWindow.h"

namespace zv {

namespace {

constexpr const char* kSupportPage = "https://zarvopack.example.org/support";

// Whether the file holds a project at all; a project whose contents are broken
// still counts, so that loading it reports what is wrong.
bool OpensAsProject(const std::string& path) {
    try {
        return ProjectFile::Read(path, RunSettings()).has_value();
    } catch (const PlatformError&) {
        return true;
    }
}

}  // namespace

ShellCommands::ShellCommands(MainWindow& window) : window_(window) {}

ShellCommands::~ShellCommands() = default;

void ShellCommands::Run(Command command, int argument) {
    try {
        Dispatch(command, argument);
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

void ShellCommands::OpenFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        try {
            OpenPath(path);
        } catch (const PlatformError& error) {
            ShowError(error);
        }
    }
}

void ShellCommands::Dispatch(Command command, int argument) {
    switch (command) {
        case Command::New:
            New();
            return;
        case Command::Open:
            Open();
            return;
        case Command::RecentFile:
            if (const auto path = RecentFilePath(argument))
                OpenPath(*path);
            return;
        case Command::Close:
            Close(false);
            return;
        case Command::CloseAll:
            Close(true);
            return;
        case Command::Exit:
            Exit();
            return;
        case Command::SupportPage:
            OpenOrReport(kSupportPage);
            return;
        case Command::VersionInformation:
            ShowVersion();
            return;
        case Command::Pause:
            if (runDialog_)
                runDialog_->TogglePause();
            return;
        case Command::Stop:
            if (runDialog_)
                runDialog_->RequestAbort();
            return;
        default:
            break;
    }

    ProjectWindow* project = window_.ActiveProject();
    if (project == nullptr)
        return;
    switch (command) {
        case Command::Save:
            Save(*project, kSaveToPath);
            return;
        case Command::SaveAs:
            Save(*project, kSaveAs);
            return;
        case Command::Export:
            Export(*project);
            return;
        case Command::ShowTab:
            project->SelectTab(static_cast<ProjectTab>(argument));
            return;
        case Command::ToggleTab:
            ToggleTab(*project, static_cast<ProjectTab>(argument));
            return;
        case Command::SizeUnit:
            project->SetSizeUnit(static_cast<SizeUnit>(argument));
            return;
        case Command::PathMode:
            project->SetPathMode(static_cast<PathMode>(argument));
            return;
        case Command::Add:
            Add(*project);
            return;
        case Command::Delete:
            project->RunEditCommand(EditCommand::Delete);
            return;
        case Command::Cut:
            project->RunEditCommand(EditCommand::Cut);
            return;
        case Command::Paste:
            project->RunEditCommand(EditCommand::Paste);
            return;
        case Command::MakeGroup:
            project->RunEditCommand(EditCommand::MakeGroup);
            return;
        case Command::ReleaseGroup:
            project->RunEditCommand(EditCommand::ReleaseGroup);
            return;
        case Command::Rename:
            project->RunEditCommand(EditCommand::Rename);
            return;
        case Command::Undo:
            project->StepThroughEdits(true);
            return;
        case Command::Redo:
            project->StepThroughEdits(false);
            return;
        case Command::Run:
            StartRun(*project);
            return;
        case Command::RunOptions:
            ShowRunSettings(*project);
            return;
        default:
            return;
    }
}

void ShellCommands::New() {
    window_.NewProjectWindow()->SelectTab(ProjectTab::List);
}

void ShellCommands::Open() {
    const FileDialogRequest request{ResString(text_id::ProjectFilesFilter) + "(*.mtb)|*.mtb|" +
                                        ResString(text_id::AllFilesFilter) + "(*.*)|*.*",
                                    ExeBaseName() + ResString(text_id::OpenTitleTail),
                                    DialogStartFolder(CurrentProjectPath())};
    const std::optional<std::string> path = Ui().OpenFileDialog(request);
    if (!path)
        return;
    RememberDialogFolder(*path);
    OpenPath(*path);
}

void ShellCommands::OpenPath(const std::string& path) {
    ProjectWindow* made = nullptr;
    try {
        if (!FileExists(path)) {
            ShowMessage(ResString(text_id::ListedFileNotFound));
            return;
        }
        if (!OpensAsProject(path)) {
            ShowMessage(ResString(text_id::NotAProjectFile));
            return;
        }
        // A second window on the same file would let two saves overwrite
        // each other's work.
        if (ProjectWindow* holding = WindowHolding(path)) {
            Activate(*holding);
            Remember(path);
            return;
        }
        // Only a window that holds nothing yet takes the file; any other
        // keeps its project, saved or not, and the file gets a window of
        // its own.
        ProjectWindow* target = window_.ActiveProject();
        if (target == nullptr || !HoldsNothing(*target))
            target = made = window_.NewProjectWindow();
        target->show();
        bool loaded = false;
        {
            WaitCursor wait(&window_);
            loaded = target->LoadProject(path);
        }
        if (loaded) {
            made = nullptr;
            Remember(path);
            target->SelectTab(ProjectTab::List);
        }
    } catch (const PlatformError& error) {
        ShowMessage(error.Description(), ExeBaseName() + ResString(text_id::ErrorTitle) +
                                             std::to_string(error.Number()));
    }
    // A window made for a file that did not open would only stand empty.
    if (made != nullptr)
        static_cast<void>(window_.CloseProjectWindow(*made));
}

ProjectWindow* ShellCommands::WindowHolding(const std::string& path) const {
    // The frame's list, as the window count, leaves out windows being closed.
    for (const QMdiSubWindow* frame : window_.findChild<QMdiArea*>()->subWindowList()) {
        auto* project = qobject_cast<ProjectWindow*>(frame->widget());
        if (project == nullptr)
            continue;
        const std::string& held = project->Document().FilePath();
        std::error_code error;
        if (!held.empty() && (held == path || std::filesystem::equivalent(held, path, error)))
            return project;
    }
    return nullptr;
}

bool ShellCommands::HoldsNothing(const ProjectWindow& project) {
    const ProjectDocument& document = project.Document();
    return document.FilePath().empty() && document.IsEmpty() && !document.Modified();
}

void ShellCommands::Activate(ProjectWindow& project) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(project.parentWidget()))
        frame->mdiArea()->setActiveSubWindow(frame);
}

void ShellCommands::Close(bool all) {
    // A refused or cancelled close stops closing the others.
    for (;;) {
        ProjectWindow* project = window_.ActiveProject();
        if (project == nullptr || !window_.CloseProjectWindow(*project) || !all)
            return;
    }
}

void ShellCommands::Remember(const std::string& path) {
    RememberRecentFile(path);
    window_.ShowRecentFiles();
}

std::string ShellCommands::CurrentProjectPath() const {
    const ProjectWindow* project = window_.ActiveProject();
    return project == nullptr ? std::string() : project->Document().FilePath();
}

void ShellCommands::Save(ProjectWindow& project, int16_t mode) {
    if (project.SaveProject(mode, false))
        Remember(project.Document().FilePath());
    const std::string group = project.GetOpenGroup();
    project.RenderList(ProjectList::Files, group, 0);
    if (project.CurrentTab() == ProjectTab::Result)
        project.RenderList(ProjectList::Results, group, project.ChosenMedium());
}

void ShellCommands::Export(ProjectWindow& project) {
    if (!project.HasResults())
        return;
    const std::optional<ExportRequest> request =
        ExportDialog::Ask(&window_, DialogStartFolder(project.Document().FilePath()));
    if (!request)
        return;
    // Remembered as the folder of a file in it: the chosen folder itself.
    RememberDialogFolder((std::filesystem::path(request->folder) / "").string());
    ExportProgressWindow progress(&window_);
    ExportResults(project.Document(), *request, &progress);
}

void ShellCommands::Exit() {
    // The program ends only when the main window really closed: a project
    // window may keep it open, and so does a run in progress.
    if (window_.close())
        QCoreApplication::quit();
}

void ShellCommands::ToggleTab(ProjectWindow& project, ProjectTab tab) {
    const bool visible = !project.IsTabVisible(tab);
    project.SetTabVisible(tab, visible);
    if (visible) {
        project.SelectTab(tab);
        Ui().YieldNow();
    }
}

void ShellCommands::Add(ProjectWindow& project) {
    if (project.HasResults()) {
        if (!ConfirmClearResults())
            return;
        project.ClearResults();
    }
    project.ClearCutMarks();
    AddFilesDialog dialog(
        &window_,
        AddTarget{&project, &project.Document(), [&project](const std::string& openGroup) {
                      project.Document().RecordEdit();
                      project.RenderList(ProjectList::Files, openGroup, 0);
                  }});
    dialog.exec();
}

void ShellCommands::StartRun(ProjectWindow& project) {
    // A paused run is taken up again through the run dialog; no second run
    // starts while one is going, nor while one is still being set up.
    if (App().running || runDialog_) {
        if (runDialog_ && runDialog_->IsPaused())
            runDialog_->TogglePause();
        return;
    }
    if (project.HasResults()) {
        if (!ConfirmClearResults())
            return;
        project.ClearResults();
    }
    auto* run = new RunController(window_, project, runDialog_);
    QObject::connect(run, &RunController::Ended, &window_, [this] {
        if (window_.TakeQuitAfterRun())
            Exit();
    });
    run->Start();
}

void ShellCommands::ShowRunSettings(ProjectWindow& project) {
    RunSettingsDialog dialog(&window_, project.Document());
    dialog.exec();
}

void ShellCommands::ShowVersion() {
    if (version_ == nullptr)
        version_ = new AboutDialog(&window_);
    version_->show();
    version_->raise();
    version_->activateWindow();
}

}  // namespace zv
