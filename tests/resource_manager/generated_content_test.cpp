// The build's generated content is in the run folder and reads back through
// the engine's own readers (SOIL for the pictures).
#include <gtest/gtest.h>

#include <SOIL/SOIL.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "resource_manager.h"
#include "resource_manager/binary_files.h"

namespace {

std::string RunPath(const std::string& relative) { return std::string(QUELL_RUN_DIR) + "/" + relative; }

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

Picture LoadPicture(const std::string& relative) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels = SOIL_load_image(RunPath(relative).c_str(), &picture.width,
                                            &picture.height, &channels, SOIL_LOAD_RGBA);
    if (!pixels) return picture;
    EXPECT_EQ(channels, 4) << relative;
    picture.rgba.assign(pixels, pixels + size_t(picture.width) * picture.height * 4);
    SOIL_free_image_data(pixels);
    return picture;
}

bool NearlyWhite(const unsigned char* p) { return p[0] > 230 && p[1] > 230 && p[2] > 230; }

}  // namespace

TEST(GeneratedContent, StartupPicturesAreDistinctRgbaWithTheTitle) {
    Picture splash = LoadPicture("resource/art assets/splash_screens/studio_logo_loading.png");
    Picture loading = LoadPicture("resource/art assets/loading.png");
    for (const Picture* p : {&splash, &loading}) {
        ASSERT_EQ(p->width, 1024);
        ASSERT_EQ(p->height, 768);
        EXPECT_EQ(p->At(0, 0)[3], 255);
        // The title is drawn in white across the upper part; the backgrounds
        // hold no white of their own.
        int white = 0;
        for (int y = 150; y < 260; ++y)
            for (int x = 0; x < p->width; ++x) white += NearlyWhite(p->At(x, y));
        EXPECT_GT(white, 2000);
        int whiteBelow = 0;
        for (int y = 500; y < p->height; ++y)
            for (int x = 0; x < p->width; ++x) whiteBelow += NearlyWhite(p->At(x, y));
        EXPECT_EQ(whiteBelow, 0);
    }
    // The centre areas are flat and tell the two pictures apart.
    const unsigned char* a = splash.At(512, 384);
    const unsigned char* b = loading.At(512, 384);
    EXPECT_EQ(std::memcmp(a, splash.At(400, 330), 4), 0);
    EXPECT_EQ(std::memcmp(b, loading.At(620, 450), 4), 0);
    EXPECT_GT(std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]), 150);
    // Their backgrounds differ too: magenta-orange against blue-teal.
    EXPECT_GT(splash.At(10, 10)[0], 150);
    EXPECT_LT(loading.At(10, 10)[0], 60);
    EXPECT_GT(loading.At(10, 10)[2], 100);
}

TEST(GeneratedContent, TexturesDecodeThroughTheStoreLoader) {
    ResourceManager store;
    for (const char* name : {"drone", "box"}) {
        auto texture = store.LoadTexture(RunPath(std::string("resource/art assets/textures/") + name + ".png"));
        ASSERT_NE(texture->data, nullptr) << name;
        EXPECT_EQ(texture->width, 64u);
        EXPECT_EQ(texture->height, 64u);
        EXPECT_EQ(texture->bytesPerPixel, 4u);
    }
}

TEST(GeneratedContent, BoxMeshIsAClosedUnitCube) {
    Mesh box;
    ASSERT_TRUE(LoadMeshFile(RunPath("resource/art assets/meshes/box"), box));
    EXPECT_EQ(box.name, "box");
    EXPECT_EQ(box.verts.size(), 24u);
    ASSERT_EQ(box.triangles.size(), 12u);
    EXPECT_FALSE(box.isIndexed);
    EXPECT_EQ(box.arrays.indices.count, 36u);
    EXPECT_EQ(box.arrays.positions.count, 72u);
    for (const Vertex& v : box.verts)
        for (float c : v.v) EXPECT_FLOAT_EQ(std::fabs(c), 0.5f);
    // Every face normal points away from the centre.
    for (size_t t = 0; t < box.triangles.size(); ++t) {
        Vector n = box.QuickNorm(unsigned(t));
        const float* p = box.GetRawVert(unsigned(t), 0);
        EXPECT_GT(n * Vector(p[0], p[1], p[2]), 0.0f) << t;
        EXPECT_FLOAT_EQ(box.triangles[t].normal[0][0], n.x);
    }
}

TEST(GeneratedContent, DroneMeshSkeletonAndAnimationsFitTogether) {
    const std::string art = "resource/art assets/";
    Mesh drone;
    Skeleton skeleton;
    AnimSet idle, move;
    ASSERT_TRUE(LoadMeshFile(RunPath(art + "meshes/drone"), drone));
    ASSERT_TRUE(LoadSkeletonFile(skeleton, RunPath(art + "skeletons/drone")));
    ASSERT_TRUE(LoadAnimFile(idle, RunPath(art + "animations/drone_idle")));
    ASSERT_TRUE(LoadAnimFile(move, RunPath(art + "animations/drone_move")));

    const size_t bones = skeleton.boneList.size();
    ASSERT_EQ(bones, 3u);
    EXPECT_EQ(skeleton.rootBone, 0);
    for (const Vertex& v : drone.verts) {
        float total = 0.0f;
        for (int k = 0; k < v.numWeights; ++k) {
            EXPECT_LT(size_t(v.boneIndex[k]), bones);
            total += v.skinWeights[k];
        }
        EXPECT_FLOAT_EQ(total, 1.0f);
    }
    EXPECT_EQ(drone.arrays.boneIndices.count, drone.verts.size() * 4);
    for (const AnimSet* set : {&idle, &move}) {
        ASSERT_EQ(set->animTrackList.size(), bones);  // one track per bone
        for (const AnimTrack& track : set->animTrackList) {
            EXPECT_GT(track.length, 0.0);
            ASSERT_FALSE(track.keyFrames.empty());
            EXPECT_EQ(track.keyFrames.back().time, track.length);
            for (const KeyFrame& key : track.keyFrames) EXPECT_NEAR(key.rot.Mag(), 1.0f, 1e-5f);
        }
    }
    // The two animations really differ (the behaviour states switch between them).
    EXPECT_NE(idle.animTrackList[2].keyFrames[0].rot.v.z, move.animTrackList[2].keyFrames[0].rot.v.z);
}
