// The OpenGL uploads through bind run on the thread that holds the context
// (the main thread with the game window open) and are refused, with an
// error, on any other thread, such as the level loader's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "core/lua_probe.h"
#include "resource_manager.h"
#include "support/gl_context.h"

using lua_test::Lua;
using lua_test::LuaEval;
using test_support::GLContextTest;

namespace {

class LuaBindGLTest : public GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        profile = new test_support::TempProfile();
    }
    static void TearDownTestSuite() {
        delete profile;
        profile = nullptr;
    }
    void SetUp() override {
        GLContextTest::SetUp();
        Lua().Init();
        newLog.Restart();
    }
    void TearDown() override { Lua().Kill(); }

    static inline test_support::TempProfile* profile = nullptr;
    test_support::LogCapture newLog;
};

TEST_F(LuaBindGLTest, InitGLTextureUploadsOnTheContextThreadOnly) {
    const std::string name = LuaEval("local t = bind.Texture(4, 4, 4)\n"
                                     "bind.Module_ResourceManager_Instance():InitGLTexture(t)\n"
                                     "return t.texID");
    char* end = nullptr;
    const unsigned long texID = std::strtoul(name.c_str(), &end, 10);
    ASSERT_TRUE(end && *end == '\0') << name;
    EXPECT_TRUE(glIsTexture(GLuint(texID)));
    EXPECT_EQ(TextureLevelSize(GLuint(texID), 0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(newLog.Text().find("needs the OpenGL context"), std::string::npos) << newLog.Text();
    GLuint doomed = GLuint(texID);
    glDeleteTextures(1, &doomed);

    // The same script on another thread, as a level script runs on the
    // loader's thread: refused, the texture keeps its name.
    std::string fromLoader;
    std::thread loader([&fromLoader] {
        fromLoader = LuaEval("local t = bind.Texture(4, 4, 4) local before = t.texID\n"
                             "bind.Module_ResourceManager_Instance():InitGLTexture(t)\n"
                             "return tostring(t.texID == before)");
    });
    loader.join();
    EXPECT_EQ(fromLoader, "true");
    EXPECT_NE(newLog.Text().find("ResourceManager::InitGLTexture needs the OpenGL context"), std::string::npos);
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
