// The typed store (add, get, set, delete, misses, wrong types, the mipmap
// chain), loading registry entries by name and category and deleting them
// again, and the sound entries' calls into the sound layer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "resource_manager.h"
#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/recording_sound_layer.h"
#include "support/temp_folder.h"

using test_support::InOrder;
using test_support::LogCapture;
using test_support::TempFolder;

namespace {

Texture Solid(unsigned w, unsigned h, unsigned char value) {
    Texture t(w, h, 4);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = value;
    return t;
}

TEST(ResourceStore, AddGetSetDeleteMissesAndWrongTypes) {
    EXPECT_TRUE(Handle("stream_BG Music").GetType() == "stream" && Handle("nounderscore").GetType() == "");
    ResourceManager store;
    LogCapture log;
    Mesh mesh;
    mesh.name = "original";
    EXPECT_TRUE(store.add("tex_a", Solid(1, 1, 10)) == 0 && store.add("tex_a", Solid(2, 2, 20)) == 1 &&
                store.add("mesh_box", mesh) == 0);
    mesh.name = "changed";  // stored values are copies, and the first of a name stays
    EXPECT_TRUE(store.get<Texture>(Handle("tex_a"))->data[0] == 10 && store.get<Mesh>(Handle("mesh_box"))->name == "original");
    EXPECT_EQ(log.Count("attempted to load duplicate resource!"), 1);
    EXPECT_TRUE(!store.get<Texture>(Handle("tex_missing")) && !store.get<Texture>(Handle("mesh_box")) &&
                !store.GetSkeleton(Handle("skel_none")));
    EXPECT_TRUE(InOrder(log.Text(), {"resource_manager.h:", "tex_missing has not been loaded",
                                     "mesh_box is stored as another type"})) << log.Text();
    log.Restart();
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(2, 2, 5)), 0);  // a miss creates it, with both messages
    EXPECT_TRUE(log.Has("tex_noise has not been loaded") && log.Has("WARNING: resource not found: tex_noise"));
    log.Restart();
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(3, 3, 6)), 0);  // a hit replaces it quietly
    EXPECT_TRUE(log.Text().empty() && store.get<Texture>(Handle("tex_noise"))->width == 3u);
    EXPECT_TRUE(store.DeleteResource("tex_noise") == 0 && store.DeleteResource("tex_noise") == -1);
    EXPECT_TRUE(!store.IsStored("tex_noise") && !store.GetReferenceFromHandle(Handle("tex_noise")) &&
                log.Count("resource not found: tex_noise") == 1);
}

TEST(ResourceStore, ScriptAccessorsKillAndObjectNames) {
    ResourceManager store;
    Skeleton replacement;
    replacement.rootBone = 2;
    store.add("skel_drone", Skeleton());
    Skeleton* set = store.SetSkeleton(Handle("skel_drone"), replacement);
    EXPECT_TRUE(set == store.GetSkeleton(Handle("skel_drone")) && set->rootBone == 2);
    EXPECT_TRUE(!store.SetMesh(Handle("mesh_absent"), Mesh()) && !store.IsStored("mesh_absent"));  // existing only
    store.add("tex_t", Solid(1, 1, 1));
    Texture* tex = store.SetTexture(Handle("tex_t"), Solid(4, 4, 9));
    ASSERT_TRUE(tex && store.SetTexture(Handle("tex_t"), *tex) == tex);
    EXPECT_EQ(tex->data[63], 9) << "onto itself: unchanged";
    store.add("sample_hit", Sound());
    const auto* holder = dynamic_cast<Resource<Sound>*>(store.GetReferenceFromHandle(Handle("sample_hit")));
    ASSERT_TRUE(holder && holder->name == "sample_hit");
    store.screenImage = std::make_unique<Texture>(2, 2, 4);
    store.Kill();  // without an OpenGL context: memory only
    EXPECT_TRUE(!store.IsStored("sample_hit") && store.screenImage == nullptr);
    store.Init();  // object names count from one after each Init
    EXPECT_TRUE(store.MakeObjectName("shot") == "shot1" && store.GetObjectNum() == 2u);
    store.Init();
    EXPECT_EQ(store.MakeObjectName("again"), "again1");
}

TEST(ResourceMipMaps, HalvesUntilASideIsOneAndRefusesWhatItCannotHalve) {
    ResourceManager store;
    auto chainOf = [&](Texture* source) {
        std::vector<Texture*> chain;
        store.BuildMipMap(chain, source);
        std::vector<Texture> copies;
        for (Texture* t : chain) copies.push_back(*t), delete t;
        return copies;
    };
    Texture source(8, 4, 4);
    const std::vector<Texture> chain = chainOf(&source);
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_TRUE(chain[0].width == 4u && chain[0].height == 2u && chain[1].width == 2u && chain[1].height == 1u);

    Texture quad(2, 2, 4);  // bytes 1, 2, 2, 2 average to 1 (7 * 0.25 truncated)
    const unsigned char values[4] = {1, 2, 2, 2};
    for (int p = 0; p < 4; ++p) quad.data[p * 4 + 2] = values[p];
    EXPECT_EQ(chainOf(&quad).at(0).data[2], 1);
    Texture odd(3, 2, 4);  // odd widths wrap the second column instead of reading past the row
    odd.data[0] = 4, odd.data[4 * 3] = 8;
    EXPECT_EQ(chainOf(&odd).at(0).data[0], 3);  // (4 + 0 + 8 + 0) / 4

    Texture narrow(1, 16, 4), empty, grey(8, 8, 1);
    for (Texture* t : {&narrow, &empty, &grey, static_cast<Texture*>(nullptr)})
        EXPECT_TRUE(chainOf(t).empty());
}

class Loading : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string data = folder.Path() + "/data/";
        folder.WriteFile("data/keep", "");  // makes the folder
        ASSERT_TRUE(SaveMeshFile(data + "tri", testdata::SmallMesh()));
        ASSERT_TRUE(SaveSkeletonFile(testdata::SmallSkeleton(), data + "bones"));
        ASSERT_TRUE(SaveAnimFile(testdata::SmallAnimSet(), data + "walk"));
        std::string registry = "<registry>";
        for (const std::string& entry : std::initializer_list<std::string>{"mesh_tri\" file=\"" + data + "tri\" loadCategory=\"level1",
                 "skel_bones\" file=\"" + data + "bones\" loadCategory=\"level1", "tex_blank", "noprefix",
                 "anim_walk\" file=\"" + data + "walk\" loadCategory=\"level1", "mesh_plain\" loadCategory=\"level2",
                 "tex_box\" file=\"" QUELL_RUN_DIR "/resource/art assets/textures/box.png\" loadCategory=\"level2",
                 "tex_unreadable\" file=\"" + data + "nothing.png", "mesh_later\" file=\"" + data + "later",
                 "mesh_emptyfile\" file=\"", "font_big\" file=\"" + data + "big.fnt"})
            registry += "<r registry=\"" + entry + "\"/>";
        folder.WriteFile("registry.xml", registry + "</registry>");
        store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    }
    TempFolder folder;
    ResourceManager store;
};

TEST_F(Loading, EachTypeIsReadFromItsFileOrStoredEmpty) {
    for (const char* name : {"mesh_tri", "skel_bones", "anim_walk", "tex_box", "mesh_plain", "tex_blank"})
        EXPECT_EQ(store.LoadResource(name), 0) << name;
    EXPECT_TRUE(store.GetMesh(Handle("mesh_tri"))->triangles.size() == 1u &&
                store.GetSkeleton(Handle("skel_bones"))->boneList.size() == 3u &&
                store.GetAnimation(Handle("anim_walk"))->animTrackList.size() == 2u);
    const Texture* box = store.GetTexture(Handle("tex_box"));  // no OpenGL while loading
    EXPECT_TRUE(box->width == 64u && box->data[3] == 255 && box->texID == unsigned(Texture::kNoTexture));
    // No file: an empty one.
    EXPECT_TRUE(store.GetMesh(Handle("mesh_plain"))->verts.empty() && store.GetTexture(Handle("tex_blank"))->width == 0u);
    LogCapture log;
    EXPECT_TRUE(store.LoadResource("tex_unreadable") == 0 && log.Has("Error loading texture!") &&
                !store.GetTexture(Handle("tex_unreadable"))->data);
    log.Restart();  // a missed handle lists the store, then names the miss
    EXPECT_TRUE(store.GetResourceHandle("mesh_tri").GetID() == "mesh_tri" && store.GetResourceHandle("tex_gone").GetID() == "");
    EXPECT_TRUE(InOrder(log.Text(), {"tex_box      category: level2      at: ", "ERROR: ", "tex_gone not loaded"}))
        << log.Text();
}

TEST_F(Loading, ReturnCodesAndTheirMessages) {
    const struct { const char* name; int code; const char* message; } cases[] = {
        {"mesh_unregistered", -1, "mesh_unregistered not in the registry"},
        {"mesh_emptyfile", -1, "mesh_emptyfile not in the registry"},  // an empty "file" is no entry
        {"font_big", -2, "font_big is an invalid resource type. Check the name prefix."},
        {"noprefix", -2, "noprefix is an invalid resource type"},
        {"mesh_later", 1, "failed to load resource mesh_later with file name "},
    };
    for (const auto& c : cases) {
        LogCapture log;
        EXPECT_TRUE(store.LoadResource(c.name) == c.code && log.Has("ERROR: ") && log.Has(c.message) &&
                    !store.IsStored(c.name)) << c.message;
    }
    // Nothing was stored, so the next call reads the file again.
    ASSERT_TRUE(SaveMeshFile(folder.Path() + "/data/later", testdata::SmallMesh()));
    EXPECT_TRUE(store.LoadResource("mesh_later") == 0 && store.GetMesh(Handle("mesh_later"))->verts.size() == 3u);

    Mesh mine;  // stored names are not read again, registered or not
    mine.name = "mine";
    store.add("mesh_tri", mine), store.add("mesh_unregistered", mine);
    LogCapture log;
    EXPECT_TRUE(store.LoadResource("mesh_tri") == 0 && store.GetMesh(Handle("mesh_tri"))->name == "mine");
    EXPECT_TRUE(store.LoadResource("mesh_unregistered") == 0 &&
                store.LoadResourceByCategory("mesh_unregistered", "level1") == 0 && log.Text().empty());
}

TEST_F(Loading, CategoriesLoadOnlyTheirEntriesAndDeleteThemAgain) {
    EXPECT_TRUE(store.LoadResourceByCategory("tex_box", "level1") == 0 && !store.IsStored("tex_box"));
    EXPECT_TRUE(store.LoadResourceByCategory("tex_box", "level2") == 0 && store.IsStored("tex_box"));
    EXPECT_TRUE(store.LoadResourceByCategory("mesh_none", "level2") == -1 &&
                store.LoadResourceByCategory("mesh_emptyfile", "") == -1 &&
                store.LoadResourceByCategory("font_big", "") == -2);
    LogCapture log;
    store.LoadCategory("level1");
    EXPECT_TRUE(log.Has("LoadCategory()\ncategory = level1\n") && !log.Has("ERROR:") && store.IsStored("mesh_tri") &&
                store.IsStored("skel_bones") && store.IsStored("anim_walk") && !store.IsStored("mesh_plain"));
    // The empty category is every entry without one; failures report and the rest load.
    store.LoadCategory("");
    EXPECT_TRUE(store.IsStored("tex_blank") && store.IsStored("tex_unreadable"));
    EXPECT_FALSE(store.IsStored("mesh_later") || store.IsStored("font_big") || store.IsStored("mesh_plain"));
    EXPECT_TRUE(log.Has("font_big is an invalid resource type") && log.Has("failed to load resource mesh_later") &&
                log.Has("mesh_emptyfile not in the registry"));

    store.DeleteResource("skel_bones");
    store.add("mesh_other", Mesh());
    log.Restart();
    store.DeleteCategory("level1");  // three registered, two loaded
    EXPECT_TRUE(log.Count("WARNING: resource not found: ") == 1 && log.Has("resource not found: skel_bones") &&
                !store.IsStored("mesh_tri") && !store.IsStored("anim_walk") && store.IsStored("mesh_other"));
    store.LoadCategory("level1");  // a deleted category loads again from its files
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->verts.size(), 3u);
}

TEST(SoundLoading, EntriesOpenThroughTheLayerAndLoopOnlyWhenTheRegistrySaysSo) {
    sound_test::RecordingSoundLayer layer;
    TempFolder folder;
    folder.WriteFile("registry.xml", R"(<registry>
        <r registry="sample_boost" file="boost.wav" loop="true"/> <r registry="sample_hit" file="hit.wav"/>
        <r registry="sample_silent"/> <r registry="stream_BG Music" file="music.wav" loop="true"/>
        <r registry="stream_jingle" file="jingle.wav" loop="false"/> <r registry="stream_none" loop="true"/>
    </registry>)");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    for (const char* name : {"sample_boost", "sample_hit", "stream_BG Music", "stream_jingle", "sample_silent",
                             "stream_none"})
        EXPECT_EQ(store.LoadResource(name), 0) << name;
    EXPECT_EQ(layer.loads, (std::vector<std::string>{"SampleLoad -1 boost.wav 0", "SampleSetMode 1 2",
                                                     "SampleLoad -1 hit.wav 0", "StreamOpen music.wav 0",
                                                     "StreamSetMode 1 2", "StreamOpen jingle.wav 0"}));
    const Sound* boost = store.get<Sound>(Handle("sample_boost"));
    const SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    EXPECT_TRUE(boost->sample == layer.FakeSample(1) && boost->name == "sample_boost" && boost->position.Mag() == 0 &&
                music->stream == layer.FakeStream(1) && music->name == "stream_BG Music");
    // Entries without a file store a null handle without calling the layer.
    const Sound* silent = store.get<Sound>(Handle("sample_silent"));
    EXPECT_TRUE(!silent->sample && silent->name == "" && !store.get<SoundStream>(Handle("stream_none"))->stream);
}

TEST(SoundWithoutDevice, SamplesAndStreamsStoreNullHandlesAndLoadingGoesOn) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 0));
    TempFolder folder;
    const std::string wav = QUELL_RUN_DIR "/resource/sounds/sample_boost.wav";
    folder.WriteFile("registry.xml", "<registry><r registry=\"sample_boost\" file=\"" + wav + "\" loop=\"true\" "
        "loadCategory=\"all\"/><r registry=\"stream_BG Music\" file=\"" + wav + "\" loop=\"true\" loadCategory="
        "\"all\"/><r registry=\"mesh_after\" loadCategory=\"all\"/></registry>");
    ResourceManager store;
    store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    LogCapture log;
    store.LoadCategory("all");
    Sound* boost = store.get<Sound>(Handle("sample_boost"));
    SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    ASSERT_TRUE(boost && music);
    EXPECT_TRUE(boost->sample == nullptr && boost->name == "sample_boost" && music->stream == nullptr);
    EXPECT_TRUE(!log.Has("ERROR:") && store.IsStored("mesh_after"));
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, boost->sample), -1);  // playing it stays harmless
    FSOUND_Close();
}

}  // namespace
