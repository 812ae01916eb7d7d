// The loader thread adds to the store while the main thread reads it; under
// ThreadSanitizer this shows any unguarded access to the store.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resource_manager.h"

TEST(ResourceStoreThreads, LoaderAddsWhileMainThreadReads) {
    ResourceManager store;
    const int count = 300;
    std::atomic<int> added{0};
    std::thread loader([&] {
        for (int i = 0; i < count; ++i) {
            Mesh mesh;
            mesh.name = "m" + std::to_string(i);
            ASSERT_EQ(store.add("mesh_" + std::to_string(i), mesh), 0);
            added.store(i + 1);
        }
    });
    int found = 0;
    while (found < count) {
        int ready = added.load();
        for (int i = found; i < ready; ++i) {
            Mesh* mesh = store.get<Mesh>(Handle("mesh_" + std::to_string(i)));
            ASSERT_NE(mesh, nullptr);
            EXPECT_EQ(mesh->name, "m" + std::to_string(i));
        }
        found = ready;
        store.IsStored("mesh_not_there");
    }
    loader.join();
    EXPECT_EQ(found, count);
}

TEST(ResourceStoreThreads, ObjectNamesStayUniqueAcrossThreads) {
    ResourceManager store;
    store.Init();
    std::vector<std::string> a, b;
    std::thread other([&] {
        for (int i = 0; i < 500; ++i) a.push_back(store.MakeObjectName("x"));
    });
    for (int i = 0; i < 500; ++i) b.push_back(store.MakeObjectName("x"));
    other.join();
    std::vector<std::string> all(a);
    all.insert(all.end(), b.begin(), b.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
}
