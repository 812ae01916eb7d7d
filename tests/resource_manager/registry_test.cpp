// The registry and pattern-list readers, their look-ups, broken and hostile
// list files, and the game's own lists loaded whole at start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <tinyxml.h>

#include "resource_manager.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"
#include "xml_file.h"

using test_support::LogCapture;
using test_support::TempFolder;

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    while (times-- > 0) text += piece;
    return text;
}

std::string TypeOf(const ObjectPattern& pattern) { return ObjectFactory::GetParameter<std::string>(pattern, "type"); }

TEST(RegistryFile, FlagsAbsentAttributesDuplicatesAndCategories) {
    TempFolder folder;
    folder.WriteFile("registry.xml", R"(<?xml version="1.0" ?>
<!-- a comment between entries is not an entry -->
<registry>
    <resource registry="mesh_mech" file="data/mech" tex="tex_mech" loadCategory="level1"
              loadContext="true" animated="true"/>
    stray text
    <resource registry="tex_mech" file="data/mech.png" loadCategory="level1" loadContext="TRUE"/>
    <sound registry="stream_BG Music" file="data/music.wav" loop="true"/>
    <resource registry="sample_hit" file="data/hit.wav" loop="1" animated="True"/>
    <resource registry="mesh_bare"/>
    <resource registry="mesh_emptytex" tex=""/>
    <resource file="data/orphan.png" loadCategory="level1"/>
    <resource registry="tex_mech" file="data/second.png" loadCategory="level2"/>
</registry>
)");
    const std::string path = folder.Path() + "/registry.xml";
    ResourceManager store;
    LogCapture log;
    store.LoadRegistry(path.c_str());
    // Flags are true only for the exact text "true"; any tag name is an entry.
    const RegistryData mesh = store.RegistryDataLookup("mesh_mech"), hit = store.RegistryDataLookup("sample_hit");
    EXPECT_TRUE(mesh.name == "mesh_mech" && mesh.file == "data/mech" && mesh.tex == "tex_mech");
    EXPECT_TRUE(mesh.loadCategory == "level1" && mesh.hasFile && mesh.hasTex && mesh.loadContext && mesh.animated);
    EXPECT_FALSE(mesh.loop || hit.loop || hit.animated || store.RegistryDataLookup("tex_mech").loadContext);
    EXPECT_TRUE(store.RegistryDataLookup("stream_BG Music").loop);
    // Absent attributes read as empty and false; so does an unknown name.
    for (const char* name : {"mesh_bare", "mesh_unknown"}) {
        const RegistryData bare = store.RegistryDataLookup(name);
        EXPECT_FALSE(bare.hasFile || bare.hasTex || bare.loop || bare.animated || bare.loadContext) << name;
        EXPECT_TRUE(bare.file.empty() && bare.tex.empty() && bare.loadCategory.empty()) << name;
    }
    EXPECT_TRUE(store.RegistryDataLookup("mesh_emptytex").hasTex && store.RegistryDataLookup("mesh_unknown").name.empty());
    // The first of two equal names wins; the nameless entry is skipped with a warning; re-reading adds nothing.
    EXPECT_TRUE(store.RegistryFileLookup("tex_mech") == "data/mech.png" && log.Count("WARNING:") == 1);
    EXPECT_TRUE(log.Has(path + " line 12") && log.Has("\"registry\"") && !log.Has("ERROR:"));
    store.LoadRegistry(path.c_str());
    EXPECT_EQ(store.RegistryEntries().size(), 6u);
    std::vector<std::string> names;
    for (const RegistryData& entry : store.RegistryEntriesInCategory("level1")) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"mesh_mech", "tex_mech"}));
    EXPECT_TRUE(store.RegistryEntriesInCategory("level2").empty() && store.RegistryEntriesInCategory("").size() == 4u)
        << "the dropped duplicate brings no category";
}

TEST(RegistryBroken, BrokenDeepOversizedOrForeignFilesLeaveTheTableAlone) {
    TempFolder folder;
    folder.WriteFile("good.xml", R"(<registry><r registry="tex_a" file="a.png"/></registry>)");
    folder.WriteFile("bad.xml", R"(<registry><r registry="tex_b" file="b.png"></registry>)");
    folder.WriteFile("empty.xml", "");
    folder.WriteFile("other.xml", R"(<resources><r registry="tex_c" file="c.png"/></resources>)");
    // The XML parser recurses per nesting level: this depth would overflow its stack.
    folder.WriteFile("deep.xml", "<registry>" + Repeat("<a>", 200000) + Repeat("</a>", 200000) + "</registry>");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/good.xml").c_str());
    for (const char* name : {"/bad.xml", "/empty.xml", "/absent.xml", "/deep.xml"}) {
        LogCapture log;
        const std::string path = folder.Path() + name;
        store.LoadRegistry(path.c_str());
        EXPECT_TRUE(log.Has("ERROR: ") && log.Has("resource_manager/registry.cpp:")) << name;
        EXPECT_TRUE(log.Has("can't load file " + path + "\n")) << name;
        EXPECT_EQ(log.Has("nested deeper"), name == std::string("/deep.xml")) << name;
    }
    LogCapture log;
    store.LoadRegistry(nullptr);
    EXPECT_TRUE(log.Has("can't load file "));
    log.Restart();
    store.LoadRegistry((folder.Path() + "/other.xml").c_str());  // another root: nothing, silently
    store.LoadObjectPatterns((folder.Path() + "/other.xml").c_str());
    EXPECT_TRUE(log.Text().empty() && store.RegistryEntries().size() == 1u && store.PatternNames().empty());
    EXPECT_EQ(store.RegistryFileLookup("tex_a"), "a.png");

    const std::string huge = folder.Path() + "/huge.xml";
    std::ofstream(huge, std::ios::binary) << "<registry>";
    std::fstream(huge, std::ios::binary | std::ios::in | std::ios::out).seekp(std::streamoff(kMaxXmlFileBytes)) << "</registry>";
    TiXmlDocument document;
    std::string reason;
    EXPECT_TRUE(!LoadXmlFile(document, huge, reason) && reason.find("larger than") != std::string::npos) << reason;
}

TEST(PatternList, PatternsComeFromTheNamedFilesAndMissesGiveIndependentInvalidOnes) {
    TempFolder folder;
    folder.WriteFile("mech.xml", "<object><type>Enemy</type></object>");
    folder.WriteFile("crate.xml", "<object><type>Scenery</type></object>");
    const std::string mech = folder.Path() + "/mech.xml", crate = folder.Path() + "/crate.xml";
    folder.WriteFile("patterns.xml", "<registry>\n<!-- enemies -->\n<p registry=\"Mech\" file=\"" + mech + "\"/>\n"
                     "<p registry=\"Crate\" file=\"" + crate + "\"/>\n<p registry=\"Mech\" file=\"" + crate + "\"/>\n"
                     "<p registry=\"NoFile\"/>\n<p file=\"" + crate + "\"/>\n</registry>\n");
    const std::string path = folder.Path() + "/patterns.xml";
    ResourceManager store;
    LogCapture log;
    store.LoadObjectPatterns(path.c_str());
    EXPECT_TRUE(TypeOf(store.GetPattern("Mech")) == "Enemy" &&  // the first name wins
                ObjectFactory::GetParameter<std::string>(store.GetPattern("Crate"), "fileName") == crate);
    std::vector<std::string> names = store.PatternNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Crate", "Mech"}));
    EXPECT_TRUE(log.Has(path + " line 6: <p> has no \"file\"") && log.Has(path + " line 7: <p> has no \"registry\""));
    log.Restart();
    ObjectPattern first = store.GetPattern("Nothing"), second = store.GetPattern("NoFile");
    EXPECT_TRUE(TypeOf(first) == "INVALID_PATTERN" && TypeOf(second) == "INVALID_PATTERN" && second.paramList.size() == 1u);
    ObjectFactory::SetParameter(first, "type", std::string("Changed"));
    ObjectPattern copy = store.GetPattern("Mech");  // copies never write back
    ObjectFactory::SetParameter(copy, "type", std::string("Friend"));
    EXPECT_TRUE(TypeOf(store.GetPattern("Nothing")) == "INVALID_PATTERN" && TypeOf(store.GetPattern("Mech")) == "Enemy" &&
                log.Text().empty());
}

TEST(GameRegistry, TheGamesListsAndEveryCategoryLoadWithoutErrors) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(QUELL_RUN_DIR);
    ResourceManager store;
    LogCapture log;
    store.Init();
    const std::vector<RegistryData> entries = store.RegistryEntries();
    for (const RegistryData& entry : entries) store.LoadCategory(entry.loadCategory);
    std::filesystem::current_path(before);
    EXPECT_FALSE(log.Has("ERROR:") || entries.empty() || store.PatternNames().empty()) << log.Text();
    for (const RegistryData& entry : entries) EXPECT_TRUE(store.IsStored(entry.name)) << entry.name;
    for (const std::string& name : store.PatternNames()) {
        const ObjectPattern pattern = store.GetPattern(name);
        EXPECT_TRUE(HasParam(pattern.paramList, "type") && TypeOf(pattern) != "INVALID_PATTERN") << name;
    }
}

}  // namespace
