#pragma once

#include <QStringList>
#include <memory>

namespace zv {

class SingleInstance;
class MainWindow;

// The program's start: when another copy already runs, hands it the files to
// open, or, with none or when it does not take them, tells the user that it
// runs; either way gives no window. Otherwise sets up the shared state, loads
// the main window with its menus, shows it and opens the files, as well as
// those that later copies hand over. Message boxes go through the services
// the caller installed.
std::unique_ptr<MainWindow> StartUp(SingleInstance& instance, const QStringList& files = {});

// The files named on a command line (the arguments after the program's name),
// as absolute paths: a later copy may have been started in another folder.
QStringList FilesToOpen(const QStringList& arguments);

}  // namespace zv
