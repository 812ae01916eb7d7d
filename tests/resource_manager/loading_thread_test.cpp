// The level loader's situation: one thread loads a category (or reads more
// registry and patterns) while another reads the store and the tables.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resource_manager.h"
#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::LogCapture;

using test_support::TempFolder;

namespace {

const int kEntries = 60;

std::string MeshName(int i) { return "mesh_part" + std::to_string(i); }

class LoaderThread : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteFile("data/keep", "");  // makes the folder the mesh is saved in
        ASSERT_TRUE(SaveMeshFile(folder.Path() + "/data/tri", testdata::SmallMesh()));
        std::string registry = "<registry>\n";
        for (int i = 0; i < kEntries; ++i)
            registry += "<r registry=\"" + MeshName(i) + "\" file=\"" + folder.Path() +
                        "/data/tri\" loadCategory=\"level2\"/>\n";
        registry += "<r registry=\"sample_quiet\" loadCategory=\"level2\"/>\n";
        registry += "<r registry=\"mesh_old\" loadCategory=\"level1\"/>\n</registry>\n";
        folder.WriteFile("registry.xml", registry);
        store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    }
    TempFolder folder;
    ResourceManager store;
};

TEST_F(LoaderThread, TheMainThreadReadsWhileACategoryLoads) {
    store.LoadCategory("level1");
    std::atomic<bool> done{false};
    std::thread loader([&] {
        store.LoadCategory("level2");
        done = true;
    });
    while (!done) {
        for (int i = 0; i < kEntries; ++i) {
            if (!store.IsStored(MeshName(i))) continue;
            // A stored mesh is complete the moment it can be seen.
            Mesh* mesh = store.GetMesh(store.GetResourceHandle(MeshName(i)));
            ASSERT_NE(mesh, nullptr);
            EXPECT_EQ(mesh->verts.size(), 3u);
        }
        store.DescribeStore();
        EXPECT_EQ(store.RegistryDataLookup("mesh_old").loadCategory, "level1");
    }
    loader.join();
    for (int i = 0; i < kEntries; ++i) EXPECT_TRUE(store.IsStored(MeshName(i)));
    EXPECT_TRUE(store.IsStored("sample_quiet"));
    // The main thread's own work goes on: the previous level is deleted.
    store.DeleteCategory("level1");
    EXPECT_FALSE(store.IsStored("mesh_old"));
}

TEST_F(LoaderThread, TwoThreadsLoadingOneCategoryStoreEachResourceOnce) {
    LogCapture log;
    std::thread other([&] { store.LoadCategory("level2"); });
    for (int i = kEntries - 1; i >= 0; --i) EXPECT_EQ(store.LoadResource(MeshName(i)), 0);
    other.join();
    EXPECT_FALSE(log.Has("duplicate")) << log.Text();
    for (int i = 0; i < kEntries; ++i) EXPECT_TRUE(store.IsStored(MeshName(i)));
}

TEST(TablesThread, ListsReadOnOneThreadWhileAnotherLooksUp) {
    TempFolder folder;
    folder.WriteFile("crate.xml", "<object><type>Scenery</type></object>");
    std::string registry = "<registry>\n", patterns = "<registry>\n";
    for (int i = 0; i < 200; ++i) {
        registry += "<r registry=\"tex_" + std::to_string(i) + "\" loadCategory=\"c\"/>\n";
        patterns += "<p registry=\"Crate" + std::to_string(i) + "\" file=\"" + folder.Path() + "/crate.xml\"/>\n";
    }
    folder.WriteFile("registry.xml", registry + "</registry>\n");
    folder.WriteFile("patterns.xml", patterns + "</registry>\n");

    ResourceManager store;
    std::atomic<bool> done{false};
    std::thread script([&] {
        store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
        store.LoadObjectPatterns((folder.Path() + "/patterns.xml").c_str());
        done = true;
    });
    while (!done) {
        RegistryData entry = store.RegistryDataLookup("tex_199");
        EXPECT_TRUE(entry.name.empty() || entry.loadCategory == "c");
        ObjectPattern crate = store.GetPattern("Crate199");
        const std::string type = ObjectFactory::GetParameter<std::string>(crate, "type");
        EXPECT_TRUE(type == "INVALID_PATTERN" || type == "Scenery") << type;
        store.RegistryEntriesInCategory("c");
        store.PatternNames();
    }
    script.join();
    EXPECT_EQ(store.RegistryEntriesInCategory("c").size(), 200u);
    EXPECT_EQ(store.PatternNames().size(), 200u);
}

}  // namespace
