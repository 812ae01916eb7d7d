// Level loads as the game runs them, on the game's window: the loader
// thread's half and the hand-over's OpenGL half for the first load, a
// restart and a change of level (the new category made before the old one is
// freed, and a level left earlier freed even when the level fields no longer
// name it); the player fitted out after each; and files that make no playable
// level, reported once each while the game goes on.
#include <gtest/gtest.h>

#include "game_flow/fitted_out.h"
#include "game_flow/flow_support.h"
#include "support/first_level_scene.h"
#include "support/gl_context.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

using namespace flow_test;
using test_support::InOrder;

constexpr const char* kLevelOneFile = "./resource/levels/level1.xml";
constexpr const char* kLevelOneScript = "./scripts/load_level_1.lua";
// A texture of level 1's category, and one of the category the tests register.
constexpr const char* kLevelOneTexture = "tex_ground_level1";
constexpr const char* kSmallTexture = "tex_flow_small";

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

bool HasLiveTexture(const std::string& name) {
    if (!Store().IsStored(name)) return false;
    const Texture* texture = Store().get<Texture>(Handle(name));
    return texture && texture->texID != Texture::kNoTexture && glIsTexture(texture->texID);
}

class LevelLoads : public test_support::GLContextTest {
protected:
    static void SetUpTestSuite() {
        GLContextTest::SetUpTestSuite();
        if (!opened) return;
        Module<EventManager>::Instance()->Init();
        test_support::LogCapture log;
        Game().PushState(KeepingState(kept));
        Disturb(Game());
        firstLoaded = test_support::LoadFirstLevelScene();
        firstLog = new std::string(log.Text());
        firstEvents = new std::vector<Event>(kept);
    }

    void SetUp() override {
        GLContextTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(firstLoaded) << *firstLog;
        kept.clear();
        log.Restart();
    }

    // One load through "Load Level Thread" and its hand-over; the one
    // "Level Loaded" it gave.
    static Event Load(const std::string& name, const std::string& previous, const std::string& levelFile = kLevelOneFile,
                      const std::string& script = kLevelOneScript) {
        GameLogic& game = Game();
        game.levelName = name;
        game.previousLevelName = previous;
        game.levelPath = levelFile;
        game.scriptPath = script;
        kept.clear();
        test_support::RunLevelLoad();
        const std::vector<Event> loaded = OfType(kept, GameLogic::kLevelLoaded);
        EXPECT_EQ(loaded.size(), 1u);
        return loaded.empty() ? Event() : loaded.front();
    }

    static bool Valid(const Event& loaded) { return loaded.GetParam<bool>(GameLogic::kValidParam); }

    test_support::LogCapture log;
    test_support::TempFolder folder;
    static inline std::vector<Event> kept;
    static inline bool firstLoaded = false;
    static inline std::string* firstLog = nullptr;             // kept to the end
    static inline std::vector<Event>* firstEvents = nullptr;   // kept to the end
};

TEST_F(LevelLoads, TheFirstLoadReadsOnTheLoaderThreadThenMakesTheNoiseTextureAndFreesNothing) {
    EXPECT_TRUE(InOrder(*firstLog, {"loading the level", "Starting LoadLevel()", "category = all", "category = level1",
                                    "level Loaded", "LoadContextCategory()", "category = all",
                                    "LoadContextCategory()", "category = level1"}))
        << *firstLog;
    const std::vector<Event> loaded = OfType(*firstEvents, GameLogic::kLevelLoaded);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_TRUE(loaded[0].GetParam<bool>(GameLogic::kFirstLoadParam));
    EXPECT_TRUE(Valid(loaded[0]));
    EXPECT_FALSE(Game().firstLoad);
    const Texture* noise = Store().get<Texture>(Handle("tex_noise"));
    ASSERT_NE(noise, nullptr);
    EXPECT_EQ(noise->width, 128u);
    EXPECT_EQ(noise->height, 128u);
    EXPECT_TRUE(HasLiveTexture("tex_noise"));
    EXPECT_EQ(test_support::CountOf(*firstLog, "deleting"), 0);
    EXPECT_TRUE(HasLiveTexture(kLevelOneTexture));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(LevelLoads, ARestartReadsAndFreesNothingAndFitsThePlayerOutAgain) {
    Disturb(Game());
    const unsigned noiseName = Store().get<Texture>(Handle("tex_noise"))->texID;
    const Event loaded = Load("level1", "level1");
    EXPECT_FALSE(loaded.Has(GameLogic::kFirstLoadParam));
    EXPECT_TRUE(Valid(loaded));
    EXPECT_EQ(log.Count("LoadCategory()"), 0) << log.Text();
    EXPECT_EQ(log.Count("deleting"), 0);
    EXPECT_TRUE(InOrder(log.Text(), {"level Loaded", "LoadContextCategory()", "category = level1"}));
    EXPECT_EQ(Store().get<Texture>(Handle("tex_noise"))->texID, noiseName);
    EXPECT_TRUE(HasLiveTexture(kLevelOneTexture));
    ExpectLoaded(Game());
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

// The small category stands in for another level (the level's files stay
// level 1's). A new game starts from the placeholder "begin": level 1, loaded
// before, must go all the same.
TEST_F(LevelLoads, AChangeMakesTheNewCategoryFirstThenFreesTheOldOneEvenWhenNoLongerNamed) {
    folder.WriteFile("registry.xml", std::string("<registry><resource registry=\"") + kSmallTexture +
                                         "\" file=\"resource/art assets/loading.png\" loadCategory=\"flow_small\" "
                                         "loadContext=\"true\"/></registry>\n");
    Store().LoadRegistry((folder.Path() + "/registry.xml").c_str());

    Disturb(Game());
    EXPECT_TRUE(Valid(Load("flow_small", "level1")));
    EXPECT_TRUE(InOrder(log.Text(), {"category = flow_small", "level Loaded", "LoadContextCategory()",
                                     "category = flow_small", "deleting previous category"}))
        << log.Text();
    EXPECT_EQ(log.Count("deleting previous category"), 1);
    EXPECT_TRUE(HasLiveTexture(kSmallTexture));
    EXPECT_FALSE(Store().IsStored(kLevelOneTexture));
    ExpectLoaded(Game());

    EXPECT_TRUE(Valid(Load("level1", "flow_small")));
    EXPECT_TRUE(HasLiveTexture(kLevelOneTexture));
    EXPECT_FALSE(Store().IsStored(kSmallTexture));

    EXPECT_TRUE(Valid(Load("flow_small", "begin")));
    EXPECT_TRUE(HasLiveTexture(kSmallTexture));
    EXPECT_FALSE(Store().IsStored(kLevelOneTexture)) << "a category left loaded by an earlier level";

    EXPECT_TRUE(Valid(Load("level1", "flow_small")));
    EXPECT_TRUE(HasLiveTexture(kLevelOneTexture));
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(LevelLoads, FilesThatMakeNoPlayableLevelAreReportedOnceAndTheGameGoesOn) {
    folder.WriteFile("syntax.lua", "this is not lua (\n");
    folder.WriteFile("empty.lua", "local nothing = 1\n");
    folder.WriteFile("unarmed.lua",
                     "local player = bind.GameObject('player')\n"
                     "bind.ObjectFactory_StampObject(player, bind.Module_ResourceManager_Instance():GetPattern('player'))\n"
                     "bind.Module_ObjectManager_Instance():AddGameObject(player)\n");
    struct Case {
        const char* name;
        std::string levelFile, script, named, missing;
    };
    const std::string at = folder.Path() + "/";
    const Case cases[] = {
        {"missing level file", "./resource/levels/none.xml", kLevelOneScript, "./resource/levels/none.xml",
         "it could not be read as a level"},
        {"script with a syntax error", kLevelOneFile, at + "syntax.lua", at + "syntax.lua", "no \"player\" object"},
        {"script without a player", kLevelOneFile, at + "empty.lua", at + "empty.lua", "no \"player\" object"},
        {"player without weapons", kLevelOneFile, at + "unarmed.lua", at + "unarmed.lua",
         "\"player\" has no WeaponComp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.Restart();
        const Event loaded = Load("level1", "level1", c.levelFile, c.script);
        EXPECT_TRUE(Game().loadingDone);
        EXPECT_FALSE(Game().levelValid);
        EXPECT_FALSE(Valid(loaded));
        EXPECT_EQ(log.Count("Level load of"), 1) << log.Text();
        EXPECT_TRUE(log.Has("Level load of " + c.named + " failed: " + c.missing)) << log.Text();
    }
    EXPECT_TRUE(Valid(Load("level1", "level1")));
    EXPECT_TRUE(Game().levelValid);
    ExpectLoaded(Game());
    EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
}

}  // namespace
