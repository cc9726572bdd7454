#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/project/Sha256.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

std::string Digest(const std::string& bytes, size_t piece) {
    Sha256 hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.Add(std::string_view(bytes).substr(at, piece));
    return hash.HexDigest();
}

TEST(Sha256Test, KnownVectorsInAnyPieces) {
    const struct {
        std::string bytes;
        const char* hex;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        for (const size_t piece : {size_t{1}, size_t{63}, size_t{64}, size_t{1000}}) {
            EXPECT_EQ(Digest(c.bytes, piece), c.hex) << c.bytes.size() << " in " << piece;
        }
    }
}

// Lengths around the block and padding boundaries, checked against the
// system's own program.
TEST(Sha256Test, FilesHashAsSha256sumDoes) {
    test::TempFolder folder;
    for (const size_t size : {55, 56, 63, 64, 65, 119, 120, 70001}) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i)
            bytes += static_cast<char>(i * 131 % 256);
        const std::string path = folder.File("data");
        test::WriteBytes(path, bytes);
        std::string ours;
        ASSERT_TRUE(HashFile(path, ours));

        FILE* pipe = popen(("sha256sum '" + path + "'").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char theirs[65] = {};
        ASSERT_EQ(fread(theirs, 1, 64, pipe), 64u);
        pclose(pipe);
        EXPECT_EQ(ours, theirs) << size;
    }
    std::string none;
    EXPECT_FALSE(HashFile(folder.File("missing"), none));
}

}  // namespace
}  // namespace zv
