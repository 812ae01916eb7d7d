// The score file: its exact bytes, the default table, bounded reading of
// damaged files (set aside, defaults, one error), a seeded fuzz, saves that
// fail without harm, and saves cut short by a killed process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <sstream>
#include <thread>

#include "interface/score_list.h"
#include "platform/profile.h"
#include "support/game_process.h"
#include "support/log_capture.h"
#include "support/mutation.h"
#include "support/temp_folder.h"

namespace {

using test_support::ReadFile;

constexpr const char* kWriterVariable = "QUELL_SCORE_WRITER";

std::string Word(uint32_t value) {
    return {char(value & 0xFF), char(value >> 8 & 0xFF), char(value >> 16 & 0xFF), char(value >> 24 & 0xFF)};
}

// One record as the file holds it: length, name, kills, damage, accuracy.
std::string Record(const std::string& name, uint32_t kills, uint32_t damage, uint32_t accuracy) {
    return Word(uint32_t(name.size())) + name + Word(kills) + Word(damage) + Word(accuracy);
}

std::string Records(int count, uint32_t firstKills = 90) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += Record("R" + std::to_string(i), firstKills - i, 7, 8);
    return bytes;
}

std::string DefaultBytes() {
    std::string bytes;
    const std::vector<ScoreEntry> defaults = ScoreList::DefaultEntries();
    for (int i = 9; i >= 0; --i) bytes += Record(defaults[i].name, 30 + 5 * i, 50 + 5 * i, 30 + 5 * i);
    return bytes;
}

// Where the first record of the default file keeps its accuracy.
std::size_t FirstAccuracyOffset() { return 4 + ScoreList::DefaultEntries().back().name.size() + 8; }

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// A table that differs from another in every record, for the writer child.
// Its accuracies stay within 0..100: a larger one would make the child's own
// start find the file damaged and set it aside.
std::vector<ScoreEntry> Table(uint32_t base) {
    std::vector<ScoreEntry> table;
    for (uint32_t i = 0; i < 10; ++i) table.push_back({"W" + std::to_string(base + i), base - i, base / 10, i});
    return table;
}

std::string Bytes(const std::vector<ScoreEntry>& table) {
    ScoreList list("");
    list.entries = table;
    std::ostringstream out;
    list.WriteEntries(out);
    return out.str();
}

// Started as its own child by the atomicity test: saves two tables in turn
// until it is killed.
[[noreturn]] void RunScoreWriter(const std::string& path) {
    ScoreList list(path);
    for (bool first = true;; first = !first) {
        list.entries = Table(first ? 500 : 900);
        list.Save();
        std::printf("saved\n");
        std::fflush(stdout);
    }
}

[[maybe_unused]] const bool kIsWriterChild = [] {
    if (const char* path = std::getenv(kWriterVariable)) RunScoreWriter(path);
    return false;
}();

class ScoreFile : public ::testing::Test {
protected:
    test_support::TempFolder folder;
    const std::string path = folder.Path() + "/score.bin";
    test_support::LogCapture log;
};

TEST_F(ScoreFile, AMissingFileIsMadeWithTheDefaultTableByteForByte) {
    ScoreList list(path);
    EXPECT_EQ(ReadFile(path), DefaultBytes());
    ASSERT_EQ(list.entries.size(), 10u);
    EXPECT_EQ(list.entries.front(), (ScoreEntry{list.entries.front().name, 75, 75, 95}));
    EXPECT_EQ(list.entries.back(), (ScoreEntry{list.entries.back().name, 30, 30, 50}));
    for (const ScoreEntry& entry : list.entries) {
        EXPECT_FALSE(entry.name.empty());
        EXPECT_LE(entry.name.size(), 10u);
        for (char c : entry.name) EXPECT_TRUE(c > ' ' && c < 127) << entry.name;
    }
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
}

TEST_F(ScoreFile, RecordsHoldLengthNameKillsDamageAccuracy) {
    ScoreList list("");
    list.entries = {{"Anna", 75, 75, 95}, {"", 3, 2, 1}};
    std::ostringstream out;
    list.WriteEntries(out);
    const unsigned char anna[] = {0x04, 0x00, 0x00, 0x00, 0x41, 0x6E, 0x6E, 0x61, 0x4B, 0x00,
                                  0x00, 0x00, 0x5F, 0x00, 0x00, 0x00, 0x4B, 0x00, 0x00, 0x00};
    const std::string expected = std::string(reinterpret_cast<const char*>(anna), sizeof anna) + Record("", 3, 1, 2);
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(out.str().size(), 20u + 16u);
}

TEST_F(ScoreFile, ReadsTenRecordsSortedAndNoMore) {
    // Eleven records, out of order, one name of the full 64 bytes and the
    // full accuracy.
    std::string bytes = Record(std::string(64, 'x'), 5, 1, 100) + Records(9, 90) + Record("Eleventh", 99, 1, 1);
    folder.WriteFile("score.bin", bytes);
    ScoreList list(path);
    ASSERT_EQ(list.entries.size(), 10u);
    EXPECT_EQ(list.entries[0].name, "R0");
    EXPECT_EQ(list.entries[9], (ScoreEntry{std::string(64, 'x'), 5, 100, 1}));
    EXPECT_EQ(ReadFile(path), bytes) << "reading alone rewrites nothing";
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(ReadFile(path), Records(9, 90) + Record(std::string(64, 'x'), 5, 1, 100));

    // A name longer than the reader takes is cut, not left to spoil the file.
    ASSERT_TRUE(list.Insert({std::string(100, 'y'), 95, 1, 1}));
    EXPECT_EQ(list.entries[0].name, std::string(64, 'y'));
    EXPECT_EQ(ScoreList(path).entries, list.entries);
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
}

TEST_F(ScoreFile, DamagedFilesAreSetAsideAndTheDefaultsTakeTheirPlace) {
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "ends inside record 1"},
        {"three bytes", "\x01\x02\x03", "ends inside record 1"},
        {"length 0xFFFFFFFF", Word(0xFFFFFFFFu) + Records(10), "record 1 of 10 has a name length"},
        {"length 65", Records(3) + Word(65) + std::string(65, 'n') + Word(1) + Word(2) + Word(3) + Records(6),
         "record 4 of 10 has a name length"},
        {"nine records", Records(9), "ends inside record 10"},
        {"cut in a name", Records(9) + Word(4) + "An", "ends inside record 10"},
        {"accuracy 101", Records(2) + Record("Ace", 80, 7, 101) + Records(7), "record 3 of 10 has an accuracy of 101"},
        {"default table, accuracy 1000", DefaultBytes().replace(FirstAccuracyOffset(), 4, Word(1000)),
         "record 1 of 10 has an accuracy of 1000, above 100"},
        {"accuracy -1", Records(9) + Record("Neg", 1, 7, 0xFFFFFFFFu), "record 10 of 10 has an accuracy of 4294967295"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.WriteFile("score.bin.bad", "an older damaged file");
        folder.WriteFile("score.bin", c.bytes);
        log.Restart();
        ScoreList list(path);
        EXPECT_EQ(ReadFile(path + ".bad"), c.bytes);
        EXPECT_EQ(ReadFile(path), DefaultBytes());
        EXPECT_EQ(list.entries, ScoreList("").entries);
        EXPECT_EQ(log.Count("ERROR"), 1) << log.Text();
        EXPECT_TRUE(log.Has(path)) << log.Text();
        EXPECT_TRUE(log.Has(c.reason)) << log.Text();
    }
}

TEST_F(ScoreFile, MutatedFilesNeverLeaveADamagedTable) {
    std::mt19937 rng(29);
    const std::string good = Records(10);
    for (int round = 0; round < 400; ++round) {
        const std::string bytes = test_support::Mutate(good, rng);
        folder.WriteFile("score.bin", bytes);
        ::unlink((path + ".bad").c_str());
        log.Restart();
        ScoreList list(path);
        ASSERT_EQ(list.entries.size(), 10u) << "round " << round;
        for (size_t i = 1; i < 10; ++i) ASSERT_GE(list.entries[i - 1].kills, list.entries[i].kills);
        for (const ScoreEntry& entry : list.entries) ASSERT_LE(entry.accuracy, ScoreList::kMaxAccuracy);
        const bool rejected = log.Count("ERROR") == 1;
        ASSERT_EQ(rejected, Exists(path + ".bad")) << "round " << round << log.Text();
        if (rejected) {
            ASSERT_EQ(ReadFile(path + ".bad"), bytes);
            ASSERT_EQ(ReadFile(path), DefaultBytes());
        } else {
            ASSERT_EQ(ReadFile(path), bytes) << "a readable file is left as it is";
        }
    }
}

TEST_F(ScoreFile, AFailedSaveIsLoggedAndKeepsTheOldFileAndTheNewEntry) {
    ScoreList list(path);
    const std::string before = ReadFile(path);
    // A folder where the temporary file goes: not even root writes there.
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    log.Restart();
    EXPECT_FALSE(list.Insert({"Zed", 80, 50, 10}));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(list.entries.front().name, "Zed");
    EXPECT_EQ(list.entries.size(), 10u);
    EXPECT_EQ(log.Count("ERROR"), 1) << log.Text();
    EXPECT_TRUE(log.Has(path + " (")) << log.Text();
    EXPECT_TRUE(log.Has("Is a directory")) << log.Text();
}

TEST_F(ScoreFile, WithoutAProfileFolderTheTableStaysInMemoryWithOneWarning) {
    test_support::TempProfile profile;
    const std::string missing = profile.Path() + "/gone";
    setenv("UserProfile", missing.c_str(), 1);
    log.Restart();
    // Start-up's order: the profile folder, then the interface's list.
    Module<System>::Instance()->MakeDir(platform::kProfileFolderName);
    ScoreList list;
    EXPECT_EQ(list.entries, ScoreList("").entries);
    EXPECT_TRUE(list.path.empty());
    EXPECT_TRUE(list.Insert({"Zed", 80, 50, 10}));
    EXPECT_EQ(list.entries.front().name, "Zed");
    EXPECT_EQ(log.Count("WARNING"), 1) << log.Text();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_FALSE(Exists(missing));

    setenv("UserProfile", profile.Path().c_str(), 1);
    Module<System>::Instance()->MakeDir(platform::kProfileFolderName);
    EXPECT_EQ(ScoreList().path, profile.Path() + "/The Quellbrand/score.bin");
    EXPECT_EQ(ReadFile(profile.Path() + "/The Quellbrand/score.bin"), DefaultBytes());
}

TEST_F(ScoreFile, AProcessKilledWhileSavingLeavesOneWholeTable) {
    const std::string first = Bytes(Table(500)), second = Bytes(Table(900));
    folder.WriteFile("score.bin", first);
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    std::mt19937 rng(2029);
    for (int run = 0; run < 20; ++run) {
        test_support::GameProcess writer(self, folder.Path(), {{kWriterVariable, path}}, folder.Path());
        ASSERT_TRUE(writer.WaitForOutput("saved", 30.0)) << writer.StandardError();
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<>(0, 20000)(rng)));
        writer.Kill();
        ASSERT_TRUE(writer.WaitForExit(10.0).has_value());
        const std::string bytes = ReadFile(path);
        ASSERT_TRUE(bytes == first || bytes == second) << "run " << run << ": " << bytes.size() << " bytes";
    }
}

}  // namespace
