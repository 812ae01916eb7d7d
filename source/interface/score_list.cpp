#include "interface/score_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/profile.h"
#include "resource_manager/binary_stream.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

constexpr const char* kDefaultNames[ScoreList::kEntryCount] = {"Mira", "Tobias", "Ines",  "Jonas", "Lena",
                                                               "Felix", "Nora",  "Elias", "Clara", "Paul"};

// The profile's score file, or "" when there is no profile folder to keep
// it in. Start-up has warned about that folder already (System::MakeDir), so
// this is only a note.
std::string ProfileScorePath() {
    const std::string folder = platform::ProfileFolder();
    if (!folder.empty() && platform::IsFolder(folder)) return platform::ProfileFilePath(ScoreList::kFileName);
    Sys().Log("No profile folder" + (folder.empty() ? std::string() : " " + folder) +
              ": the high scores are kept in memory only");
    return std::string();
}

std::string RecordText(std::size_t index) {
    return "record " + std::to_string(index + 1) + " of " + std::to_string(ScoreList::kEntryCount);
}

}  // namespace

ScoreList::ScoreList() : ScoreList(ProfileScorePath()) {}

ScoreList::ScoreList(std::string path) : path(std::move(path)) { Init(); }

void ScoreList::Init() {
    if (path.empty()) {
        entries = DefaultEntries();
        Sort();
        return;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        entries = DefaultEntries();
        Save();
        return;
    }
    std::string reason;
    if (!Load(reason)) ReplaceCorruptFile(reason);
}

bool ScoreList::Load(std::string& reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = "cannot open the file";
        return false;
    }
    if (!ReadEntries(in, reason)) return false;
    Sort();
    return true;
}

bool ScoreList::ReadEntries(std::istream& in, std::string& reason) {
    entries.resize(kEntryCount);
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        ScoreEntry& entry = entries[i];
        if (!ReadString(in, entry.name, kMaxNameLength)) {
            // ReadString leaves the stream good when it refused the length.
            reason = in ? RecordText(i) + " has a name length outside 0.." + std::to_string(kMaxNameLength)
                        : "the file ends inside " + RecordText(i);
            return false;
        }
        int32_t kills = 0, damage = 0, accuracy = 0;
        if (!ReadInt(in, kills) || !ReadInt(in, damage) || !ReadInt(in, accuracy)) {
            reason = "the file ends inside " + RecordText(i);
            return false;
        }
        entry.kills = uint32_t(kills);
        entry.damageReceived = uint32_t(damage);
        entry.accuracy = uint32_t(accuracy);
        // No run hits more than it fires: a larger figure is damage, and the
        // table would show it as it stands.
        if (entry.accuracy > kMaxAccuracy) {
            reason = RecordText(i) + " has an accuracy of " + std::to_string(entry.accuracy) + ", above " +
                     std::to_string(kMaxAccuracy);
            return false;
        }
    }
    return true;
}

bool ScoreList::Save() {
    Sort();
    if (entries.size() > kEntryCount) entries.resize(kEntryCount);
    if (path.empty()) return true;
    std::ostringstream bytes;
    WriteEntries(bytes);
    std::string reason;
    if (platform::WriteFileAtomically(path, bytes.str(), reason)) return true;
    Sys().Error(SOURCE_POS + "The high scores could not be saved to " + path + " (" + reason +
                "); the file keeps its old table");
    return false;
}

void ScoreList::WriteEntries(std::ostream& out) const {
    for (const ScoreEntry& entry : entries) {
        WriteString(out, entry.name);
        WriteInt(out, int32_t(entry.kills));
        WriteInt(out, int32_t(entry.damageReceived));
        WriteInt(out, int32_t(entry.accuracy));
    }
}

void ScoreList::Sort() {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ScoreEntry& a, const ScoreEntry& b) { return a.kills > b.kills; });
}

bool ScoreList::Qualifies(uint32_t kills) const {
    return entries.size() < kEntryCount || kills > entries[kEntryCount - 1].kills;
}

bool ScoreList::Insert(const ScoreEntry& entry) {
    entries.push_back(entry);
    // A longer name would make the whole file unreadable at the next start.
    if (entries.back().name.size() > kMaxNameLength) entries.back().name.resize(kMaxNameLength);
    return Save();
}

std::vector<ScoreEntry> ScoreList::DefaultEntries() {
    std::vector<ScoreEntry> defaults(kEntryCount);
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        defaults[i].name = kDefaultNames[i];
        defaults[i].kills = uint32_t(30 + 5 * i);
        defaults[i].accuracy = defaults[i].kills;
        defaults[i].damageReceived = defaults[i].kills + 20;
    }
    return defaults;
}

void ScoreList::ReplaceCorruptFile(const std::string& reason) {
    const std::string aside = path + kSetAsideSuffix;
    // The old bytes are kept for a look; an older set-aside file is replaced.
    const bool setAside = std::rename(path.c_str(), aside.c_str()) == 0;
    const std::string outcome = setAside ? "kept as " + aside
                                         : "could not be kept as " + aside + " (" + std::strerror(errno) + ")";
    Sys().Error(SOURCE_POS + "The score file " + path + " is corrupt: " + reason + "; " + outcome +
                ", the default table is used");
    entries = DefaultEntries();
    // Without the old bytes set aside, the defaults are not written over them.
    if (setAside)
        Save();
    else
        Sort();
}
