// Graphics: building the GLSL programs and reporting their logs.
// Main thread only, with the OpenGL context current.
#include <GL/glew.h>

#include <vector>

#include "graphics.h"
#include "system.h"

namespace {

System& Sys() { return *Module<System>::Instance(); }

struct AttributeBinding {
    const char* name;
    GLuint location;
};

// Bound in every program before it is linked; a program that does not
// declare a name ignores its binding. No program declares two names that
// share a location.
const AttributeBinding kFixedAttributes[] = {
    {"boneIndex", Graphics::kBoneIndexLocation},
    {"skinWeights", Graphics::kSkinWeightsLocation},
    {"particleAttrib", Graphics::kParticleAttribLocation},
    {"cornerAttrib", Graphics::kCornerAttribLocation},
};

void LogFileLine(const char* label, const std::string& file) { Sys().Log(std::string(label) + " = " + file + "\n"); }

GLuint CompileShader(Graphics& graphics, GLenum kind, const std::string& file, const char* label) {
    const GLuint shader = glCreateShader(kind);
    const std::string source = Sys().ReadTextFile(file);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        LogFileLine(label, file);
        graphics.PrintShaderLog(shader);
    }
    return shader;
}

// The log text, or empty when the log holds nothing but its terminator.
template <class GetLength, class GetLog>
std::string InfoLog(GLuint name, GetLength getLength, GetLog getLog) {
    GLint length = 0;
    getLength(name, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1) return std::string();
    std::vector<char> text(size_t(length), '\0');
    getLog(name, length, nullptr, text.data());
    return std::string(text.data());
}

void DeleteProgramAndShaders(unsigned& program) {
    GLuint shaders[2] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 2, &count, shaders);
    glDeleteProgram(program);
    for (GLsizei i = 0; i < count; ++i) glDeleteShader(shaders[i]);
    program = 0;
}

}  // namespace

unsigned Graphics::LoadShaderProgram(std::string vertFile, std::string fragFile) {
    const GLuint vertex = CompileShader(*this, GL_VERTEX_SHADER, vertFile, "vertShaderFile");
    const GLuint fragment = CompileShader(*this, GL_FRAGMENT_SHADER, fragFile, "fragShaderFile");
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    for (const AttributeBinding& binding : kFixedAttributes)
        glBindAttribLocation(program, binding.location, binding.name);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        LogFileLine("vertShaderFile", vertFile);
        LogFileLine("fragShaderFile", fragFile);
        PrintProgramLog(program);
    }
    return program;
}

void Graphics::PrintShaderLog(unsigned shader) {
    const std::string text = InfoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    if (!text.empty()) Sys().Error(SOURCE_POS + text);
}

void Graphics::PrintProgramLog(unsigned program) {
    const std::string text = InfoLog(program, glGetProgramiv, glGetProgramInfoLog);
    if (!text.empty()) Sys().Error(SOURCE_POS + text);
}

unsigned Graphics::SaveAndClearProgram() {
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (current != 0) glUseProgram(0);
    return unsigned(current);
}

void Graphics::RestoreProgram(unsigned program) {
    if (program != 0) glUseProgram(program);
}

void Graphics::BuildPrograms() {
    boneProgram = LoadShaderProgram("shaders/bone_vert.glsl", "shaders/bone_frag.glsl");
    deferredBoneProgram = LoadShaderProgram("shaders/deferred_bone_vert.glsl", "shaders/deferred_bone_frag.glsl");
    billboardProgram = LoadShaderProgram("shaders/billboard_vert.glsl", "shaders/billboard_frag.glsl");
    deferredBillboardProgram =
        LoadShaderProgram("shaders/deferred_billboard_vert.glsl", "shaders/deferred_billboard_frag.glsl");
    cockpitProgram = LoadShaderProgram("shaders/cockpit_vert.glsl", "shaders/cockpit_frag.glsl");
    deferredCombineProgram =
        LoadShaderProgram("shaders/deferred_combine_vert.glsl", "shaders/deferred_combine_frag.glsl");
    deferredPolishProgram = LoadShaderProgram("shaders/deferred_polish_vert.glsl", "shaders/deferred_polish_frag.glsl");
    // The two instance programs share the fragment shaders of the bone programs.
    if (Sys().shaderModel4) {
        instanceProgram = LoadShaderProgram("shaders/instance_vert.glsl", "shaders/bone_frag.glsl");
        deferredInstanceProgram =
            LoadShaderProgram("shaders/deferred_instance_vert.glsl", "shaders/deferred_bone_frag.glsl");
    } else {
        instanceProgram = 0;
    }
    particleGraphics.LoadShaders();
}

void Graphics::ReleasePrograms(bool sameContext) {
    unsigned* const programs[] = {&boneProgram, &deferredBoneProgram, &billboardProgram, &deferredBillboardProgram,
                                  &cockpitProgram, &instanceProgram, &deferredInstanceProgram,
                                  &deferredCombineProgram, &deferredPolishProgram,
                                  &particleGraphics.particleProgram, &particleGraphics.deferredParticleProgram};
    for (unsigned* program : programs) {
        // In a new context an old number may already name something else.
        if (sameContext && *program != 0 && glIsProgram(*program)) DeleteProgramAndShaders(*program);
        *program = 0;
    }
}
