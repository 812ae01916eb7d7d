// Replacing a file atomically: the new bytes arrive whole, and a write that
// cannot happen leaves the old file as it was and no temporary behind.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/file_bytes.h"
#include "support/temp_folder.h"

namespace {

// The calls to fsync and rename on files in `watched`, in order, named
// relative to it: "sync <file> <size synced>", "rename <from> <to>".
std::string watched;
std::vector<std::string> noted;

std::string Watched(const std::string& path) {
    if (watched.empty() || path.compare(0, watched.size(), watched) != 0) return std::string();
    return path.substr(watched.size());
}

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

// The test program's own fsync and rename come before the C library's in
// symbol lookup: they note each call on a watched file and pass it on.
extern "C" int fsync(int fd) {
    static const auto real = Next<int (*)(int)>("fsync");
    char path[PATH_MAX] = {};
    const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
    struct stat info;
    const std::string name = length > 0 ? Watched(path) : std::string();
    if (!name.empty() && ::fstat(fd, &info) == 0) noted.push_back("sync " + name + " " + std::to_string(info.st_size));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real = Next<int (*)(const char*, const char*)>("rename");
    if (!Watched(from).empty()) noted.push_back("rename " + Watched(from) + " " + Watched(to));
    return real(from, to);
}

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

// A crash just after the rename must find the new bytes on the disk: the
// temporary file is synced whole before it takes the file's name.
TEST(AtomicFileTest, TheWholeTemporaryIsSyncedBeforeItIsRenamedOverTheFile) {
    test_support::TempFolder folder;
    char real[PATH_MAX];
    ASSERT_NE(::realpath(folder.Path().c_str(), real), nullptr);
    watched = std::string(real) + "/";
    noted.clear();
    std::string reason;
    EXPECT_TRUE(platform::WriteFileAtomically(watched + "settings.xml", std::string(5000, 'a'), reason)) << reason;
    watched.clear();
    EXPECT_EQ(noted, (std::vector<std::string>{"sync settings.xml.tmp 5000", "rename settings.xml.tmp settings.xml"}));
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
