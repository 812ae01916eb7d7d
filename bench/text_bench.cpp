// Bitmap text at 1024x768 on this machine's OpenGL: 2,000 characters per
// frame through Graphics::PrintText (40 calls of 50 characters, as a screen
// full of interface text would make them), in the overlay pass's pixel
// projection with blending on, at the widgets' two scales (100: 1, 50: 0.5)
// and at 0.01 (1), where no glyph covers a pixel: the calls' cost alone. Each
// iteration is one frame's text and ends with glFinish, so the drawing is
// done, not only queued. The font is loaded as the game flow loads it
// ("all_first"). Needs a display: run under xvfb-run with SDL_VIDEODRIVER=x11.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <filesystem>
#include <string>

#include "graphics.h"
#include "resource_manager.h"
#include "system.h"

namespace {

Graphics& TheGraphics() { return *Module<Graphics>::Instance(); }

const int kWidth = 1024, kHeight = 768;
const int kLines = 40, kLineLength = 50;

bool FontReady() {
    static const bool ready = [] {
        std::filesystem::current_path(QUELL_RUN_DIR);  // the game's relative paths
        System& system = *Module<System>::Instance();
        system.running.store(false);
        system.fullScreen = false;
        system.width = kWidth;
        system.height = kHeight;
        if (!system.InitGL()) return false;
        ResourceManager& store = *Module<ResourceManager>::Instance();
        store.Init();
        store.LoadCategory("all_first");
        store.LoadContextCategory("all_first");
        TheGraphics().Init();
        return TheGraphics().FrameTextureName(Graphics::kFontTexture) != 0;
    }();
    return ready;
}

// Printable characters in a varying order, so lines differ.
std::string LineOfText(int line) {
    std::string text;
    for (int i = 0; i < kLineLength; ++i) text += char(33 + (line * 7 + i * 13) % 94);
    return text;
}

void BM_PrintText2000Characters(benchmark::State& state) {
    if (!FontReady()) {
        state.SkipWithError("no window or no font (run under xvfb-run with SDL_VIDEODRIVER=x11)");
        return;
    }
    const float scale = float(state.range(0)) / 100.0f;
    std::string lines[kLines];
    for (int line = 0; line < kLines; ++line) lines[line] = LineOfText(line);
    // The overlay pass's state for the widgets.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    glUseProgram(0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kWidth, 0.0, kHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glColor4f(0.9f, 0.9f, 0.2f, 1.0f);
    for (auto _ : state) {
        for (int line = 0; line < kLines; ++line)
            TheGraphics().PrintText(lines[line].c_str(), 10, kHeight - 20 - line * 19, scale);
        glFinish();
    }
    if (glGetError() != GL_NO_ERROR) state.SkipWithError("OpenGL reported an error");
    state.counters["characters"] = kLines * kLineLength;
}

}  // namespace

BENCHMARK(BM_PrintText2000Characters)->Arg(100)->Arg(50)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
