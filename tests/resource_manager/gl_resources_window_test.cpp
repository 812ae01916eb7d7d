// Textures, the framebuffer, the screen image, context categories and mesh
// buffers on a real OpenGL context: what the renderer and the player see.
#include <SDL.h>

#include "graphics.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/own_pictures.h"
#include "support/screen_pixels.h"
#include "support/temp_folder.h"

using test_support::GLContextTest;
using test_support::LogCapture;

namespace {

// Distinct bytes everywhere; an odd width keeps rows from being 4-aligned.
Texture Pattern(unsigned w, unsigned h, unsigned bpp = 4, int step = 7) {
    Texture t(w, h, bpp);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = (unsigned char)(i * step + 3);
    return t;
}

// What the player sees at (x, y) of the window (y from the bottom) is the texture pixel.
bool Shown(uint32_t rgba, int x, int y, int tolerance) {
    return test_support::Shows(test_support::ReadOwnWindowPixel(x, Module<System>::Instance()->height - 1 - y), rgba,
                               tolerance);
}

bool IsBuffer(unsigned name) { return name != 0 && glIsBuffer(name); }

// Nothing logged as an error and no OpenGL error pending.
void ExpectClean(const LogCapture& log) {
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

class GLTextures : public GLContextTest {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        Sys().width = 640, Sys().height = 480;
    }
    bool FrameTargetsOfSize(int w, int h) {
        bool all = true;
        for (unsigned name : {resources.frameTex0, resources.frameTex1, resources.frameTex2, resources.frameTex3,
                              resources.frameTex4})
            all &= TextureLevelSize(name, 0, GL_TEXTURE_WIDTH) == w && TextureLevelSize(name, 0, GL_TEXTURE_HEIGHT) == h;
        GLint depth[2] = {};
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, resources.depthRenderBufferName);
        glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_WIDTH_EXT, &depth[0]);
        glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_HEIGHT_EXT, &depth[1]);
        return all && depth[0] == w && depth[1] == h;
    }
    ResourceManager resources;
};

TEST_F(GLTextures, UploadReadsBackEqualToTheSourceAndOtherPixelSizesAreRefused) {
    Texture texture = Pattern(5, 3);
    resources.InitGLTexture(texture);
    ASSERT_TRUE(glIsTexture(texture.texID));
    std::vector<unsigned char> back(texture.ByteCount());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(back, std::vector<unsigned char>(texture.data, texture.data + texture.ByteCount()));
    EXPECT_EQ(TextureLevelSize(texture.texID, 1, GL_TEXTURE_WIDTH), 2);  // mipmaps made
    LogCapture log;
    for (unsigned bpp : {1u, 3u}) {
        Texture other = Pattern(4, 4, bpp);
        resources.InitGLTexture(other);
        EXPECT_EQ(other.texID, unsigned(Texture::kNoTexture)) << bpp;
    }
    EXPECT_EQ(log.Count("bytes per pixel not uploaded"), 2) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLTextures, FrameBufferIsCompleteAtWindowSizeRebuiltAtANewOneAndFreedOnce) {
    LogCapture log;
    resources.BuildFrameBuffer();
    EXPECT_TRUE(FrameTargetsOfSize(640, 480));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, resources.frameBufferName);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, resources.frameTex3, 0);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    const unsigned oldTexture = resources.frameTex2, oldFrameBuffer = resources.frameBufferName;
    resources.FreeFrameBuffer();
    EXPECT_FALSE(glIsTexture(oldTexture) || glIsFramebufferEXT(oldFrameBuffer));
    Sys().width = 320, Sys().height = 200;
    resources.BuildFrameBuffer();
    EXPECT_TRUE(FrameTargetsOfSize(320, 200));

    // Freeing twice, across a new context that hands the numbers out again, deletes nobody else's names.
    resources.FreeFrameBuffer();
    Sys().width = 640, Sys().height = 480;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_TRUE(Sys().InitGL());
    std::vector<Texture> textures(8, Pattern(2, 2));
    for (Texture& t : textures) resources.InitGLTexture(t);
    resources.FreeFrameBuffer();
    for (const Texture& t : textures) EXPECT_TRUE(glIsTexture(t.texID)) << t.texID;
    ExpectClean(log);
}

// The test's own start-up pictures, in flat quadrants, stand in for the art.
TEST_F(GLTextures, SplashFillsTheWindowTheRightWayUpAndAResolutionChangeShowsTheLoadingPicture) {
    const uint32_t splash[4] = {0xFF2040C0u, 0xFF20C040u, 0xFFC02040u, 0xFF40C0C0u};
    const uint32_t loading[4] = {0xFF808020u, 0xFF208080u, 0xFF802080u, 0xFF204020u};
    const test_support::RunFolderWith run(QUELL_RUN_DIR, {{ResourceManager::kSplashImageFile, test_support::QuadrantPng(1024, 768, splash)},
                                                          {ResourceManager::kLoadingImageFile, test_support::QuadrantPng(1024, 768, loading)}});
    const test_support::WorkingIn inRun(run.Path());
    ResourceManager& shared = *Module<ResourceManager>::Instance();
    // Graphics::Init (in ChangeResolution) resolves the interface textures,
    // which the game flow loads before it.
    shared.Init();
    shared.LoadCategory("all_first");
    LogCapture log;
    shared.LoadSplashTexture();
    shared.InitLoadingScreenTexture();
    const unsigned splashName = shared.screenImageTexID;
    ASSERT_TRUE(glIsTexture(splashName));
    Module<Graphics>::Instance()->DrawLoadingScreen();  // before Graphics::Init
    // y counts from the bottom: the picture's top rows are at the top.
    EXPECT_TRUE(Shown(splash[0], 160, 360, 2) && Shown(splash[1], 480, 360, 2) && Shown(splash[2], 160, 120, 2) &&
                Shown(splash[3], 480, 120, 2));
    EXPECT_TRUE(Shown(splash[0], 1, 478, 2)) << "top left";
    EXPECT_TRUE(Shown(splash[3], 638, 1, 2)) << "bottom right";

    shared.LoadLoadingTexture();  // takes the slot, not uploaded; the splash's texture is gone
    EXPECT_TRUE(shared.screenImageTexID == 0u && !glIsTexture(splashName));
    ASSERT_TRUE(Sys().ChangeResolution(800, 600, false));
    const unsigned first = shared.screenImageTexID;
    ASSERT_TRUE(glIsTexture(first));
    Module<Graphics>::Instance()->DrawLoadingScreen();  // the first frame at the new size
    EXPECT_TRUE(Shown(loading[0], 200, 450, 2) && Shown(loading[3], 600, 150, 2));
    EXPECT_EQ(TextureLevelSize(shared.frameTex0, 0, GL_TEXTURE_WIDTH), 800);
    ASSERT_TRUE(Sys().ChangeResolution(640, 480, false));  // replaces the picture's texture, no leak
    EXPECT_TRUE(glIsTexture(shared.screenImageTexID) && !glIsTexture(first));
    EXPECT_EQ(TextureLevelSize(shared.frameTex0, 0, GL_TEXTURE_WIDTH), 640);
    ExpectClean(log);
}

// Two triangles covering the left half of the view (x -1..0), skinned to bone 7, as flat arrays too.
Mesh LeftHalf(bool indexed = false, bool interleaved = false) {
    Mesh mesh;
    mesh.name = "left half";
    const float positions[12] = {-1, -1, 0, 0, -1, 0, 0, 1, 0, -1, 1, 0}, texCoords[8] = {0, 10, 1, 11, 2, 12, 3, 13};
    const float normals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, skin[16] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    const float bones[16] = {7, 0, 0, 0, 7, 0, 0, 0, 7, 0, 0, 0, 7};
    const int indices[6] = {0, 1, 2, 2, 3, 0};
    for (int i = 0; i < 4; ++i) {
        Vertex v(positions[3 * i], positions[3 * i + 1], positions[3 * i + 2]);
        v.boneIndex[0] = 7, v.skinWeights[0] = 1.0f;
        mesh.AddVert(v);
    }
    mesh.AddTriangle(0, 1, 2), mesh.AddTriangle(2, 3, 0);
    mesh.arrays.indices.Assign(indices, 6), mesh.arrays.positions.Assign(positions, 12);
    mesh.arrays.normals.Assign(normals, 12), mesh.arrays.texCoords.Assign(texCoords, 8);
    mesh.arrays.skinWeights.Assign(skin, 16), mesh.arrays.boneIndices.Assign(bones, 16);
    mesh.isIndexed = indexed, mesh.isInterleaved = interleaved;
    return mesh;
}

class ContextCategories : public GLContextTest {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;  // no context: nothing may be uploaded
        std::string registry = "<registry>";
        for (const char* entry : {"tex_cc_rock\" loadContext=\"true", "tex_cc_lazy", "tex_cc_missing\" loadContext=\"true",
                                  "mesh_cc_plain\" loadContext=\"true\" tex=\"tex_cc_rock",
                                  "mesh_cc_skinned\" loadContext=\"true\" animated=\"true",
                                  "mesh_cc_indexed\" loadContext=\"true\" animated=\"true",
                                  "mesh_cc_interleaved\" loadContext=\"true", "mesh_cc_tied\" tex=\"tex_cc_rock",
                                  "mesh_cc_missing\" loadContext=\"true"})
            registry += std::string("<r loadCategory=\"cc\" registry=\"") + entry + "\"/>";
        folder.WriteFile("registry.xml", registry + "</registry>");
        resources.LoadRegistry((folder.Path() + "/registry.xml").c_str());
        resources.add("tex_cc_rock", Pattern(4, 4, 4, 0));  // every byte 3
        resources.add("tex_cc_lazy", Pattern(4, 4));
        for (const char* name : {"mesh_cc_plain", "mesh_cc_skinned", "mesh_cc_tied"}) resources.add(name, LeftHalf());
        resources.add("mesh_cc_indexed", LeftHalf(true));
        resources.add("mesh_cc_interleaved", LeftHalf(true, true));
        resources.LoadContextCategory("cc");
    }
    Texture& Tex(const char* name) { return *resources.get<Texture>(Handle(name)); }
    Mesh& MeshOf(const char* name) { return *resources.get<Mesh>(Handle(name)); }
    // Every buffer name the category's meshes hold.
    std::vector<unsigned> Buffers() {
        std::vector<unsigned> buffers;
        for (const char* name : {"mesh_cc_plain", "mesh_cc_skinned", "mesh_cc_indexed", "mesh_cc_interleaved"}) {
            const Mesh& m = MeshOf(name);
            for (unsigned b : {m.vboVertName, m.vboTexCoordName, m.vboNormalName, m.vboInterleavedName,
                               m.vboSkinWeightName, m.vboBoneIndexName, m.vboIndexName})
                if (b != 0) buffers.push_back(b);
        }
        return buffers;
    }

    test_support::TempFolder folder;
    ResourceManager resources;
};

TEST_F(ContextCategories, TexturesAreUploadedMeshesTiedAndASecondLoadKeepsTheFirstNames) {
    const unsigned rock = Tex("tex_cc_rock").texID;
    EXPECT_TRUE(glIsTexture(rock));
    EXPECT_EQ(Tex("tex_cc_lazy").texID, unsigned(Texture::kNoTexture));  // no loadContext
    EXPECT_TRUE(MeshOf("mesh_cc_plain").texID == rock && MeshOf("mesh_cc_tied").texID == rock);
    EXPECT_FALSE(MeshOf("mesh_cc_tied").hasMeshBuffers);  // tied without loadContext, but no buffers

    // Level one loads several times on the way to play: nothing leaks, nothing a mesh holds is freed.
    const std::vector<unsigned> buffers = Buffers();
    LogCapture log;
    resources.LoadContextCategory("cc");
    EXPECT_TRUE(log.Has("category = cc\n") && log.Has("handle.GetID() = tex_cc_rock\n"));
    // Registered, never loaded: passed over with the store's message.
    EXPECT_TRUE(log.Has("tex_cc_missing has not been loaded") && log.Has("mesh_cc_missing has not been loaded"));
    EXPECT_TRUE(Tex("tex_cc_rock").texID == rock && Buffers() == buffers && glIsTexture(rock) && IsBuffer(buffers[0]));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    Tex("tex_cc_rock").texID = 4242;  // ties again after a rename, without OpenGL
    resources.BuildContextCategory("cc");
    EXPECT_TRUE(MeshOf("mesh_cc_plain").texID == 4242u && MeshOf("mesh_cc_tied").texID == 4242u);
}

TEST_F(ContextCategories, TheBuilderIsChosenByTheMeshFlags) {
    const Mesh& plain = MeshOf("mesh_cc_plain");  // not indexed, not animated
    EXPECT_TRUE(plain.hasMeshBuffers && !plain.isIndexed && !plain.hasAttribBuffers);
    const ArrayBuffer<float> corners = MeshResource().GetAttributeArray(plain, ATTRIB_POSITION);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, plain.vboVertName), std::vector<float>(corners.data, corners.data + 18));
    EXPECT_EQ(BufferBytes(GL_ARRAY_BUFFER, plain.vboTexCoordName), 2 * 3 * 2 * 4);
    const Mesh& skinned = MeshOf("mesh_cc_skinned");  // not indexed, animated
    ASSERT_TRUE(skinned.hasAttribBuffers);
    const std::vector<float> bones = ReadBuffer(GL_ARRAY_BUFFER, skinned.vboBoneIndexName);
    EXPECT_TRUE(bones.size() == 24u && bones[0] == 7.0f && bones[4] == 7.0f);
    const Mesh& indexed = MeshOf("mesh_cc_indexed");  // indexed, animated
    EXPECT_TRUE(indexed.isIndexed && !indexed.isInterleaved && indexed.hasAttribBuffers);
    EXPECT_EQ(BufferBytes(GL_ELEMENT_ARRAY_BUFFER, indexed.vboIndexName), 6 * 4);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, indexed.vboTexCoordName),
              std::vector<float>(indexed.arrays.texCoords.data, indexed.arrays.texCoords.data + 8));
    EXPECT_EQ(BufferBytes(GL_ARRAY_BUFFER, indexed.vboSkinWeightName), 16 * 4);
    const Mesh& interleaved = MeshOf("mesh_cc_interleaved");  // indexed, interleaved
    EXPECT_TRUE(IsBuffer(interleaved.vboInterleavedName) && interleaved.vboVertName == 0u);
    EXPECT_FALSE(interleaved.hasAttribBuffers);
    const std::vector<float> block = ReadBuffer(GL_ARRAY_BUFFER, interleaved.vboInterleavedName);
    ASSERT_EQ(block.size(), 4u * 8);  // vertex 3: texture coordinate, normal, position
    EXPECT_EQ(std::vector<float>(block.begin() + 24, block.end()), (std::vector<float>{3, 13, 0, 0, 1, -1, 1, 0}));
    // A file may leave out normals and texture coordinates: the interleaved block reads zeros there.
    Mesh shortArrays = LeftHalf(true, true);
    shortArrays.arrays.normals.Resize(0);
    const float oneCoord[2] = {5, 6};
    shortArrays.arrays.texCoords.Assign(oneCoord, 2);
    LogCapture log;
    MeshResource().BuildInterleavedBuffers(shortArrays, false);
    EXPECT_TRUE(log.Has("normal array holds 0 floats, 12 needed") &&
                log.Has("texture coordinate array holds 2 floats, 8 needed")) << log.Text();
    const std::vector<float> shortBlock = ReadBuffer(GL_ARRAY_BUFFER, shortArrays.vboInterleavedName);
    ASSERT_EQ(shortBlock.size(), 32u);
    EXPECT_EQ(std::vector<float>(shortBlock.begin(), shortBlock.begin() + 13),
              (std::vector<float>{5, 6, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// Unloading a category, or the store's Kill at shutdown, deletes every name.
TEST_F(ContextCategories, UnloadingAndKillDeleteEveryNameAndTolerateRepeats) {
    const unsigned texture = Tex("tex_cc_rock").texID;
    const std::vector<unsigned> buffers = Buffers();
    ASSERT_EQ(buffers.size(), 3u + 5u + 6u + 2u);
    LogCapture log;
    resources.UnloadContextCategory("cc");
    EXPECT_TRUE(!glIsTexture(texture) && Tex("tex_cc_rock").texID == 0u);
    for (unsigned b : buffers) EXPECT_FALSE(glIsBuffer(b)) << b;
    EXPECT_TRUE(Buffers().empty() && MeshOf("mesh_cc_plain").hasMeshBuffers);  // the flags stay
    resources.UnloadContextCategory("cc");
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();

    resources.LoadContextCategory("cc");
    resources.LoadSplashTexture();
    resources.InitLoadingScreenTexture();
    const unsigned names[] = {resources.screenImageTexID, Tex("tex_cc_rock").texID, Buffers().front()};
    ASSERT_TRUE(glIsTexture(names[0]) && glIsTexture(names[1]) && IsBuffer(names[2]));
    log.Restart();
    resources.Kill();
    EXPECT_FALSE(glIsTexture(names[0]) || glIsTexture(names[1]) || glIsBuffer(names[2]));
    EXPECT_TRUE(resources.screenImageTexID == 0u && !resources.screenImage && !resources.IsStored("tex_cc_rock"));
    ExpectClean(log);
}

TEST_F(ContextCategories, ANewContextGetsEverythingAgainUnderNewNames) {
    MeshOf("mesh_cc_skinned").texID = 9999;  // a name no stored texture holds
    MeshOf("mesh_cc_indexed").texID = 0;
    const unsigned oldRock = Tex("tex_cc_rock").texID;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);  // a platform that makes a new context on a mode change
    ASSERT_TRUE(Sys().InitGL());
    ASSERT_FALSE(glIsTexture(oldRock)) << "expected a new context";
    resources.InitLoadingScreenTexture();  // as on a resolution change: these take the first numbers
    resources.BuildFrameBuffer();
    LogCapture log;
    resources.ReloadContextData();
    const unsigned rock = Tex("tex_cc_rock").texID, lazy = Tex("tex_cc_lazy").texID;
    EXPECT_TRUE(glIsTexture(rock) && glIsTexture(lazy));  // never uploaded before: uploaded now
    for (unsigned other : {lazy, resources.screenImageTexID, resources.frameTex0, resources.frameTex4})
        EXPECT_NE(rock, other);
    unsigned char texels[4 * 4 * 4] = {};
    glBindTexture(GL_TEXTURE_2D, rock);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_TRUE(texels[63] == 3 && MeshOf("mesh_cc_plain").texID == rock && MeshOf("mesh_cc_tied").texID == rock);
    EXPECT_TRUE(MeshOf("mesh_cc_skinned").texID == 0u && MeshOf("mesh_cc_indexed").texID == 0u);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, MeshOf("mesh_cc_plain").vboVertName).size(), 18u);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, MeshOf("mesh_cc_interleaved").vboInterleavedName).size(), 32u);
    EXPECT_TRUE(IsBuffer(MeshOf("mesh_cc_indexed").vboSkinWeightName) && !MeshOf("mesh_cc_tied").hasMeshBuffers);
    EXPECT_TRUE(test_support::InOrder(log.Text(), {"freeing frame buffer", "building frame buffer", "reloading textures",
                                                   "Reloading texture", "reloading mesh", "mesh.name = left half",
                                                   "finished loading context"}))
        << log.Text();
    ExpectClean(log);
}

}  // namespace
