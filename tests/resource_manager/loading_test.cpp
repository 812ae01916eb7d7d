// Loading registry entries by name and category, deleting them again, the
// store listing, and the sound entries' calls into the sound layer.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/sound_layer.h"
#include "resource_manager.h"
#include "resource_manager/binary_test_data.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::LogCapture;

using test_support::TempFolder;

namespace {

// A 2 x 2 uncompressed 32-bit image, every pixel red 10, green 20, blue 30.
std::string SolidTga() {
    std::string bytes(18, '\0');
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = 2;
    bytes[14] = 2;
    bytes[16] = 32;
    bytes[17] = 0x28;  // top-left origin, 8 alpha bits
    for (int i = 0; i < 4; ++i) bytes += std::string{char(30), char(20), char(10), char(255)};
    return bytes;
}

class Loading : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string data = folder.Path() + "/data/";
        folder.WriteFile("data/red.tga", SolidTga());
        ASSERT_TRUE(SaveMeshFile(data + "tri", testdata::SmallMesh()));
        ASSERT_TRUE(SaveSkeletonFile(testdata::SmallSkeleton(), data + "bones"));
        ASSERT_TRUE(SaveAnimFile(testdata::SmallAnimSet(), data + "walk"));
        folder.WriteFile("registry.xml", "<registry>\n"
            "<r registry=\"mesh_tri\" file=\"" + data + "tri\" loadCategory=\"level1\"/>\n"
            "<r registry=\"skel_bones\" file=\"" + data + "bones\" loadCategory=\"level1\"/>\n"
            "<r registry=\"anim_walk\" file=\"" + data + "walk\" loadCategory=\"level1\"/>\n"
            "<r registry=\"tex_red\" file=\"" + data + "red.tga\" loadCategory=\"level2\"/>\n"
            "<r registry=\"tex_blank\"/>\n"
            "<r registry=\"tex_unreadable\" file=\"" + data + "nothing.png\"/>\n"
            "<r registry=\"mesh_plain\" loadCategory=\"level2\"/>\n"
            "<r registry=\"mesh_later\" file=\"" + data + "later\"/>\n"
            "<r registry=\"mesh_emptyfile\" file=\"\"/>\n"
            "<r registry=\"font_big\" file=\"" + data + "big.fnt\"/>\n"
            "<r registry=\"noprefix\"/>\n"
            "</registry>\n");
        store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    }
    TempFolder folder;
    ResourceManager store;
};

TEST_F(Loading, EachBinaryTypeIsReadFromItsFile) {
    EXPECT_EQ(store.LoadResource("mesh_tri"), 0);
    EXPECT_EQ(store.LoadResource("skel_bones"), 0);
    EXPECT_EQ(store.LoadResource("anim_walk"), 0);
    Mesh* mesh = store.GetMesh(Handle("mesh_tri"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->verts.size(), 3u);
    EXPECT_EQ(mesh->triangles.size(), 1u);
    Skeleton* skeleton = store.GetSkeleton(Handle("skel_bones"));
    ASSERT_NE(skeleton, nullptr);
    EXPECT_EQ(skeleton->boneList.size(), 3u);
    AnimSet* walk = store.GetAnimation(Handle("anim_walk"));
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->animTrackList.size(), 2u);
}

TEST_F(Loading, TexturesAreDecodedOrStoredEmpty) {
    EXPECT_EQ(store.LoadResource("tex_red"), 0);
    Texture* red = store.GetTexture(Handle("tex_red"));
    ASSERT_NE(red, nullptr);
    ASSERT_EQ(red->width, 2u);
    EXPECT_EQ(red->GetPixel(1, 1), 0xFF1E140Au);  // R 10, G 20, B 30, A 255
    EXPECT_EQ(red->texID, unsigned(Texture::NO_TEXTURE));    // no OpenGL while loading

    LogCapture log;
    EXPECT_EQ(store.LoadResource("tex_unreadable"), 0);
    EXPECT_TRUE(log.Has("Error loading texture!"));
    ASSERT_NE(store.GetTexture(Handle("tex_unreadable")), nullptr);
    EXPECT_EQ(store.GetTexture(Handle("tex_unreadable"))->data, nullptr);

    EXPECT_EQ(store.LoadResource("tex_blank"), 0);
    ASSERT_NE(store.GetTexture(Handle("tex_blank")), nullptr);
    EXPECT_EQ(store.GetTexture(Handle("tex_blank"))->width, 0u);
}

TEST_F(Loading, ReturnCodesAndTheirMessages) {
    {
        LogCapture log;
        EXPECT_EQ(store.LoadResource("mesh_unregistered"), -1);
        EXPECT_TRUE(log.Has("ERROR: "));
        EXPECT_TRUE(log.Has("mesh_unregistered not in the registry"));
    }
    {
        LogCapture log;  // a "file" attribute with nothing in it is no usable entry
        EXPECT_EQ(store.LoadResource("mesh_emptyfile"), -1);
        EXPECT_TRUE(log.Has("mesh_emptyfile not in the registry"));
    }
    for (const char* name : {"font_big", "noprefix"}) {
        LogCapture log;
        EXPECT_EQ(store.LoadResource(name), -2);
        EXPECT_TRUE(log.Has(std::string(name) +
                                 " is an invalid resource type. Check the name prefix."));
        EXPECT_FALSE(store.IsStored(name));
    }
    {
        LogCapture log;
        EXPECT_EQ(store.LoadResource("mesh_later"), 1);
        EXPECT_TRUE(log.Has("failed to load resource mesh_later with file name " +
                                 folder.Path() + "/data/later"));
        EXPECT_FALSE(store.IsStored("mesh_later"));
    }
    // Nothing was stored, so the next call reads the file again.
    ASSERT_TRUE(SaveMeshFile(folder.Path() + "/data/later", testdata::SmallMesh()));
    EXPECT_EQ(store.LoadResource("mesh_later"), 0);
    EXPECT_EQ(store.GetMesh(Handle("mesh_later"))->verts.size(), 3u);
}

TEST_F(Loading, StoredNamesAreNotReadAgain) {
    EXPECT_EQ(store.LoadResource("mesh_plain"), 0);  // no file: an empty mesh
    ASSERT_NE(store.GetMesh(Handle("mesh_plain")), nullptr);
    EXPECT_TRUE(store.GetMesh(Handle("mesh_plain"))->verts.empty());

    Mesh mine;
    mine.name = "mine";
    store.add("mesh_tri", mine);
    LogCapture log;
    EXPECT_EQ(store.LoadResource("mesh_tri"), 0);
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->name, "mine");
    // Already stored is success even for a name the registry does not know.
    store.add("mesh_unregistered", mine);
    EXPECT_EQ(store.LoadResource("mesh_unregistered"), 0);
    EXPECT_EQ(store.LoadResourceByCategory("mesh_unregistered", "level1"), 0);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(Loading, LoadingByCategoryLoadsOnlyThatCategory) {
    EXPECT_EQ(store.LoadResourceByCategory("tex_red", "level1"), 0);
    EXPECT_FALSE(store.IsStored("tex_red"));
    EXPECT_EQ(store.LoadResourceByCategory("tex_red", "level2"), 0);
    EXPECT_TRUE(store.IsStored("tex_red"));
    EXPECT_EQ(store.LoadResourceByCategory("mesh_none", "level2"), -1);
    EXPECT_EQ(store.LoadResourceByCategory("mesh_emptyfile", ""), -1);
    EXPECT_EQ(store.LoadResourceByCategory("font_big", ""), -2);

    LogCapture log;
    store.LoadCategory("level1");
    EXPECT_TRUE(log.Has("LoadCategory()\ncategory = level1\n"));
    for (const char* name : {"mesh_tri", "skel_bones", "anim_walk"}) EXPECT_TRUE(store.IsStored(name));
    EXPECT_FALSE(store.IsStored("mesh_plain"));
    EXPECT_FALSE(log.Has("ERROR:"));
}

TEST_F(Loading, TheEmptyCategoryIsEveryEntryWithoutOne) {
    LogCapture log;
    store.LoadCategory("");
    for (const char* name : {"tex_blank", "tex_unreadable"}) EXPECT_TRUE(store.IsStored(name));
    for (const char* name : {"mesh_tri", "tex_red", "mesh_plain", "mesh_later", "font_big"})
        EXPECT_FALSE(store.IsStored(name)) << name;
    // Each failing entry reported itself; the rest still loaded.
    EXPECT_TRUE(log.Has("font_big is an invalid resource type"));
    EXPECT_TRUE(log.Has("failed to load resource mesh_later"));
    EXPECT_TRUE(log.Has("mesh_emptyfile not in the registry"));
}

TEST_F(Loading, DeletingByNameAndCategory) {
    store.LoadResource("mesh_tri");
    store.LoadResource("anim_walk");
    store.add("mesh_other", Mesh());
    {
        LogCapture log;
        store.DeleteCategory("level1");  // three registered, two loaded
        EXPECT_EQ(log.Count("WARNING: resource not found: "), 1);
        EXPECT_TRUE(log.Has("resource not found: skel_bones"));
    }
    EXPECT_FALSE(store.IsStored("mesh_tri"));
    EXPECT_FALSE(store.IsStored("anim_walk"));
    EXPECT_TRUE(store.IsStored("mesh_other"));
    // A deleted category loads again from its files.
    store.LoadCategory("level1");
    EXPECT_EQ(store.GetMesh(Handle("mesh_tri"))->verts.size(), 3u);

    EXPECT_EQ(store.DeleteResource("mesh_other"), 0);
    LogCapture log;
    EXPECT_EQ(store.DeleteResource("mesh_other"), -1);
    EXPECT_TRUE(log.Has("resource not found: mesh_other"));
}

std::string Address(const Container* holder) {
    std::ostringstream text;
    text << std::hex << reinterpret_cast<uintptr_t>(holder);
    return text.str();
}

TEST_F(Loading, TheStoreListingHasOneLinePerResource) {
    EXPECT_EQ(store.DescribeStore(), "");
    store.LoadResource("tex_red");
    store.add("mesh_loose", Mesh());
    const std::string listing = store.DescribeStore();
    const std::string red = "tex_red      category: level2      at: " +
                            Address(store.GetReferenceFromHandle(Handle("tex_red"))) + "\n";
    const std::string loose = "mesh_loose      category:       at: " +
                              Address(store.GetReferenceFromHandle(Handle("mesh_loose"))) + "\n";
    EXPECT_EQ(listing.size(), red.size() + loose.size());
    EXPECT_NE(listing.find(red), std::string::npos) << listing;
    EXPECT_NE(listing.find(loose), std::string::npos) << listing;
}

// ---- Sound entries ------------------------------------------------------------------

// Records the loading calls; hands out distinct fake handles.
class RecordingLayer : public platform::SoundLayer {
public:
    std::vector<std::string> calls;

    bool Init(int, int, unsigned) override { return true; }
    void Close() override {}
    FSOUND_SAMPLE* SampleLoad(int index, const char* file, unsigned mode, int offset, int length) override {
        calls.push_back("SampleLoad " + std::to_string(index) + " " + file + " " + std::to_string(mode) +
                        " " + std::to_string(offset) + " " + std::to_string(length));
        return reinterpret_cast<FSOUND_SAMPLE*>(++next);
    }
    bool SampleSetMode(FSOUND_SAMPLE* sample, unsigned mode) override {
        calls.push_back("SampleSetMode " + Id(sample) + " " + std::to_string(mode));
        return true;
    }
    void SampleFree(FSOUND_SAMPLE*) override { calls.push_back("SampleFree"); }
    int PlaySound(int, FSOUND_SAMPLE*) override { return -1; }
    bool StopSound(int) override { return false; }
    FSOUND_STREAM* StreamOpen(const char* file, unsigned mode, int offset, int length) override {
        calls.push_back(std::string("StreamOpen ") + file + " " + std::to_string(mode) + " " +
                        std::to_string(offset) + " " + std::to_string(length));
        return reinterpret_cast<FSOUND_STREAM*>(++next);
    }
    bool StreamSetMode(FSOUND_STREAM* stream, unsigned mode) override {
        calls.push_back("StreamSetMode " + Id(stream) + " " + std::to_string(mode));
        return true;
    }
    int StreamPlay(int, FSOUND_STREAM*) override { return -1; }
    bool StreamStop(FSOUND_STREAM*) override { return false; }
    bool StreamClose(FSOUND_STREAM*) override {
        calls.push_back("StreamClose");
        return true;
    }
    bool SetAttributes3D(int, const float*, const float*) override { return false; }
    void SetListenerAttributes3D(const float*, const float*, float, float, float, float, float,
                                 float) override {}
    void SetRolloffFactor3D(float) override {}
    bool SetVolume(int, int) override { return false; }
    int GetVolume(int) override { return 0; }
    int GetChannelsPlaying() override { return 0; }

private:
    static std::string Id(const void* handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }
    uintptr_t next = 0;
};

class SoundLoading : public ::testing::Test {
protected:
    void SetUp() override {
        previous = platform::SetSoundLayer(&layer);
        folder.WriteFile("registry.xml", R"(<registry>
            <r registry="sample_boost" file="boost.wav" loop="true"/>
            <r registry="sample_hit" file="hit.wav"/>
            <r registry="sample_silent"/>
            <r registry="stream_BG Music" file="music.wav" loop="true"/>
            <r registry="stream_jingle" file="jingle.wav" loop="false"/>
            <r registry="stream_none" loop="true"/>
        </registry>)");
        store.LoadRegistry((folder.Path() + "/registry.xml").c_str());
    }
    void TearDown() override { platform::SetSoundLayer(previous); }

    RecordingLayer layer;
    platform::SoundLayer* previous = nullptr;
    TempFolder folder;
    ResourceManager store;
};

TEST_F(SoundLoading, SamplesLoadIntoAnyFreeSlotAndLoopWhenTheRegistrySaysSo) {
    EXPECT_EQ(store.LoadResource("sample_boost"), 0);
    EXPECT_EQ(store.LoadResource("sample_hit"), 0);
    EXPECT_EQ(layer.calls, (std::vector<std::string>{"SampleLoad -1 boost.wav 0 0 0", "SampleSetMode 1 2",
                                                      "SampleLoad -1 hit.wav 0 0 0"}));
    Sound* boost = store.get<Sound>(Handle("sample_boost"));
    ASSERT_NE(boost, nullptr);
    EXPECT_EQ(boost->sample, reinterpret_cast<FSOUND_SAMPLE*>(1));
    EXPECT_EQ(boost->name, "sample_boost");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(boost->position[i], 0.0f);
}

TEST_F(SoundLoading, StreamsOpenAndLoopOnlyWhenTheRegistrySaysSo) {
    EXPECT_EQ(store.LoadResource("stream_BG Music"), 0);
    EXPECT_EQ(store.LoadResource("stream_jingle"), 0);
    EXPECT_EQ(layer.calls, (std::vector<std::string>{"StreamOpen music.wav 0 0 0", "StreamSetMode 1 2",
                                                      "StreamOpen jingle.wav 0 0 0"}));
    SoundStream* music = store.get<SoundStream>(Handle("stream_BG Music"));
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->stream, reinterpret_cast<FSOUND_STREAM*>(1));
    EXPECT_EQ(music->name, "stream_BG Music");
}

TEST_F(SoundLoading, EntriesWithoutAFileStoreANullHandleWithoutCallingTheLayer) {
    EXPECT_EQ(store.LoadResource("sample_silent"), 0);
    EXPECT_EQ(store.LoadResource("stream_none"), 0);
    EXPECT_TRUE(layer.calls.empty());
    ASSERT_NE(store.get<Sound>(Handle("sample_silent")), nullptr);
    EXPECT_EQ(store.get<Sound>(Handle("sample_silent"))->sample, nullptr);
    EXPECT_EQ(store.get<Sound>(Handle("sample_silent"))->name, "");
    ASSERT_NE(store.get<SoundStream>(Handle("stream_none")), nullptr);
    EXPECT_EQ(store.get<SoundStream>(Handle("stream_none"))->stream, nullptr);
}

}  // namespace
