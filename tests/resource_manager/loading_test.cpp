// The typed store (add, get, set, delete, misses, wrong types, the mipmap
// chain), loading registry entries by name and category and deleting them
// again, and the sound entries' calls into the sound layer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/mixer_sound_layer.h"
#include "resource_manager.h"
#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::LogCapture;
using test_support::TempFolder;

namespace {

Texture Solid(unsigned w, unsigned h, unsigned char value) {
    Texture t(w, h, 4);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = value;
    return t;
}

TEST(ResourceStore, AddGetSetDeleteMissesAndWrongTypes) {
    EXPECT_EQ(Handle("stream_BG Music").GetType(), "stream");  // the text before the first underscore
    EXPECT_EQ(Handle("nounderscore").GetType(), "");
    ResourceManager store;
    LogCapture log;
    EXPECT_EQ(store.add("tex_a", Solid(1, 1, 10)), 0);
    EXPECT_EQ(store.add("tex_a", Solid(2, 2, 20)), 1);  // the first value stays
    EXPECT_EQ(log.Count("attempted to load duplicate resource!"), 1);
    EXPECT_EQ(store.get<Texture>(Handle("tex_a"))->data[0], 10);
    Mesh mesh;
    mesh.name = "original";
    store.add("mesh_box", mesh);
    mesh.name = "changed";  // stored values are copies
    EXPECT_EQ(store.get<Mesh>(Handle("mesh_box"))->name, "original");

    EXPECT_EQ(store.get<Texture>(Handle("tex_missing")), nullptr);
    EXPECT_TRUE(log.Has("resource_manager.h:"));
    EXPECT_TRUE(log.Has("tex_missing has not been loaded"));
    EXPECT_EQ(store.get<Texture>(Handle("mesh_box")), nullptr);
    EXPECT_TRUE(log.Has("mesh_box is stored as another type"));
    EXPECT_EQ(store.GetSkeleton(Handle("skel_none")), nullptr);

    log.Restart();
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(2, 2, 5)), 0);  // a miss creates it
    EXPECT_TRUE(log.Has("tex_noise has not been loaded"));
    EXPECT_TRUE(log.Has("WARNING: resource not found: tex_noise"));
    EXPECT_EQ(store.get<Texture>(Handle("tex_noise"))->data[0], 5);
    log.Restart();
    EXPECT_EQ(store.set(Handle("tex_noise"), Solid(3, 3, 6)), 0);  // a hit replaces it quietly
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(store.get<Texture>(Handle("tex_noise"))->width, 3u);

    EXPECT_EQ(store.DeleteResource("tex_noise"), 0);
    EXPECT_FALSE(store.IsStored("tex_noise"));
    EXPECT_EQ(store.DeleteResource("tex_noise"), -1);
    EXPECT_EQ(log.Count("resource not found: tex_noise"), 1);
    EXPECT_EQ(store.GetReferenceFromHandle(Handle("tex_noise")), nullptr);
}

TEST(ResourceStore, ScriptAccessorsKillAndObjectNames) {
    ResourceManager store;
    Skeleton replacement;
    replacement.rootBone = 2;
    store.add("skel_drone", Skeleton());
    EXPECT_EQ(store.SetSkeleton(Handle("skel_drone"), replacement), store.GetSkeleton(Handle("skel_drone")));
    EXPECT_EQ(store.GetSkeleton(Handle("skel_drone"))->rootBone, 2);
    EXPECT_EQ(store.SetMesh(Handle("mesh_absent"), Mesh()), nullptr);  // into existing entries only
    EXPECT_FALSE(store.IsStored("mesh_absent"));
    store.add("tex_t", Solid(1, 1, 1));
    Texture* tex = store.SetTexture(Handle("tex_t"), Solid(4, 4, 9));
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(store.SetTexture(Handle("tex_t"), *tex), tex);  // onto itself: unchanged
    EXPECT_EQ(tex->data[63], 9);
    store.add("sample_hit", Sound());
    const auto* holder = dynamic_cast<Resource<Sound>*>(store.GetReferenceFromHandle(Handle("sample_hit")));
    ASSERT_TRUE(holder && holder->name == "sample_hit");
    store.screenImage = std::make_unique<Texture>(2, 2, 4);
    store.Kill();
    EXPECT_TRUE(!store.IsStored("sample_hit") && store.screenImage == nullptr);
    store.Init();  // object names count from one after Init
    EXPECT_EQ(store.MakeObjectName("shot"), "shot1");
    EXPECT_EQ(store.GetObjectNum(), 2u);
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
    odd.data[0] = 4;
    odd.data[4 * 3] = 8;
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
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->triangles.size(), 1u);
    EXPECT_EQ(store.GetSkeleton(Handle("skel_bones"))->boneList.size(), 3u);
    EXPECT_EQ(store.GetAnimation(Handle("anim_walk"))->animTrackList.size(), 2u);
    const Texture* box = store.GetTexture(Handle("tex_box"));
    EXPECT_TRUE(box->width == 64u && box->data[3] == 255);
    EXPECT_EQ(box->texID, unsigned(Texture::kNoTexture));  // no OpenGL while loading
    EXPECT_TRUE(store.GetMesh(Handle("mesh_plain"))->verts.empty());  // no file: an empty one
    EXPECT_EQ(store.GetTexture(Handle("tex_blank"))->width, 0u);

    LogCapture log;
    EXPECT_EQ(store.LoadResource("tex_unreadable"), 0);
    EXPECT_TRUE(log.Has("Error loading texture!"));
    EXPECT_EQ(store.GetTexture(Handle("tex_unreadable"))->data, nullptr);
    log.Restart();  // a missed handle lists the store, then names the miss
    EXPECT_EQ(store.GetResourceHandle("mesh_tri").GetID(), "mesh_tri");
    EXPECT_EQ(store.GetResourceHandle("tex_gone").GetID(), "");
    EXPECT_TRUE(log.Has("ERROR: "));
    EXPECT_LT(log.Text().find("tex_box      category: level2      at: "), log.Text().find("tex_gone not loaded"));
    EXPECT_NE(log.Text().find("tex_gone not loaded"), std::string::npos);
}

TEST_F(Loading, ReturnCodesAndTheirMessages) {
    for (const char* name : {"mesh_unregistered", "mesh_emptyfile"}) {  // an empty "file" is no entry
        LogCapture log;
        EXPECT_EQ(store.LoadResource(name), -1);
        EXPECT_TRUE(log.Has("ERROR: "));
        EXPECT_TRUE(log.Has(std::string(name) + " not in the registry"));
    }
    for (const char* name : {"font_big", "noprefix"}) {
        LogCapture log;
        EXPECT_EQ(store.LoadResource(name), -2);
        EXPECT_TRUE(log.Has(std::string(name) + " is an invalid resource type. Check the name prefix."));
        EXPECT_FALSE(store.IsStored(name));
    }
    LogCapture log;
    EXPECT_EQ(store.LoadResource("mesh_later"), 1);
    EXPECT_TRUE(log.Has("failed to load resource mesh_later with file name " + folder.Path() + "/data/later"));
    EXPECT_FALSE(store.IsStored("mesh_later"));
    // Nothing was stored, so the next call reads the file again.
    ASSERT_TRUE(SaveMeshFile(folder.Path() + "/data/later", testdata::SmallMesh()));
    EXPECT_EQ(store.LoadResource("mesh_later"), 0);
    EXPECT_EQ(store.GetMesh(Handle("mesh_later"))->verts.size(), 3u);

    Mesh mine;  // stored names are not read again, registered or not
    mine.name = "mine";
    store.add("mesh_tri", mine);
    store.add("mesh_unregistered", mine);
    log.Restart();
    EXPECT_EQ(store.LoadResource("mesh_tri"), 0);
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->name, "mine");
    EXPECT_EQ(store.LoadResource("mesh_unregistered"), 0);
    EXPECT_EQ(store.LoadResourceByCategory("mesh_unregistered", "level1"), 0);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(Loading, CategoriesLoadOnlyTheirEntriesAndDeleteThemAgain) {
    EXPECT_EQ(store.LoadResourceByCategory("tex_box", "level1"), 0);
    EXPECT_FALSE(store.IsStored("tex_box"));
    EXPECT_EQ(store.LoadResourceByCategory("tex_box", "level2"), 0);
    EXPECT_TRUE(store.IsStored("tex_box"));
    EXPECT_EQ(store.LoadResourceByCategory("mesh_none", "level2"), -1);
    EXPECT_EQ(store.LoadResourceByCategory("mesh_emptyfile", ""), -1);
    EXPECT_EQ(store.LoadResourceByCategory("font_big", ""), -2);

    LogCapture log;
    store.LoadCategory("level1");
    EXPECT_TRUE(log.Has("LoadCategory()\ncategory = level1\n"));
    EXPECT_FALSE(log.Has("ERROR:"));
    for (const char* name : {"mesh_tri", "skel_bones", "anim_walk"}) EXPECT_TRUE(store.IsStored(name));
    EXPECT_FALSE(store.IsStored("mesh_plain"));

    // The empty category is every entry without one; failures report and the rest load.
    store.LoadCategory("");
    EXPECT_TRUE(store.IsStored("tex_blank") && store.IsStored("tex_unreadable"));
    EXPECT_FALSE(store.IsStored("mesh_later") || store.IsStored("font_big") || store.IsStored("mesh_plain"));
    EXPECT_TRUE(log.Has("font_big is an invalid resource type"));
    EXPECT_TRUE(log.Has("failed to load resource mesh_later"));
    EXPECT_TRUE(log.Has("mesh_emptyfile not in the registry"));

    store.DeleteResource("skel_bones");
    store.add("mesh_other", Mesh());
    log.Restart();
    store.DeleteCategory("level1");  // three registered, two loaded
    EXPECT_EQ(log.Count("WARNING: resource not found: "), 1);
    EXPECT_TRUE(log.Has("resource not found: skel_bones"));
    EXPECT_FALSE(store.IsStored("mesh_tri") || store.IsStored("anim_walk"));
    EXPECT_TRUE(store.IsStored("mesh_other"));
    store.LoadCategory("level1");  // a deleted category loads again from its files
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->verts.size(), 3u);
}

// Records the loading calls and hands out distinct fake handles.
class RecordingLayer : public platform::MixerSoundLayer {
public:
    std::vector<std::string> calls;
    FSOUND_SAMPLE* SampleLoad(int index, const char* file, unsigned mode, int offset, int length) override {
        Record("SampleLoad " + std::to_string(index) + " " + file, mode, offset, length);
        return reinterpret_cast<FSOUND_SAMPLE*>(++next);
    }
    bool SampleSetMode(FSOUND_SAMPLE* sample, unsigned mode) override { return Record("SampleSetMode", Id(sample), mode); }
    FSOUND_STREAM* StreamOpen(const char* file, unsigned mode, int offset, int length) override {
        Record(std::string("StreamOpen ") + file, mode, offset, length);
        return reinterpret_cast<FSOUND_STREAM*>(++next);
    }
    bool StreamSetMode(FSOUND_STREAM* stream, unsigned mode) override { return Record("StreamSetMode", Id(stream), mode); }

private:
    template <class... Numbers>
    bool Record(std::string call, Numbers... numbers) {
        ((call += " " + std::to_string(numbers)), ...);
        calls.push_back(call);
        return true;
    }
    static uintptr_t Id(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }
    uintptr_t next = 0;
};

TEST(SoundLoading, EntriesOpenThroughTheLayerAndLoopOnlyWhenTheRegistrySaysSo) {
    RecordingLayer layer;
    platform::SoundLayer* previous = platform::SetSoundLayer(&layer);
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
    platform::SetSoundLayer(previous);
    EXPECT_EQ(layer.calls, (std::vector<std::string>{
                               "SampleLoad -1 boost.wav 0 0 0", "SampleSetMode 1 2", "SampleLoad -1 hit.wav 0 0 0",
                               "StreamOpen music.wav 0 0 0", "StreamSetMode 3 2", "StreamOpen jingle.wav 0 0 0"}));
    const Sound* boost = store.get<Sound>(Handle("sample_boost"));
    EXPECT_TRUE(boost->sample == reinterpret_cast<FSOUND_SAMPLE*>(1) && boost->name == "sample_boost");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(boost->position[i], 0.0f);
    const SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    EXPECT_TRUE(music->stream == reinterpret_cast<FSOUND_STREAM*>(3) && music->name == "stream_BG Music");
    // Entries without a file store a null handle without calling the layer.
    EXPECT_TRUE(store.get<Sound>(Handle("sample_silent"))->sample == nullptr);
    EXPECT_EQ(store.get<Sound>(Handle("sample_silent"))->name, "");
    EXPECT_EQ(store.get<SoundStream>(Handle("stream_none"))->stream, nullptr);
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
    EXPECT_FALSE(log.Has("ERROR:"));
    Sound* boost = store.get<Sound>(Handle("sample_boost"));
    SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    ASSERT_TRUE(boost && music);
    EXPECT_TRUE(boost->sample == nullptr && boost->name == "sample_boost" && music->stream == nullptr);
    EXPECT_TRUE(store.IsStored("mesh_after"));
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, boost->sample), -1);  // playing it stays harmless
    FSOUND_Close();
}

}  // namespace
