// ScoreList: the ten best runs, held in memory and kept in the profile's
// "score.bin". The InterfaceManager owns the program's one list; the score
// state inserts into it.
//
// The file has no header: ten records back to back, best first, each the
// name's length N (int32), N name bytes, then kills, damage received and
// accuracy (uint32), all little-endian. A file that is short, holds a name
// longer than 64 bytes or an accuracy above 100, or cannot be read is set
// aside as "score.bin.bad" and the default table takes its place, with one
// logged error. Saving replaces the file atomically; a failed save is logged
// and the table in memory stays.
//
// Main thread only. Never throws for bad files; logs through the System.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct ScoreEntry {
    std::string name;             // as typed, bytes as they are
    uint32_t kills = 0;           // the sort key
    uint32_t accuracy = 0;        // shots hit per hundred fired, 0..100
    uint32_t damageReceived = 0;  // shield and armor together

    bool operator==(const ScoreEntry& other) const {
        return name == other.name && kills == other.kills && accuracy == other.accuracy &&
               damageReceived == other.damageReceived;
    }
};

class ScoreList {
public:
    static constexpr const char* kFileName = "score.bin";
    static constexpr const char* kSetAsideSuffix = ".bad";
    static constexpr std::size_t kEntryCount = 10;
    static constexpr std::size_t kMaxNameLength = 64;
    static constexpr uint32_t kMaxAccuracy = 100;  // percent

    // The profile's score file, read or made at once (Init). With no
    // profile folder (start-up has warned) the defaults stay in memory.
    ScoreList();
    // The file at path (a test's folder); an empty path keeps the table in
    // memory only.
    explicit ScoreList(std::string path);

    // Reads the file; a missing one is made with the default table, a
    // corrupt one is set aside first. Afterwards entries holds ten entries.
    void Init();
    // Reads path into entries and sorts them. False with a reason when the
    // file cannot be opened or is corrupt; entries are then unspecified.
    bool Load(std::string& reason);
    // Exactly ten records from `in`, in file order; bytes after the tenth
    // are not read. False with a reason at the first read that fails.
    bool ReadEntries(std::istream& in, std::string& reason);
    // Sorts, keeps the first ten and replaces the file with them. False,
    // with an error logged, when the file could not be written; the old file
    // then stays as it was. True without writing when path is empty.
    bool Save();
    // Every entry in order; a failed write shows in the stream's state.
    void WriteEntries(std::ostream& out) const;
    // By kills, greatest first; equal kills keep their order.
    void Sort();

    // Whether a run with this many kills beats the tenth entry.
    bool Qualifies(uint32_t kills) const;
    // Appends the entry, its name cut to 64 bytes, and saves (so it goes
    // below its equals and the former tenth drops out). False when the save
    // failed.
    bool Insert(const ScoreEntry& entry);

    // The table used when there is no file: ten names, 30 to 75 kills.
    static std::vector<ScoreEntry> DefaultEntries();

    std::vector<ScoreEntry> entries;
    std::string path;

private:
    // Renames the unreadable file aside, takes the defaults and saves them.
    void ReplaceCorruptFile(const std::string& reason);
};
