// The resource manager and the object factory through bind, against the
// game's own registry and patterns (read from the run folder): store
// accessors that borrow or give nil, loading and deleting by name, patterns
// read, looked up and stamped, owned results that the collector frees, and
// OpenGL operations that refuse to run on a thread without a context.
#include <gtest/gtest.h>

#include <string>

#include "core/lua_probe.h"
#include "objects/components.h"
#include "resource_manager.h"

using namespace lua_test;

namespace {

ResourceManager& Store() { return *Module<ResourceManager>::Instance(); }

class LuaBindLoadingTest : public LuaTest {
protected:
    static void SetUpTestSuite() {
        LuaTest::SetUpTestSuite();
        Store().Init();
    }
    static void TearDownTestSuite() {
        Store().Kill();
        LuaTest::TearDownTestSuite();
    }
};

TEST_F(LuaBindLoadingTest, RegistryLookUpsAndLoadingByName) {
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "return rm:RegistryFileLookup('tex_font') .. '|' .. rm:RegistryFileLookup('tex_nothing') .. '|' ..\n"
                      "  swig_type(rm:RegistryDataLookup('tex_font'))"),
              "resource/art assets/interface/font.png||RegistryData *");
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local loaded = rm:LoadResource('tex_font')\n"
                      "local font = rm:GetTexture(rm:GetResourceHandle('tex_font'))\n"
                      "return loaded .. ' ' .. rm:LoadResource('tex_nothing') .. ' ' ..\n"
                      "  rm:LoadResourceByCategory('tex_font', 'level3') .. ' ' .. tostring(font.width > 0) .. ' ' ..\n"
                      "  tostring(rm:GetReferenceFromHandle(bind.Handle('tex_font')) ~= nil)"),
              "0 -1 0 true true");
    EXPECT_NE(Store().get<Texture>(Handle("tex_font")), nullptr);

    // Misses are nil or empty, after the store's own messages.
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "return tostring(rm:GetTexture(bind.Handle('tex_nothing'))) .. ' ' ..\n"
                      "  tostring(rm:GetMesh(bind.Handle('mesh_nothing'))) .. ' ' ..\n"
                      "  tostring(rm:GetReferenceFromHandle(bind.Handle('tex_nothing'))) .. ' [' ..\n"
                      "  rm:GetResourceHandle('tex_nothing'):GetID() .. ']'"),
              "nil nil nil []");
    EXPECT_NE(newLog.Text().find("tex_nothing has not been loaded"), std::string::npos) << newLog.Text();

    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "return rm:DeleteResource('tex_font') .. ' ' .. rm:DeleteResource('tex_font')"),
              "0 -1");
    EXPECT_FALSE(Store().IsStored("tex_font"));
}

// Set* assigns into the stored entry; the pointer it returns is borrowed.
TEST_F(LuaBindLoadingTest, SettersWriteIntoTheStore) {
    Store().add("tex_script", Texture(1, 1, 4));
    Store().add("mesh_script", Mesh());
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local t = rm:SetTexture(bind.Handle('tex_script'), bind.Texture(4, 2, 4))\n"
                      "t.texID = 9\n"
                      "local m = bind.Mesh() m.name = 'from lua'\n"
                      "rm:SetMesh(bind.Handle('mesh_script'), m)\n"
                      "m.name = 'changed later'\n"
                      "return rm:GetTexture(bind.Handle('tex_script')).width .. ' ' ..\n"
                      "  tostring(rm:SetMesh(bind.Handle('mesh_nothing'), m))"),
              "4 nil");
    const Texture* texture = Store().get<Texture>(Handle("tex_script"));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->height, 2u);
    EXPECT_EQ(texture->texID, 9u);
    const Mesh* mesh = Store().get<Mesh>(Handle("mesh_script"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->name, "from lua");
    Store().DeleteResource("tex_script");
    Store().DeleteResource("mesh_script");
}

TEST_F(LuaBindLoadingTest, PatternsAreLookedUpReadAndStamped) {
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local o = bind.GameObject('p')\n"
                      "local known = bind.ObjectFactory_StampObject(o, rm:GetPattern('player'))\n"
                      "local unknown = bind.ObjectFactory_StampObject(bind.GameObject('q'), rm:GetPattern('no such'))\n"
                      "return tostring(known) .. ' ' .. tostring(unknown) .. ' ' .. o:GetStatsComp().healthMax .. ' ' ..\n"
                      "  o.trans * bind.Vector(0, 1, 0)"),
              "true false 100 25");
    EXPECT_NE(newLog.Text().find("unknown object pattern; q not stamped"), std::string::npos);

    // Each section stamp on its own, from a pattern file read directly.
    EXPECT_EQ(LuaEval("local pattern = bind.ObjectFactory_LoadObjectPattern('resource/patterns/player.xml')\n"
                      "local o = bind.GameObject('p')\n"
                      "bind.ObjectFactory_StampStats(o, pattern)\n"
                      "bind.ObjectFactory_StampPhysics(o, pattern)\n"
                      "bind.ObjectFactory_StampCollision(o, pattern)\n"
                      "return o:GetStatsComp().speed .. ' ' .. o:GetPhysicsComp().mass .. ' ' ..\n"
                      "  tostring(o:GetCollisionComp().hasBoundSphere) .. ' ' .. tostring(o:HasComp(bind.CompIndex_Graphics))"),
              "125 100 true false");
    EXPECT_EQ(LuaEval("local pattern = bind.Module_ResourceManager_Instance():GetPattern('MediumMech')\n"
                      "local o = bind.GameObject('m')\n"
                      "bind.ObjectFactory_StampBehavior(o, pattern)\n"
                      "bind.ObjectFactory_StampGraphics(o, pattern)\n"
                      "return tostring(o:HasComp(bind.CompIndex_Behavior)) .. ' ' .. tostring(o:HasComp(bind.CompIndex_Graphics))"),
              "true true");
}

// A pattern that lacks what a stamp needs, or a nil file name, is a Lua
// error with its reason, never an abort or a null pointer in the engine.
TEST_F(LuaBindLoadingTest, BadPatternsAndFileNamesAreLuaErrors) {
    const std::string missing = LuaEval("local pattern = bind.ObjectFactory_LoadObjectPattern('resource/patterns/none.xml')\n"
                                        "bind.ObjectFactory_StampStats(bind.GameObject('x'), pattern)");
    EXPECT_NE(missing.find("Error in ObjectFactory_StampStats"), std::string::npos) << missing;
    EXPECT_NE(missing.find("bad_any_cast"), std::string::npos) << missing;
    EXPECT_NE(newLog.Text().find("can't load file resource/patterns/none.xml"), std::string::npos);

    EXPECT_NE(LuaEval("return bind.ObjectFactory_LoadObjectPattern(nil)").find("expected 'char const *' got 'nil'"),
              std::string::npos);
    EXPECT_NE(LuaEval("bind.Module_ResourceManager_Instance():LoadRegistry(nil)").find("error: "), std::string::npos);
    EXPECT_NE(LuaEval("bind.ObjectFactory_StampObject(nil, bind.Module_ResourceManager_Instance():GetPattern('player'))")
                  .find("error: "),
              std::string::npos);
}

TEST_F(LuaBindLoadingTest, BuiltTexturesAndMeshesAreOwnedByLua) {
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local source = bind.Texture(8, 8, 4) source:SetPixel(0, 0, 0xffffffff)\n"
                      "local chain = {'kept'}\n"
                      "rm:BuildMipMap(chain, source)\n"
                      "local sizes = {}\n"
                      "for i = 2, #chain do sizes[#sizes + 1] = chain[i].width end\n"
                      "local mesh = rm:BuildHeightmapMesh(bind.Texture(4, 4, 4))\n"
                      "local text = chain[1] .. ' ' .. table.concat(sizes, ',') .. ' ' .. tostring(mesh:GetRawVert(0, 0) ~= nil)\n"
                      "chain = nil mesh = nil collectgarbage('collect')\n"
                      "return text"),
              "kept 4,2,1 true");
    EXPECT_NE(LuaEval("bind.Module_ResourceManager_Instance():BuildMipMap(5, bind.Texture(2, 2, 4))").find("error: "),
              std::string::npos);
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local a = rm:GetObjectNum() local b = rm:GetObjectNum()\n"
                      "rm:ReleaseResourceHandle(bind.Handle('tex_noise'))\n"
                      "return b - a"),
              "1");
}

// Without an OpenGL context on the calling thread (as on the level loader's
// thread) the uploads are refused with an error instead of crashing.
TEST_F(LuaBindLoadingTest, OpenGLOperationsNeedAContext) {
    EXPECT_EQ(LuaEval("local rm = bind.Module_ResourceManager_Instance()\n"
                      "local t = bind.Texture(2, 2, 4)\n"
                      "local before = t.texID\n"
                      "rm:InitGLTexture(t)\n"
                      "rm:LoadContextCategory('all')\n"
                      "rm:ReloadContextData()\n"
                      "return tostring(t.texID == before)"),
              "true");
    EXPECT_TRUE(InOrder(newLog.Text(), {"ResourceManager::InitGLTexture needs the OpenGL context",
                                   "ResourceManager::LoadContextCategory needs the OpenGL context",
                                   "ResourceManager::ReloadContextData needs the OpenGL context"}))
        << newLog.Text();
}

}  // namespace
