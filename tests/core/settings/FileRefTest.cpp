#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/FileRef.h"
#include "core/settings/FileSystem.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using test::ErrorNumber;

TEST(FileRefTest, ReadsTheSizeAfreshAndRemembersTheLastOneWhenTheFileGoes) {
    test::TempFolder folder;
    const std::string path = folder.File("a.txt");
    test::WriteBytes(path, "12345");
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    const FileRef file = FileRef::Get("a.txt");
    fs::current_path(before);
    EXPECT_EQ(file.Path(), path);
    EXPECT_EQ(file.Name(), "a.txt");

    test::WriteBytes(path, "1234567");
    EXPECT_EQ(file.Size(), 7);
    fs::remove(path);
    EXPECT_EQ(ErrorNumber([&] { file.Size(); }), 53);
    EXPECT_EQ(file.LastKnownSize(), 7);
    EXPECT_EQ(ErrorNumber([&] { FileRef::Get(path); }), 53);
    EXPECT_EQ(ErrorNumber([&] { FileRef::Get(folder.Path()); }), 53) << "a folder is no file";
    EXPECT_EQ(ErrorNumber([] { FileRef().Size(); }), 53);
}

TEST(FileSystemTest, AFolderIsNoFile) {
    test::TempFolder folder;
    const std::string file = folder.File("f.bin");
    const std::string empty = folder.File("empty");
    test::WriteBytes(file, "x");
    fs::create_directory(empty);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(empty));
    EXPECT_TRUE(FolderExists(empty));
    EXPECT_FALSE(FolderExists(file));

    EXPECT_EQ(ErrorNumber([&] { DeleteFile(empty); }), 53);
    EXPECT_TRUE(fs::exists(empty));
    DeleteFile(file);
    EXPECT_EQ(ErrorNumber([&] { DeleteFile(file); }), 53);
}

}  // namespace
}  // namespace zv
