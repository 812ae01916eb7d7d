// Context categories and mesh buffers on a real OpenGL context: uploads by
// category, the builder each mesh gets, freeing, the rebuild after a new
// context, and buffers that draw what they hold.
#include <SDL.h>

#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

using test_support::GLContextTest;
using test_support::LogCapture;

namespace {

const unsigned NO_TEXTURE = Texture::NO_TEXTURE;  // a value copy (no out-of-class definition)

const char* const REGISTRY =
    "<registry>\n"
    "  <t registry=\"tex_cc_rock\" file=\"x.png\" loadCategory=\"cc\" loadContext=\"true\" />\n"
    "  <t registry=\"tex_cc_lazy\" file=\"y.png\" loadCategory=\"cc\" />\n"
    "  <t registry=\"tex_cc_missing\" file=\"z.png\" loadCategory=\"cc\" loadContext=\"true\" />\n"
    "  <m registry=\"mesh_cc_plain\" loadCategory=\"cc\" loadContext=\"true\" tex=\"tex_cc_rock\" />\n"
    "  <m registry=\"mesh_cc_skinned\" loadCategory=\"cc\" loadContext=\"true\" animated=\"true\" />\n"
    "  <m registry=\"mesh_cc_indexed\" loadCategory=\"cc\" loadContext=\"true\" animated=\"true\" />\n"
    "  <m registry=\"mesh_cc_interleaved\" loadCategory=\"cc\" loadContext=\"true\" />\n"
    "  <m registry=\"mesh_cc_tied\" loadCategory=\"cc\" tex=\"tex_cc_rock\" />\n"
    "  <m registry=\"mesh_cc_missing\" loadCategory=\"cc\" loadContext=\"true\" />\n"
    "</registry>\n";

Texture Solid(unsigned char value) {
    Texture t(4, 4, 4);
    for (size_t i = 0; i < t.ByteCount(); ++i) t.data[i] = value;
    return t;
}

// Two triangles covering the left half of the view (x -1..0, y -1..1), with
// skin data (bone 7) and the same shape as flat arrays.
Mesh LeftHalf() {
    Mesh mesh;
    mesh.name = "left half";
    const float positions[12] = {-1, -1, 0, 0, -1, 0, 0, 1, 0, -1, 1, 0};
    const float normals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const float texCoords[8] = {0, 10, 1, 11, 2, 12, 3, 13};
    const float weights[16] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    const float bones[16] = {7, 0, 0, 0, 7, 0, 0, 0, 7, 0, 0, 0, 7, 0, 0, 0};
    const int indices[6] = {0, 1, 2, 2, 3, 0};
    for (int i = 0; i < 4; ++i) {
        Vertex v(positions[3 * i], positions[3 * i + 1], positions[3 * i + 2]);
        v.boneIndex[0] = 7;
        v.skinWeights[0] = 1.0f;
        mesh.AddVert(v);
    }
    mesh.AddTriangle(0, 1, 2);
    mesh.AddTriangle(2, 3, 0);
    mesh.arrays.indices.Assign(indices, 6);
    mesh.arrays.positions.Assign(positions, 12);
    mesh.arrays.normals.Assign(normals, 12);
    mesh.arrays.texCoords.Assign(texCoords, 8);
    mesh.arrays.skinWeights.Assign(weights, 16);
    mesh.arrays.boneIndices.Assign(bones, 16);
    return mesh;
}

Mesh Flagged(bool indexed, bool interleaved) {
    Mesh mesh = LeftHalf();
    mesh.isIndexed = indexed;
    mesh.isInterleaved = interleaved;
    return mesh;
}

bool IsBuffer(unsigned name) { return name != 0 && glIsBuffer(name); }

// The red byte of the first texel of a 4 x 4 texture.
int FirstTexelRed(unsigned name) {
    unsigned char texels[4 * 4 * 4] = {};
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return texels[0];
}

class ContextCategories : public GLContextTest {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        folder.WriteFile("registry.xml", REGISTRY);
        resources.LoadRegistry((folder.Path() + "/registry.xml").c_str());
        resources.add("tex_cc_rock", Solid(200));
        resources.add("tex_cc_lazy", Solid(100));
        resources.add("mesh_cc_plain", Flagged(false, false));
        resources.add("mesh_cc_skinned", Flagged(false, false));
        resources.add("mesh_cc_indexed", Flagged(true, false));
        resources.add("mesh_cc_interleaved", Flagged(true, true));
        resources.add("mesh_cc_tied", Flagged(false, false));
    }
    Texture& Tex(const char* name) { return *resources.get<Texture>(Handle(name)); }
    Mesh& MeshOf(const char* name) { return *resources.get<Mesh>(Handle(name)); }

    test_support::TempFolder folder;
    ResourceManager resources;
};

// ---- Loading a category ----------------------------------------------------------

TEST_F(ContextCategories, TexturesAreUploadedAndMeshesTiedToThem) {
    LogCapture log;
    resources.LoadContextCategory("cc");
    const unsigned rock = Tex("tex_cc_rock").texID;
    EXPECT_TRUE(glIsTexture(rock));
    EXPECT_EQ(Tex("tex_cc_lazy").texID, NO_TEXTURE);  // no loadContext
    EXPECT_EQ(MeshOf("mesh_cc_plain").texID, rock);
    // Tied without loadContext, but given no buffers.
    EXPECT_EQ(MeshOf("mesh_cc_tied").texID, rock);
    EXPECT_FALSE(MeshOf("mesh_cc_tied").hasMeshBuffers);
    EXPECT_TRUE(log.Has("category = cc\n"));
    EXPECT_TRUE(log.Has("handle.GetID() = tex_cc_rock\n"));
    // Registered but never loaded: reported and passed over.
    EXPECT_TRUE(log.Has("tex_cc_missing has not been loaded"));
    EXPECT_TRUE(log.Has("mesh_cc_missing has not been loaded"));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));

    // Ties again after the texture changed its name, without OpenGL.
    Tex("tex_cc_rock").texID = 4242;
    resources.BuildContextCategory("cc");
    EXPECT_EQ(MeshOf("mesh_cc_plain").texID, 4242u);
    EXPECT_EQ(MeshOf("mesh_cc_tied").texID, 4242u);
    Tex("tex_cc_rock").texID = rock;
}

TEST_F(ContextCategories, TheBuilderIsChosenByTheMeshFlags) {
    resources.LoadContextCategory("cc");

    const Mesh& plain = MeshOf("mesh_cc_plain");  // not indexed, not animated
    EXPECT_TRUE(plain.hasMeshBuffers);
    EXPECT_FALSE(plain.isIndexed);
    EXPECT_EQ(BufferBytes(GL_ARRAY_BUFFER, plain.vboVertName), 2 * 3 * 3 * 4);
    EXPECT_EQ(BufferBytes(GL_ARRAY_BUFFER, plain.vboTexCoordName), 2 * 3 * 2 * 4);
    EXPECT_FALSE(plain.hasAttribBuffers);

    const Mesh& skinned = MeshOf("mesh_cc_skinned");  // not indexed, animated
    ASSERT_TRUE(skinned.hasAttribBuffers);
    const std::vector<float> bones = ReadBuffer(GL_ARRAY_BUFFER, skinned.vboBoneIndexName);
    ASSERT_EQ(bones.size(), 24u);
    EXPECT_EQ(bones[0], 7.0f);
    EXPECT_EQ(bones[4], 7.0f);

    const Mesh& indexed = MeshOf("mesh_cc_indexed");  // indexed, animated
    EXPECT_TRUE(indexed.isIndexed);
    EXPECT_FALSE(indexed.isInterleaved);
    EXPECT_EQ(BufferBytes(GL_ELEMENT_ARRAY_BUFFER, indexed.vboIndexName), 6 * 4);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, indexed.vboTexCoordName),
              std::vector<float>(indexed.arrays.texCoords.data, indexed.arrays.texCoords.data + 8));
    EXPECT_TRUE(indexed.hasAttribBuffers);
    EXPECT_EQ(BufferBytes(GL_ARRAY_BUFFER, indexed.vboSkinWeightName), 16 * 4);

    const Mesh& interleaved = MeshOf("mesh_cc_interleaved");  // indexed, interleaved
    EXPECT_TRUE(IsBuffer(interleaved.vboInterleavedName));
    EXPECT_EQ(interleaved.vboVertName, 0u);
    const std::vector<float> block = ReadBuffer(GL_ARRAY_BUFFER, interleaved.vboInterleavedName);
    ASSERT_EQ(block.size(), 4u * 8);
    // Vertex 3: texture coordinate, normal, position.
    const std::vector<float> vertex3(block.begin() + 24, block.end());
    EXPECT_EQ(vertex3, (std::vector<float>{3, 13, 0, 0, 1, -1, 1, 0}));
    EXPECT_FALSE(interleaved.hasAttribBuffers);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(ContextCategories, LoadingTwiceKeepsTheFirstNamesAlive) {
    resources.LoadContextCategory("cc");
    const unsigned texture = Tex("tex_cc_rock").texID;
    const unsigned vertices = MeshOf("mesh_cc_plain").vboVertName;
    const unsigned interleaved = MeshOf("mesh_cc_interleaved").vboInterleavedName;
    // A mesh shared with objects holds a copy of the texture's name.
    const unsigned stampedCopy = MeshOf("mesh_cc_plain").texID;

    resources.LoadContextCategory("cc");
    EXPECT_EQ(Tex("tex_cc_rock").texID, texture);
    EXPECT_EQ(MeshOf("mesh_cc_plain").vboVertName, vertices);
    EXPECT_EQ(MeshOf("mesh_cc_interleaved").vboInterleavedName, interleaved);
    EXPECT_TRUE(glIsTexture(stampedCopy));
    EXPECT_TRUE(IsBuffer(vertices));
}

// ---- Freeing -------------------------------------------------------------------

TEST_F(ContextCategories, UnloadingDeletesEveryNameOfTheCategory) {
    resources.LoadContextCategory("cc");
    const unsigned texture = Tex("tex_cc_rock").texID;
    std::vector<unsigned> buffers;
    for (const char* name : {"mesh_cc_plain", "mesh_cc_skinned", "mesh_cc_indexed", "mesh_cc_interleaved"}) {
        const Mesh& m = MeshOf(name);
        for (unsigned b : {m.vboVertName, m.vboTexCoordName, m.vboNormalName, m.vboInterleavedName,
                           m.vboSkinWeightName, m.vboBoneIndexName, m.vboIndexName})
            if (b != 0) buffers.push_back(b);
    }
    ASSERT_EQ(buffers.size(), 3u + 5u + 6u + 2u);

    LogCapture log;
    resources.UnloadContextCategory("cc");
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(Tex("tex_cc_rock").texID, 0u);
    for (unsigned b : buffers) EXPECT_FALSE(glIsBuffer(b)) << b;
    for (const char* name : {"mesh_cc_plain", "mesh_cc_indexed", "mesh_cc_interleaved"}) {
        const Mesh& m = MeshOf(name);
        EXPECT_EQ(m.vboVertName + m.vboInterleavedName + m.vboIndexName + m.vboSkinWeightName, 0u) << name;
        EXPECT_TRUE(m.hasMeshBuffers) << name;  // the flags stay
    }
    // Unloaded entries, meshes without buffers and the interleaved mesh
    // are all freed without complaint; so is a second unload.
    resources.UnloadContextCategory("cc");
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// ---- After a change of video mode ------------------------------------------------

namespace {

// The log lines of a reload, in their order.
void ExpectReloadSteps(const std::string& text) {
    const char* steps[] = {"freeing frame buffer", "building frame buffer", "reloading textures",
                           "Reloading texture", "reloading mesh", "mesh.name = left half",
                           "finished loading context"};
    size_t at = 0;
    for (const char* step : steps) {
        at = text.find(step, at);
        EXPECT_NE(at, std::string::npos) << step << "\n" << text;
    }
}

}  // namespace

TEST_F(ContextCategories, AModeChangeThatKeepsTheContextReusesEveryName) {
    resources.LoadContextCategory("cc");
    const unsigned rock = Tex("tex_cc_rock").texID;
    const unsigned vertices = MeshOf("mesh_cc_plain").vboVertName;
    const unsigned interleaved = MeshOf("mesh_cc_interleaved").vboInterleavedName;
    Tex("tex_cc_lazy").texID = 0;  // freed earlier: needs an upload

    ASSERT_TRUE(Sys().ChangeResolution(800, 600, false));
    ASSERT_TRUE(glIsTexture(rock)) << "this platform kept the context";
    LogCapture log;
    resources.ReloadContextData();
    EXPECT_EQ(Tex("tex_cc_rock").texID, rock);
    EXPECT_TRUE(glIsTexture(Tex("tex_cc_lazy").texID));
    EXPECT_EQ(MeshOf("mesh_cc_plain").texID, rock);
    EXPECT_EQ(MeshOf("mesh_cc_plain").vboVertName, vertices);
    EXPECT_EQ(MeshOf("mesh_cc_interleaved").vboInterleavedName, interleaved);
    EXPECT_EQ(TextureLevelSize(resources.frameTex4, 0, GL_TEXTURE_WIDTH), 800);
    EXPECT_EQ(TextureLevelSize(resources.frameTex4, 0, GL_TEXTURE_HEIGHT), 600);
    ExpectReloadSteps(log.Text());
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(Sys().ChangeResolution(640, 480, false));
}

TEST_F(ContextCategories, ANewContextGetsEverythingAgainUnderNewNames) {
    resources.LoadContextCategory("cc");
    Mesh& orphan = MeshOf("mesh_cc_skinned");
    orphan.texID = 9999;  // a name no stored texture holds
    Mesh& untextured = MeshOf("mesh_cc_indexed");
    untextured.texID = 0;
    const unsigned oldRock = Tex("tex_cc_rock").texID;

    // A platform that makes a new context on a mode change: here by
    // restarting the video subsystem.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_TRUE(Sys().InitGL());
    ASSERT_FALSE(glIsTexture(oldRock)) << "expected a new context";
    // As on a resolution change: the loading picture and the renderer's
    // targets take the first numbers of the new context before the reload.
    resources.InitLoadingScreenTexture();
    resources.BuildFrameBuffer();

    LogCapture log;
    resources.ReloadContextData();
    const unsigned rock = Tex("tex_cc_rock").texID;
    const unsigned lazy = Tex("tex_cc_lazy").texID;
    EXPECT_TRUE(glIsTexture(rock));
    EXPECT_TRUE(glIsTexture(lazy));  // never uploaded before: uploaded now
    for (unsigned other : {lazy, resources.screenImageTexID, resources.frameTex0, resources.frameTex4})
        EXPECT_NE(rock, other);
    EXPECT_EQ(FirstTexelRed(rock), 200);
    EXPECT_EQ(MeshOf("mesh_cc_plain").texID, rock);
    EXPECT_EQ(MeshOf("mesh_cc_tied").texID, rock);
    EXPECT_EQ(orphan.texID, 0u);
    EXPECT_EQ(untextured.texID, 0u);

    const Mesh& plain = MeshOf("mesh_cc_plain");
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, plain.vboVertName).size(), 18u);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, MeshOf("mesh_cc_interleaved").vboInterleavedName).size(), 32u);
    EXPECT_TRUE(IsBuffer(MeshOf("mesh_cc_indexed").vboSkinWeightName));
    EXPECT_FALSE(MeshOf("mesh_cc_tied").hasMeshBuffers);
    ExpectReloadSteps(log.Text());
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// ---- Buffers that draw what they hold ------------------------------------------------

class MeshBuffers : public GLContextTest {
protected:
    void SetUp() override {
        GLContextTest::SetUp();
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 0, 0);
    }
    void TearDown() override {
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    static int Red(int x, int y) {
        unsigned char rgba[4] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return rgba[0];
    }
    MeshResource builder;
};

TEST_F(MeshBuffers, BuffersReadBackAndDrawWhereTheirPositionsSay) {
    Mesh mesh = LeftHalf();
    builder.BuildMeshBuffers(mesh);
    const ArrayBuffer<float> expected = builder.GetAttributeArray(mesh, ATTRIB_POSITION);
    EXPECT_EQ(ReadBuffer(GL_ARRAY_BUFFER, mesh.vboVertName),
              std::vector<float>(expected.data, expected.data + expected.count));
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vboVertName);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    EXPECT_EQ(Red(160, 240), 255);
    EXPECT_EQ(Red(480, 240), 0);

    // The interleaved buffer is in OpenGL's own T2F_N3F_V3F layout.
    glClear(GL_COLOR_BUFFER_BIT);
    Mesh indexed = Flagged(true, true);
    builder.BuildInterleavedBuffers(indexed, false);
    glBindBuffer(GL_ARRAY_BUFFER, indexed.vboInterleavedName);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexed.vboIndexName);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    EXPECT_EQ(Red(160, 240), 255);
    EXPECT_EQ(Red(480, 240), 0);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshBuffers, ShortFlatArraysAreReportedAndReadAsZero) {
    Mesh mesh = Flagged(true, true);
    mesh.arrays.normals.Resize(0);  // a file may leave them out
    const float oneCoord[2] = {5, 6};
    mesh.arrays.texCoords.Assign(oneCoord, 2);
    LogCapture log;
    builder.BuildInterleavedBuffers(mesh, false);
    EXPECT_TRUE(log.Has("normal array holds 0 floats, 12 needed")) << log.Text();
    EXPECT_TRUE(log.Has("texture coordinate array holds 2 floats, 8 needed")) << log.Text();
    const std::vector<float> block = ReadBuffer(GL_ARRAY_BUFFER, mesh.vboInterleavedName);
    ASSERT_EQ(block.size(), 32u);
    EXPECT_EQ(std::vector<float>(block.begin(), block.begin() + 8),
              (std::vector<float>{5, 6, 0, 0, 0, -1, -1, 0}));
    EXPECT_EQ(std::vector<float>(block.begin() + 8, block.begin() + 13), std::vector<float>(5, 0.0f));
}

TEST_F(MeshBuffers, IndexCountMismatchIsReportedAndStillUploaded) {
    Mesh mesh = Flagged(true, false);
    const int five[5] = {0, 1, 2, 2, 3};
    mesh.arrays.indices.Assign(five, 5);
    LogCapture log;
    builder.BuildIndexedBuffers(mesh, false);
    EXPECT_EQ(log.Count("assert failed!"), 1);
    EXPECT_EQ(BufferBytes(GL_ELEMENT_ARRAY_BUFFER, mesh.vboIndexName), 20);
    EXPECT_FALSE(mesh.hasAttribBuffers);
}

}  // namespace
