// The registry and pattern-list readers, their look-ups, hostile and broken
// list files, and the game's own lists read at start-up.
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

const char* const kRegistry = R"(<?xml version="1.0" ?>
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
)";

class RegistryFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteFile("registry.xml", kRegistry);
        path = folder.Path() + "/registry.xml";
    }
    TempFolder folder;
    std::string path;
    ResourceManager store;
};

TEST_F(RegistryFile, FlagsAreTrueOnlyForTheExactTextTrue) {
    store.LoadRegistry(path.c_str());
    RegistryData mesh = store.RegistryDataLookup("mesh_mech");
    EXPECT_EQ(mesh.name, "mesh_mech");
    EXPECT_EQ(mesh.file, "data/mech");
    EXPECT_EQ(mesh.tex, "tex_mech");
    EXPECT_EQ(mesh.loadCategory, "level1");
    EXPECT_TRUE(mesh.hasFile && mesh.hasTex && mesh.loadContext && mesh.animated);
    EXPECT_FALSE(mesh.loop);

    EXPECT_FALSE(store.RegistryDataLookup("tex_mech").loadContext);  // "TRUE"
    RegistryData sample = store.RegistryDataLookup("sample_hit");    // "1", "True"
    EXPECT_FALSE(sample.loop);
    EXPECT_FALSE(sample.animated);
    RegistryData music = store.RegistryDataLookup("stream_BG Music");  // any tag name
    EXPECT_TRUE(music.loop);
    EXPECT_EQ(music.file, "data/music.wav");
}

TEST_F(RegistryFile, AbsentAttributesReadAsEmptyAndFalse) {
    store.LoadRegistry(path.c_str());
    RegistryData bare = store.RegistryDataLookup("mesh_bare");
    EXPECT_EQ(bare.name, "mesh_bare");
    EXPECT_FALSE(bare.hasFile || bare.hasTex || bare.loop || bare.animated || bare.loadContext);
    EXPECT_TRUE(bare.file.empty() && bare.tex.empty() && bare.loadCategory.empty());

    RegistryData emptyTex = store.RegistryDataLookup("mesh_emptytex");
    EXPECT_TRUE(emptyTex.hasTex);
    EXPECT_EQ(emptyTex.tex, "");

    RegistryData unknown = store.RegistryDataLookup("mesh_unknown");
    EXPECT_TRUE(unknown.name.empty() && unknown.file.empty());
    EXPECT_FALSE(unknown.hasFile || unknown.hasTex || unknown.loadContext);
    EXPECT_EQ(store.RegistryFileLookup("mesh_unknown"), "");
}

TEST_F(RegistryFile, FirstEntryWinsAndNamelessEntriesAreSkippedWithAWarning) {
    LogCapture log;
    store.LoadRegistry(path.c_str());
    EXPECT_EQ(store.RegistryFileLookup("tex_mech"), "data/mech.png");
    EXPECT_EQ(store.RegistryDataLookup("tex_mech").loadCategory, "level1");
    // Six distinct names; the nameless entry, the comment and the text are not entries.
    EXPECT_EQ(store.RegistryEntries().size(), 6u);
    EXPECT_EQ(store.RegistryDataLookup("").file, "");
    EXPECT_EQ(log.Count("WARNING:"), 1);
    EXPECT_TRUE(log.Has(path + " line 12"));
    EXPECT_TRUE(log.Has("\"registry\""));
    EXPECT_FALSE(log.Has("ERROR:"));

    // Reading the file again changes nothing and only grows the table.
    store.LoadRegistry(path.c_str());
    EXPECT_EQ(store.RegistryEntries().size(), 6u);
}

TEST_F(RegistryFile, CategoryListingsHoldExactlyTheirEntries) {
    store.LoadRegistry(path.c_str());
    std::vector<std::string> names;
    for (const RegistryData& entry : store.RegistryEntriesInCategory("level1")) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"mesh_mech", "tex_mech"}));
    EXPECT_TRUE(store.RegistryEntriesInCategory("level2").empty());  // the dropped duplicate
    EXPECT_EQ(store.RegistryEntriesInCategory("").size(), 4u);
}

// ---- Broken and hostile lists --------------------------------------------------

TEST(RegistryBroken, MissingOrMalformedFilesLogAnErrorAndKeepTheTable) {
    TempFolder folder;
    folder.WriteFile("good.xml", R"(<registry><r registry="tex_a" file="a.png"/></registry>)");
    folder.WriteFile("bad.xml", R"(<registry><r registry="tex_b" file="b.png"></registry>)");
    folder.WriteFile("empty.xml", "");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/good.xml").c_str());

    for (const char* name : {"/bad.xml", "/empty.xml", "/absent.xml"}) {
        LogCapture log;
        const std::string path = folder.Path() + name;
        store.LoadRegistry(path.c_str());
        EXPECT_TRUE(log.Has("ERROR: "));
        EXPECT_TRUE(log.Has("can't load file " + path + "\n")) << name;
        EXPECT_TRUE(log.Has("resource_manager/registry.cpp:")) << name;
    }
    EXPECT_EQ(store.RegistryEntries().size(), 1u);
    EXPECT_EQ(store.RegistryFileLookup("tex_a"), "a.png");
    EXPECT_EQ(store.RegistryFileLookup("tex_b"), "");

    LogCapture log;
    store.LoadRegistry(nullptr);
    EXPECT_TRUE(log.Has("can't load file "));
}

TEST(RegistryBroken, AnotherRootReadsNothingSilently) {
    TempFolder folder;
    folder.WriteFile("other.xml", R"(<resources><r registry="tex_a" file="a.png"/></resources>)");
    ResourceManager store;
    LogCapture log;
    store.LoadRegistry((folder.Path() + "/other.xml").c_str());
    store.LoadObjectPatterns((folder.Path() + "/other.xml").c_str());
    EXPECT_TRUE(store.RegistryEntries().empty());
    EXPECT_TRUE(store.PatternNames().empty());
    EXPECT_EQ(log.Text(), "");
}

TEST(RegistryBroken, DeeplyNestedFilesAreRefusedBeforeParsing) {
    // The XML parser recurses per nesting level; this depth would overflow its stack.
    std::string text = "<registry>";
    for (int i = 0; i < 200000; ++i) text += "<a>";
    for (int i = 0; i < 200000; ++i) text += "</a>";
    text += "</registry>";
    TempFolder folder;
    folder.WriteFile("deep.xml", text);
    ResourceManager store;
    LogCapture log;
    store.LoadRegistry((folder.Path() + "/deep.xml").c_str());
    EXPECT_TRUE(log.Has("can't load file " + folder.Path() + "/deep.xml" + "\n"));
    EXPECT_TRUE(log.Has("nested deeper"));
    EXPECT_TRUE(store.RegistryEntries().empty());
}

TEST(RegistryBroken, OversizedFilesAreRefusedBeforeReading) {
    TempFolder folder;
    const std::string path = folder.Path() + "/huge.xml";
    {
        std::ofstream file(path, std::ios::binary);
        file << "<registry>";
        file.seekp(std::streamoff(MAX_XML_FILE_BYTES) + 16);  // sparse: no real disk use
        file << "</registry>";
    }
    TiXmlDocument document;
    std::string reason;
    EXPECT_FALSE(LoadXmlFile(document, path, reason));
    EXPECT_NE(reason.find("larger than"), std::string::npos);
}

TEST(XmlNesting, CountsElementsTheWayTheParserNestsThem) {
    EXPECT_EQ(XmlNestingDepth("<a><b/><c><d></d></c></a>", 100), 3);
    // Markup inside comments, CDATA, declarations and quoted values is not nesting.
    EXPECT_EQ(XmlNestingDepth("<?xml version=\"1.0\"?><!DOCTYPE x><a><!-- <b><c> -->"
                              "<![CDATA[<d><e>]]><f v=\"<g>\" w='>'/></a>",
                              100),
              1);
    // Counting stops just past the limit.
    std::string deep;
    for (int i = 0; i < 1000; ++i) deep += "<a>";
    EXPECT_EQ(XmlNestingDepth(deep, 10), 11);
    EXPECT_EQ(XmlNestingDepth("no markup at all", 10), 0);
    EXPECT_EQ(XmlNestingDepth("<a b=\"unterminated", 10), 0);
}

// ---- Pattern list ----------------------------------------------------------------

class PatternList : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteFile("mech.xml", "<object><type>Enemy</type></object>");
        folder.WriteFile("crate.xml", "<object><type>Scenery</type></object>");
        const std::string mech = folder.Path() + "/mech.xml";
        const std::string crate = folder.Path() + "/crate.xml";
        folder.WriteFile("patterns.xml", "<registry>\n"
                                         "<!-- enemies -->\n"
                                         "<p registry=\"Mech\" file=\"" + mech + "\"/>\n"
                                         "<p registry=\"Crate\" file=\"" + crate + "\"/>\n"
                                         "<p registry=\"Mech\" file=\"" + crate + "\"/>\n"
                                         "<p registry=\"NoFile\"/>\n"
                                         "<p file=\"" + crate + "\"/>\n"
                                         "</registry>\n");
        path = folder.Path() + "/patterns.xml";
    }
    static std::string TypeOf(const ObjectPattern& pattern) {
        return ObjectFactory::GetParameter<std::string>(pattern, "type");
    }
    TempFolder folder;
    std::string path;
    ResourceManager store;
};

TEST_F(PatternList, PatternsAreReadFromTheNamedFilesAndTheFirstNameWins) {
    LogCapture log;
    store.LoadObjectPatterns(path.c_str());
    EXPECT_EQ(TypeOf(store.GetPattern("Mech")), "Enemy");
    EXPECT_EQ(TypeOf(store.GetPattern("Crate")), "Scenery");
    EXPECT_EQ(ObjectFactory::GetParameter<std::string>(store.GetPattern("Crate"), "fileName"),
              folder.Path() + "/crate.xml");
    std::vector<std::string> names = store.PatternNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Crate", "Mech"}));
    // The element without a file and the one without a name: one warning each.
    EXPECT_TRUE(log.Has(path + " line 6: <p> has no \"file\""));
    EXPECT_TRUE(log.Has(path + " line 7: <p> has no \"registry\""));
}

TEST_F(PatternList, UnknownNamesGiveIndependentInvalidPatternsSilently) {
    store.LoadObjectPatterns(path.c_str());
    LogCapture log;
    ObjectPattern first = store.GetPattern("Nothing");
    ObjectPattern second = store.GetPattern("NoFile");
    EXPECT_EQ(TypeOf(first), "INVALID_PATTERN");
    EXPECT_EQ(TypeOf(second), "INVALID_PATTERN");
    ObjectFactory::SetParameter(first, "type", std::string("Changed"));
    EXPECT_EQ(TypeOf(store.GetPattern("Nothing")), "INVALID_PATTERN");
    EXPECT_EQ(second.paramList.size(), 1u);
    EXPECT_EQ(log.Text(), "");

    // Copies handed out do not write back into the table.
    ObjectPattern mech = store.GetPattern("Mech");
    ObjectFactory::SetParameter(mech, "type", std::string("Friend"));
    EXPECT_EQ(TypeOf(store.GetPattern("Mech")), "Enemy");
}

// ---- Handles ------------------------------------------------------------------------

TEST(ResourceHandles, MissesListTheStoreAndReportTheName) {
    ResourceManager store;
    TempFolder folder;
    folder.WriteFile("registry.xml", R"(<registry><r registry="mesh_a" loadCategory="all"/></registry>)");
    store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    store.add("mesh_a", Mesh());
    EXPECT_EQ(store.GetResourceHandle("mesh_a").GetID(), "mesh_a");

    LogCapture log;
    Handle missing = store.GetResourceHandle("tex_gone");
    EXPECT_EQ(missing.GetID(), "");
    EXPECT_TRUE(log.Has("mesh_a      category: all      at: "));
    EXPECT_TRUE(log.Has("ERROR: "));
    EXPECT_TRUE(log.Has("tex_gone not loaded"));
    EXPECT_LT(log.Text().find("mesh_a      category"), log.Text().find("tex_gone not loaded"));
}

// ---- The game's own lists --------------------------------------------------------------

TEST(GameRegistry, TheGamesListsAndEveryCategoryLoadWithoutErrors) {
    const std::filesystem::path run(QUELL_RUN_DIR);
    if (!std::filesystem::exists(run / "resource/registry.xml") ||
        !std::filesystem::exists(run / "resource/objectPatterns.xml"))
        GTEST_SKIP() << "the run folder holds no registry or pattern list yet";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(run);
    ResourceManager store;
    LogCapture log;
    store.Init();
    const std::vector<RegistryData> entries = store.RegistryEntries();
    std::vector<std::string> categories;
    for (const RegistryData& entry : entries) categories.push_back(entry.loadCategory);
    std::sort(categories.begin(), categories.end());
    categories.erase(std::unique(categories.begin(), categories.end()), categories.end());
    for (const std::string& category : categories) store.LoadCategory(category);
    std::filesystem::current_path(before);

    EXPECT_FALSE(log.Has("ERROR:")) << log.Text();
    EXPECT_FALSE(entries.empty());
    for (const RegistryData& entry : entries) EXPECT_TRUE(store.IsStored(entry.name)) << entry.name;
    EXPECT_FALSE(store.PatternNames().empty());
    for (const std::string& name : store.PatternNames()) {
        ObjectPattern pattern = store.GetPattern(name);
        ASSERT_TRUE(HasParam(pattern.paramList, "type")) << name;
        EXPECT_NE(ObjectFactory::GetParameter<std::string>(pattern, "type"), "INVALID_PATTERN") << name;
    }
}

}  // namespace
