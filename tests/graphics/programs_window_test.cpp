// The renderer's GLSL programs built from the shipped shader files on this
// machine's OpenGL: all of them link cleanly, the instance programs only with
// shaderModel4, attributes sit where the mesh and particle drawing put them,
// the instance array has the size the C++ side caps draws at, the particle
// atlas table reaches both particle programs, and a broken shader file is
// logged as specified without stopping the game.
#include <string>
#include <vector>

#include "graphics.h"
#include "resource_manager.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using test_support::InOrder;
using test_support::LogCapture;

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }

struct Built {
    const char* name;
    unsigned program;
};

std::vector<Built> AllPrograms() {
    const Graphics& g = TheGraphics();
    return {{"bone", g.boneProgram},
            {"deferred_bone", g.deferredBoneProgram},
            {"billboard", g.billboardProgram},
            {"deferred_billboard", g.deferredBillboardProgram},
            {"cockpit", g.cockpitProgram},
            {"instance", g.instanceProgram},
            {"deferred_instance", g.deferredInstanceProgram},
            {"deferred_combine", g.deferredCombineProgram},
            {"deferred_polish", g.deferredPolishProgram},
            {"particle", g.particleGraphics.particleProgram},
            {"deferred_particle", g.particleGraphics.deferredParticleProgram}};
}

bool Linked(unsigned program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

// The size OpenGL reports for the active uniform `name` (0 when it is not active).
GLint UniformSize(unsigned program, const std::string& name) {
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char text[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, GLuint(i), sizeof text, nullptr, &size, &type, text);
        if (name == text) return size;
    }
    return 0;
}

class Programs : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        // Init resolves the interface textures, which the game flow loads first.
        Module<ResourceManager>::Instance()->Init();
        Module<ResourceManager>::Instance()->LoadCategory("all_first");
    }
    // Init after Kill, as a resolution change runs them.
    static void Reinit() {
        TheGraphics().Kill();
        TheGraphics().Init();
    }
    void TearDown() override { Sys().shaderModel4 = shaderModel4; }
    const bool shaderModel4 = Sys().shaderModel4;
};

TEST_F(Programs, AllElevenLinkWithoutALogAndNineWithoutShaderModel4) {
    ASSERT_TRUE(Sys().shaderModel4) << "this machine's OpenGL has instancing";
    LogCapture log;
    Reinit();
    for (const Built& built : AllPrograms()) {
        EXPECT_TRUE(built.program != 0 && Linked(built.program)) << built.name;
        GLint length = 0;
        glGetProgramiv(built.program, GL_INFO_LOG_LENGTH, &length);
        EXPECT_LE(length, 1) << built.name;
    }
    EXPECT_FALSE(log.Has("ERROR") || log.Has("ShaderFile")) << log.Text();

    Sys().shaderModel4 = false;
    Reinit();
    int built = 0;
    for (const Built& program : AllPrograms()) built += program.program != 0 && Linked(program.program);
    EXPECT_EQ(built, 9);
    EXPECT_TRUE(TheGraphics().instanceProgram == 0 && TheGraphics().deferredInstanceProgram == 0);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Programs, AttributesSitWhereTheDrawingPutsThemAndTheInstanceArrayHasTheCapsSize) {
    Reinit();
    const Graphics& g = TheGraphics();
    for (unsigned program : {g.boneProgram, g.deferredBoneProgram}) {
        EXPECT_EQ(glGetAttribLocation(program, "boneIndex"), GLint(Graphics::kBoneIndexLocation));
        EXPECT_EQ(glGetAttribLocation(program, "skinWeights"), GLint(Graphics::kSkinWeightsLocation));
    }
    // The instance programs skin nothing; whatever they declare sits in the same place.
    for (unsigned program : {g.instanceProgram, g.deferredInstanceProgram}) {
        const GLint bone = glGetAttribLocation(program, "boneIndex");
        EXPECT_TRUE(bone == -1 || bone == GLint(Graphics::kBoneIndexLocation)) << bone;
        EXPECT_EQ(UniformSize(program, "instanceMatArr[0]"), Graphics::kInstanceArraySize);
    }
    EXPECT_EQ(UniformSize(g.deferredBoneProgram, "boneMatBuffer[0]"), Graphics::kBoneMatrixCount);
    for (unsigned program : {g.particleGraphics.particleProgram, g.particleGraphics.deferredParticleProgram}) {
        EXPECT_EQ(glGetAttribLocation(program, "particleAttrib"), GLint(Graphics::kParticleAttribLocation));
        EXPECT_EQ(glGetAttribLocation(program, "cornerAttrib"), GLint(Graphics::kCornerAttribLocation));
        // Cell 22, the sparks: pixels (360, 360) to (479, 479) of the 480-pixel atlas.
        GLfloat corner[2][2] = {};
        glGetUniformfv(program, glGetUniformLocation(program, "texCoord[88]"), corner[0]);
        glGetUniformfv(program, glGetUniformLocation(program, "texCoord[90]"), corner[1]);
        EXPECT_FLOAT_EQ(corner[0][0], 479 * 0.0020876827f);
        EXPECT_FLOAT_EQ(corner[0][1], 479 * 0.0020876827f);
        EXPECT_FLOAT_EQ(corner[1][0], 360 * 0.0020876827f);
        EXPECT_FLOAT_EQ(corner[1][1], 360 * 0.0020876827f);
    }
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Programs, ABrokenVertexFileIsLoggedAsSpecifiedAndTheGameCarriesOn) {
    test_support::TempFolder folder;
    folder.WriteFile("broken_vert.glsl", "#version 120\nvoid main() { gl_Position = undeclared; }\n");
    const std::string broken = folder.Path() + "/broken_vert.glsl";
    LogCapture log;
    const unsigned program = TheGraphics().LoadShaderProgram(broken, "shaders/bone_frag.glsl");
    EXPECT_TRUE(program != 0 && !Linked(program));
    // The vertex file and its log; the fragment shader compiles; then the
    // link failure with both file lines and the program's log.
    EXPECT_TRUE(InOrder(log.Text(), {"vertShaderFile = " + broken, "ERROR: ", "undeclared", "vertShaderFile = " + broken,
                                     "fragShaderFile = shaders/bone_frag.glsl", "ERROR: "}))
        << log.Text();
    EXPECT_EQ(log.Count("fragShaderFile"), 1) << log.Text();
    EXPECT_EQ(log.Count("ERROR: "), 2) << log.Text();

    Reinit();
    const unsigned combine = TheGraphics().deferredCombineProgram;
    TheGraphics().deferredCombineProgram = program;  // used all the same
    TheGraphics().Update();
    const int reported = log.Count("ERROR: graphics/");
    EXPECT_GT(reported, 0) << "OpenGL's complaint is reported\n" << log.Text();
    TheGraphics().Update();
    TheGraphics().Update();
    EXPECT_EQ(log.Count("ERROR: graphics/"), reported) << "and then only counted\n" << log.Text();
    TheGraphics().deferredCombineProgram = combine;
    log.Restart();
    TheGraphics().Update();
    EXPECT_TRUE(log.Has(" repeated 2 more times")) << log.Text();
    TheGraphics().Update();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(Programs, SaveAndClearProgramPutsTheProgramAsideAndRestoreBringsItBack) {
    Reinit();
    glUseProgram(TheGraphics().cockpitProgram);
    const unsigned saved = TheGraphics().SaveAndClearProgram();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_TRUE(saved == TheGraphics().cockpitProgram && current == 0);
    TheGraphics().RestoreProgram(0);
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    TheGraphics().RestoreProgram(saved);
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, GLint(saved));
    glUseProgram(0);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace

// Graphics starts before the game flow loads the interface pictures: that
// order is normal and must not log errors (each would write an error-log file).
TEST_F(Programs, InitBeforeTheInterfacePicturesAreLoadedLogsNoError) {
    ResourceManager& resources = *Module<ResourceManager>::Instance();
    resources.DeleteCategory("all_first");
    LogCapture log;
    Reinit();
    EXPECT_FALSE(log.Has("ERROR")) << log.Text();
    resources.LoadCategory("all_first");
}
