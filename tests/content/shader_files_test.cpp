// The GLSL files the renderer loads: exactly the twenty names it asks for,
// each for GLSL 1.20, declaring every uniform and attribute its callers set,
// with the type they set it as.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "content/content_catalog.h"
#include "support/temp_folder.h"

namespace {

using test_support::ReadFile;

struct ShaderFile {
    const char* stem;  // shaders/<stem>.glsl
    const char* declarations;  // "uniform int writeDepth; attribute vec4 boneIndex; ..."
};

const char* const kMeshUniforms =
    "uniform int useLightShader; uniform sampler2D diffuseTex; uniform sampler2D noiseTex; uniform float noiseAmount; "
    "uniform float noiseScale; uniform float noiseRampStart; uniform float noiseRampEnd; uniform int useFlashingEffect;";
const char* const kParticleNames =
    "uniform vec2 texCoord[96]; uniform vec4 up; uniform vec4 right; uniform vec4 view; "
    "attribute vec4 particleAttrib; attribute vec4 cornerAttrib;";

const ShaderFile kShaders[] = {
    {"bone_vert", "attribute vec4 boneIndex; attribute vec4 skinWeights;"}, {"bone_frag", ""},
    {"deferred_bone_vert", "uniform int useBones; uniform mat4 boneMatBuffer[40]; attribute vec4 boneIndex; "
                           "attribute vec4 skinWeights;"},
    {"deferred_bone_frag", "uniform int writeDepth;"}, {"billboard_vert", ""}, {"billboard_frag", ""},
    {"deferred_billboard_vert", ""}, {"deferred_billboard_frag", "uniform sampler2D depthTex;"},
    {"cockpit_vert", ""}, {"cockpit_frag", ""}, {"deferred_combine_vert", ""},
    {"deferred_combine_frag", "uniform sampler2D geomTex; uniform sampler2D depthTex; uniform sampler2D normalTex; "
                              "uniform sampler2D particleTex; uniform mat4 perspMat;"},
    {"deferred_polish_vert", ""},
    {"deferred_polish_frag", "uniform sampler2D combinedTex; uniform sampler2D noiseTex; uniform sampler2D depthTex; "
                             "uniform float t;"},
    {"instance_vert", "uniform mat4 instanceMatArr[64];"}, {"deferred_instance_vert", "uniform mat4 instanceMatArr[64];"},
    {"particle_vert", kParticleNames}, {"particle_frag", ""}, {"deferred_particle_vert", kParticleNames},
    {"deferred_particle_frag", "uniform sampler2D tex; uniform sampler2D depthTex;"},
};

// True when the text declares `declaration` ("uniform int writeDepth") as a
// statement of its own, whatever blanks align it.
bool Declares(const std::string& text, std::string declaration) {
    declaration = std::regex_replace(declaration, std::regex(R"(([\[\]]))"), "\\$1");
    declaration = std::regex_replace(declaration, std::regex(" "), "\\s+");
    return std::regex_search(text, std::regex("(^|\\n)" + declaration + "\\s*;"));
}

TEST(ShaderFiles, ExactlyTheTwentyTheRendererLoadsForGlsl120DeclaringWhatTheirCallersSet) {
    std::set<std::string> expected, present;
    for (const auto& entry : std::filesystem::directory_iterator(content::RunPath("shaders")))
        present.insert(entry.path().filename().string());
    for (const ShaderFile& shader : kShaders) {
        const std::string stem = shader.stem;
        expected.insert(stem + ".glsl");
        std::string program = ReadFile(content::RunPath("shaders/" + stem + ".glsl")), wanted = shader.declarations;
        EXPECT_EQ(program.rfind("#version 120\n", 0), 0u) << stem;
        // The deferred mesh uniforms live in either of the program's two files,
        // and the instance program shares the bone program's fragment file.
        if (stem == "deferred_bone_vert" || stem == "deferred_instance_vert") {
            wanted += kMeshUniforms;
            program += ReadFile(content::RunPath("shaders/deferred_bone_frag.glsl"));
        }
        std::istringstream declarations(wanted);
        for (std::string declaration; std::getline(declarations >> std::ws, declaration, ';');)
            EXPECT_TRUE(Declares(program, declaration)) << stem << " lacks \"" << declaration << "\"";
    }
    EXPECT_EQ(present, expected);
}

}  // namespace
