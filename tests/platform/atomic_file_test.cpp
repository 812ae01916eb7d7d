// Replacing a file atomically: the new bytes arrive whole, and a write that
// cannot happen leaves the old file as it was and no temporary behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/atomic_file.h"
#include "platform/file_bytes.h"
#include "support/temp_folder.h"

namespace {

std::string ReadBack(const std::string& path) {
    std::string bytes, problem;
    EXPECT_TRUE(platform::ReadFileBytes(path, 1 << 20, bytes, problem)) << problem;
    return bytes;
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

TEST(AtomicFileTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
    test_support::TempFolder folder;
    const std::string path = folder.Path() + "/score.bin";
    std::string reason;
    ASSERT_TRUE(platform::WriteFileAtomically(path, std::string(5000, 'a'), reason)) << reason;
    ASSERT_TRUE(platform::WriteFileAtomically(path, std::string("b\0c", 3), reason)) << reason;
    EXPECT_EQ(ReadBack(path), std::string("b\0c", 3));
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST(AtomicFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    test_support::TempFolder folder;
    const std::string path = folder.Path() + "/settings.xml";
    std::string reason;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "old", reason));
    // A folder where the temporary file goes: root cannot write there either.
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    EXPECT_FALSE(platform::WriteFileAtomically(path, "new", reason));
    EXPECT_NE(reason.find(path + ".tmp"), std::string::npos) << reason;
    EXPECT_EQ(ReadBack(path), "old");

    EXPECT_FALSE(platform::WriteFileAtomically(folder.Path() + "/missing/x.bin", "new", reason));
    EXPECT_FALSE(Exists(folder.Path() + "/missing"));
}

}  // namespace
