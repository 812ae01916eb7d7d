// The loader thread adds to the store while the main thread reads it and
// loads too; under ThreadSanitizer this shows any unguarded access.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "resource_manager.h"
#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::TempFolder;

namespace {

std::string Numbered(const char* prefix, int i) { return prefix + std::to_string(i); }

TEST(LoaderThread, TheMainThreadReadsAndLoadsWhileACategoryLoadsAndEachResourceIsStoredOnce) {
    const int entries = 60;
    TempFolder folder;
    folder.WriteFile("data/keep", "");  // makes the folder the mesh is saved in
    ASSERT_TRUE(SaveMeshFile(folder.Path() + "/data/tri", testdata::SmallMesh()));
    std::string registry = "<registry>\n<r registry=\"sample_quiet\" loadCategory=\"level2\"/>\n";
    for (int i = 0; i < entries; ++i)
        registry += "<r registry=\"" + Numbered("mesh_part", i) + "\" file=\"" + folder.Path() + "/data/tri\" "
                    "loadCategory=\"level2\"/>\n";
    folder.WriteFile("registry.xml", registry + "<r registry=\"mesh_old\" loadCategory=\"level1\"/>\n</registry>\n");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    store.Init();
    store.LoadCategory("level1");
    test_support::LogCapture log;
    std::atomic<bool> done{false};
    std::vector<std::string> names[2];
    std::thread loader([&] {
        store.LoadCategory("level2");
        for (int i = 0; i < 300; ++i) names[0].push_back(store.MakeObjectName("x"));
        done = true;
    });
    for (int pass = 0; !done || pass < 2; ++pass) {
        for (int i = 0; i < entries; ++i) {
            const std::string name = Numbered("mesh_part", i);
            EXPECT_TRUE(pass != 1 || store.LoadResource(name) == 0);  // the same category from two threads
            if (!store.IsStored(name)) continue;
            Mesh* mesh = store.GetMesh(store.GetResourceHandle(name));  // complete the moment it is seen
            ASSERT_NE(mesh, nullptr);
            EXPECT_EQ(mesh->verts.size(), 3u);
        }
        if (pass < 300) names[1].push_back(store.MakeObjectName("x"));
        store.DescribeStore();
        EXPECT_EQ(store.RegistryDataLookup("mesh_old").loadCategory, "level1");
    }
    loader.join();
    EXPECT_FALSE(log.Has("duplicate")) << log.Text();
    for (int i = 0; i < entries; ++i) EXPECT_TRUE(store.IsStored(Numbered("mesh_part", i)));
    EXPECT_TRUE(store.IsStored("sample_quiet"));
    store.DeleteCategory("level1");
    EXPECT_FALSE(store.IsStored("mesh_old"));
    names[0].insert(names[0].end(), names[1].begin(), names[1].end());  // object names stay unique
    std::sort(names[0].begin(), names[0].end());
    EXPECT_EQ(std::unique(names[0].begin(), names[0].end()), names[0].end());
}

}  // namespace
