#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <string>

namespace zv::test {

// Runs the command-line tool in `folder`; it must succeed.
inline void RunTool(const std::string& folder, const QStringList& arguments) {
    QProcess tool;
    tool.setWorkingDirectory(QString::fromStdString(folder));
    tool.start(QStringLiteral(ZARVOPACK_CLI), arguments);
    ASSERT_TRUE(tool.waitForFinished(-1));
    ASSERT_EQ(tool.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

// Plans with the tool in `folder`, medium after medium on media of `mediaSize`
// bytes without tolerance, and saves the project, also one with unplaced
// items; `more` holds further options and the files.
inline void PlanWithTool(const std::string& folder, const std::string& project, int mediaSize,
                         const QStringList& more) {
    RunTool(folder, QStringList{"plan", "--media-size", QString::number(mediaSize), "--tolerance",
                                "0", "--method", "sequential", "--fs-allowance", "none",
                                "--allow-unplaced", "--save", QString::fromStdString(project)} +
                        more);
}

}  // namespace zv::test
