#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/project/DefaultRunSettings.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/AppState.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv::test {

using Texts = std::vector<std::string>;

// The names of a project's items in list order.
inline Texts Names(const ProjectDocument& project) {
    Texts names;
    for (const ItemRecord& item : project.Items())
        names.push_back(item.Name);
    return names;
}

// Projects in a fresh program folder, with real files made on demand and every
// message box answered by the test.
class DocumentTest : public ::testing::Test {
  protected:
    DocumentTest() {
        App() = AppState{App().untitledName};
        // The defaults live as long as the process; each test starts afresh.
        DefaultRunSettings() = RunSettings{};
    }

    FileRef MakeFile(const std::string& name, std::size_t bytes) {
        WriteBytes(folder.File(name), std::string(bytes, 'x'));
        return FileRef::Get(folder.File(name));
    }
    void Add(ProjectDocument& project, std::vector<FileRef> files, const std::string& group = "") {
        ASSERT_TRUE(project.AddFiles(std::move(files), group));
    }

    // The box shown last, which must have been shown with this text.
    void ExpectLastBox(const std::string& text, const std::string& title = "Zarvopack",
                       MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                       int defaultButton = 0) {
        ASSERT_FALSE(ui.Boxes().empty());
        ExpectBox(ui.Boxes().back(), text, title, buttons, icon, defaultButton);
    }

    TempFolder folder;
    ScriptedUi ui;
};

}  // namespace zv::test
