#pragma once

#include <memory>

namespace zv {

class SingleInstance;
class MainWindow;

// The program's start: when another copy already runs, tells the user so and
// gives no window; otherwise sets up the shared state, loads the main window
// with its menus and shows it. Message boxes go through the services the
// caller installed.
std::unique_ptr<MainWindow> StartUp(SingleInstance& instance);

}  // namespace zv
