// A test on the game's window (640 x 480) with the first level loaded as the
// game flow will load it and the renderer initialised, once per test
// program; what the loading logged is kept for the tests' messages.
#pragma once

#include <string>

#include "graphics.h"
#include "object_manager.h"
#include "resource_manager.h"
#include "support/first_level_scene.h"
#include "support/gl_context.h"
#include "support/log_capture.h"

namespace test_support {

inline Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }
inline ObjectManager& Objects() { return *Module<ObjectManager>::Instance(); }
inline ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

class FirstLevelTest : public GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        LogCapture log;
        loaded = LoadFirstLevelScene();
        TheGraphics().Init();
        setUpLog = new std::string(log.Text());
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(loaded) << *setUpLog;
    }

    static inline bool loaded = false;
    static inline std::string* setUpLog = nullptr;  // kept to the end
};

}  // namespace test_support
