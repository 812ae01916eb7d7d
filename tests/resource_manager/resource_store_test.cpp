#include <gtest/gtest.h>

#include "resource_manager.h"
#include "support/log_capture.h"

using test_support::LogCapture;

namespace {

Texture Solid(unsigned w, unsigned h, unsigned char value) {
    Texture t(w, h, 4);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = value;
    return t;
}

}  // namespace

TEST(ResourceHandle, TypeIsTheTextBeforeTheFirstUnderscore) {
    EXPECT_EQ(Handle("tex_shot_blue").GetType(), "tex");
    EXPECT_EQ(Handle("stream_BG Music").GetType(), "stream");
    EXPECT_EQ(Handle("nounderscore").GetType(), "");
    EXPECT_EQ(Handle().GetType(), "");
    EXPECT_EQ(Handle("mesh_box").GetID(), "mesh_box");
}

TEST(ResourceStore, AddKeepsTheFirstValueAndReportsDuplicates) {
    ResourceManager store;
    LogCapture log;
    EXPECT_EQ(store.add("tex_a", Solid(1, 1, 10)), 0);
    EXPECT_EQ(store.add("tex_a", Solid(2, 2, 20)), 1);
    EXPECT_EQ(log.Count("attempted to load duplicate resource!"), 1);
    Texture* stored = store.get<Texture>(Handle("tex_a"));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->width, 1u);
    EXPECT_EQ(stored->data[0], 10);
}

TEST(ResourceStore, StoredValuesAreCopies) {
    ResourceManager store;
    Mesh mesh;
    mesh.name = "original";
    store.add("mesh_m", mesh);
    mesh.name = "changed";
    EXPECT_EQ(store.get<Mesh>(Handle("mesh_m"))->name, "original");
}

TEST(ResourceStore, MissesAndWrongTypesLogAndReturnNull) {
    ResourceManager store;
    store.add("mesh_box", Mesh());
    LogCapture log;
    EXPECT_EQ(store.get<Texture>(Handle("tex_missing")), nullptr);
    EXPECT_TRUE(log.Has("resource_manager.h:"));
    EXPECT_TRUE(log.Has("tex_missing has not been loaded"));
    EXPECT_EQ(store.get<Texture>(Handle("mesh_box")), nullptr);
    EXPECT_TRUE(log.Has("mesh_box is stored as another type"));
    EXPECT_NE(store.get<Mesh>(Handle("mesh_box")), nullptr);
    EXPECT_EQ(store.GetSkeleton(Handle("skel_none")), nullptr);
}

TEST(ResourceStore, SetReplacesOrCreatesWithTheSpecifiedMessages) {
    ResourceManager store;
    LogCapture log;
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(2, 2, 5)), 0);
    EXPECT_TRUE(log.Has("tex_noise has not been loaded"));
    EXPECT_TRUE(log.Has("WARNING: resource not found: tex_noise"));
    ASSERT_NE(store.get<Texture>(Handle("tex_noise")), nullptr);
    EXPECT_EQ(store.get<Texture>(Handle("tex_noise"))->data[0], 5);

    LogCapture second;
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(3, 3, 6)), 0);
    EXPECT_FALSE(second.Has("ERROR"));
    EXPECT_FALSE(second.Has("WARNING"));
    EXPECT_EQ(store.get<Texture>(Handle("tex_noise"))->width, 3u);
}

TEST(ResourceStore, DeleteRemovesOnceThenWarns) {
    ResourceManager store;
    store.add("anim_walk", AnimSet());
    EXPECT_TRUE(store.IsStored("anim_walk"));
    LogCapture log;
    EXPECT_EQ(store.DeleteResource("anim_walk"), 0);
    EXPECT_FALSE(store.IsStored("anim_walk"));
    EXPECT_EQ(store.DeleteResource("anim_walk"), -1);
    EXPECT_EQ(log.Count("resource not found: anim_walk"), 1);
    EXPECT_EQ(store.GetReferenceFromHandle(Handle("anim_walk")), nullptr);
}

TEST(ResourceStore, ScriptAccessorsAssignIntoExistingEntriesOnly) {
    ResourceManager store;
    store.add("skel_drone", Skeleton());
    Skeleton replacement;
    replacement.rootBone = 2;
    Skeleton* stored = store.SetSkeleton(Handle("skel_drone"), replacement);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored, store.GetSkeleton(Handle("skel_drone")));
    EXPECT_EQ(stored->rootBone, 2);

    AnimSet set;
    set.name = "walk";
    set.animTrackList.resize(3);
    store.add("anim_walk", AnimSet());
    EXPECT_EQ(store.SetAnimSet(Handle("anim_walk"), set)->animTrackList.size(), 3u);
    EXPECT_EQ(store.GetAnimation(Handle("anim_walk"))->name, "walk");

    EXPECT_EQ(store.SetMesh(Handle("mesh_absent"), Mesh()), nullptr);
    EXPECT_FALSE(store.IsStored("mesh_absent"));

    Texture* tex = nullptr;
    store.add("tex_t", Solid(1, 1, 1));
    tex = store.SetTexture(Handle("tex_t"), Solid(4, 4, 9));
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->width, 4u);
    EXPECT_EQ(store.SetTexture(Handle("tex_t"), *tex), tex);  // onto itself: unchanged
    EXPECT_EQ(tex->data[63], 9);
}

TEST(ResourceStore, HoldsEveryKindAndKillEmptiesIt) {
    ResourceManager store;
    Sound sound;
    sound.name = "sample_hit";
    sound.position = Vector(1, 2, 3, 4);
    store.add("sample_hit", sound);
    SoundStream music;
    music.name = "stream_BG Music";
    store.add("stream_BG Music", music);
    EXPECT_EQ(store.get<Sound>(Handle("sample_hit"))->position.w, 4.0f);
    EXPECT_EQ(store.get<SoundStream>(Handle("stream_BG Music"))->name, "stream_BG Music");
    Container* holder = store.GetReferenceFromHandle(Handle("sample_hit"));
    ASSERT_NE(dynamic_cast<Resource<Sound>*>(holder), nullptr);
    EXPECT_EQ(dynamic_cast<Resource<Sound>*>(holder)->name, "sample_hit");
    store.screenImage = std::make_unique<Texture>(2, 2, 4);
    store.Kill();
    EXPECT_FALSE(store.IsStored("sample_hit"));
    EXPECT_EQ(store.screenImage, nullptr);
}

TEST(ResourceNames, ObjectNamesCountFromOneAfterInit) {
    ResourceManager store;
    store.Init();
    EXPECT_EQ(store.MakeObjectName("shot"), "shot1");
    EXPECT_EQ(store.GetObjectNum(), 2u);
    EXPECT_EQ(store.MakeObjectName("fx"), "fx3");
    store.Init();
    EXPECT_EQ(store.MakeObjectName("again"), "again1");
}

TEST(ResourceMipMaps, HalvesUntilASideIsOne) {
    ResourceManager store;
    Texture source(8, 4, 4);
    std::vector<Texture*> chain;
    store.BuildMipMap(chain, &source);
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_EQ(chain[0]->width, 4u);
    EXPECT_EQ(chain[0]->height, 2u);
    EXPECT_EQ(chain[1]->width, 2u);
    EXPECT_EQ(chain[1]->height, 1u);
    EXPECT_EQ(chain[1]->texID, 0xFFFFFFFFu);
    for (Texture* t : chain) delete t;

    // Bytes 1, 2, 2, 2 average to 1 (7 * 0.25 truncated).
    Texture quad(2, 2, 4);
    const unsigned char values[4] = {1, 2, 2, 2};
    for (int p = 0; p < 4; ++p) quad.data[p * 4 + 2] = values[p];
    chain.clear();
    store.BuildMipMap(chain, &quad);
    ASSERT_EQ(chain.size(), 1u);
    EXPECT_EQ(chain[0]->data[2], 1);
    delete chain[0];

    // Odd widths wrap the second column around instead of reading past the row.
    Texture odd(3, 2, 4);
    odd.data[0] = 4;               // (0, 0)
    odd.data[4 * 3] = 8;           // (0, 1)
    chain.clear();
    store.BuildMipMap(chain, &odd);
    ASSERT_EQ(chain.size(), 1u);
    EXPECT_EQ(chain[0]->data[0], 3);  // (4 + 0 + 8 + 0) / 4
    delete chain[0];

    chain.clear();
    Texture narrow(1, 16, 4), empty, grey(8, 8, 1);
    store.BuildMipMap(chain, &narrow);
    store.BuildMipMap(chain, &empty);
    store.BuildMipMap(chain, &grey);  // not four bytes per pixel: no chain
    store.BuildMipMap(chain, nullptr);
    EXPECT_TRUE(chain.empty());
}
