// Graphics: the bitmap font and the symbol set as display lists, and
// PrintText, which the interface widgets call inside the overlay pass's pixel
// projection. A glyph's advance is compiled into its list, so a whole line is
// one glCallLists. Main thread only.
#include <GL/glew.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "graphics.h"
#include "graphics/frame_reports.h"
#include "resource_manager.h"
#include "resource_manager/gl_names.h"
#include "system.h"

namespace {

ResourceManager& Resources() { return *Module<ResourceManager>::Instance(); }
// Scales both the glyphs and their advance.
float TextSpacing() { return Module<System>::Instance()->fontSpacing; }

const int kFontGrid = 16;   // cells per row of the font texture
const int kSymbolGrid = 4;  // cells per row of the symbol texture

// The lists do not hold the texture; it is bound while they are built only
// as the drawing routines will bind it. A name not uploaded yet binds 0
// (binding it would create a texture of that number).
void BindWhileBuilding(const Handle& handle) {
    const Texture* texture = Resources().IsStored(handle.id) ? Resources().get<Texture>(handle) : nullptr;
    glBindTexture(GL_TEXTURE_2D, texture && HoldsLiveTexture(*texture) ? texture->texID : 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

// One cell of a grid texture of `step` per cell: the glyph square from (0, 0)
// to (32, 32), the cell's top texture row (t0) at its top.
void SendCellQuad(int row, int column, float step) {
    const float s0 = column * step, t0 = row * step;
    const GLint side = GLint(Graphics::kGlyphSide);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0 + step);
    glVertex2i(0, 0);
    glTexCoord2f(s0 + step, t0 + step);
    glVertex2i(side, 0);
    glTexCoord2f(s0 + step, t0);
    glVertex2i(side, side);
    glTexCoord2f(s0, t0);
    glVertex2i(0, side);
    glEnd();
}

// Graphics starts before the game flow loads the interface pictures, so at
// start-up they are not stored yet: that is the normal order, not an error
// (which would also write an error-log file on every start). The name is
// kept and looked up again where it is drawn.
Handle ResolveOrKeepName(const std::string& name) {
    if (!Resources().IsStored(name))
        Module<System>::Instance()->Log(name + " is not loaded yet: looked up again when drawn");
    return Handle(name);
}

}  // namespace

void Graphics::BuildTextLists(bool sameContext) {
    crosshairTex = ResolveOrKeepName(kCrosshairTexture);
    fontTex = ResolveOrKeepName(kFontTexture);
    symbolsTex = ResolveOrKeepName(kSymbolsTexture);
    CHECK_FRAME_GL(*reports);
    // An Init without Kill before it must not leave the old lists behind; in
    // a new context they went with the old one.
    if (sameContext)
        DeleteFontLists();
    else
        fontListBase = 0;
    BuildFont();
    BuildSymbolFont(sameContext);
}

void Graphics::BuildFont() {
    fontListBase = glGenLists(kFontListCount);
    if (fontListBase == 0) {
        reports->Fault(SOURCE_POS, "no display lists left for the font: text is not drawn");
        return;
    }
    BindWhileBuilding(fontTex);
    const double advance = kGlyphSide * TextSpacing();
    for (int cell = 0; cell < kFontListCount; ++cell) {
        glNewList(fontListBase + cell, GL_COMPILE);
        SendCellQuad(cell / kFontGrid, cell % kFontGrid, 1.0f / kFontGrid);
        glTranslated(advance, 0.0, 0.0);
        glEndList();
    }
}

void Graphics::BuildSymbolFont(bool sameContext) {
    // Never deleted: a second Init in the same context keeps the ones it has.
    const bool live = std::all_of(std::begin(symbolLists), std::end(symbolLists),
                                  [](unsigned list) { return list != 0 && glIsList(list); });
    if (sameContext && live) return;
    BindWhileBuilding(symbolsTex);
    for (int symbol = 0; symbol < kSymbolCount; ++symbol) {
        symbolLists[symbol] = glGenLists(1);
        if (symbolLists[symbol] == 0) continue;
        glNewList(symbolLists[symbol], GL_COMPILE);
        SendCellQuad(symbol / kSymbolGrid, symbol % kSymbolGrid, 1.0f / kSymbolGrid);
        glEndList();
    }
}

void Graphics::PrintText(const char* text, int x, int y, float scale) {
    if (!text || fontListBase == 0) return;
    // Looked up at every call: the font may be unloaded or uploaded again.
    const unsigned font = FrameTextureName(fontTex.id.empty() ? kFontTexture : fontTex.id);
    if (font == 0) return;
    glBindTexture(GL_TEXTURE_2D, font);
    const float size = TextSpacing() * scale;
    glLoadIdentity();
    glTranslated(x, y, 0.0);
    glScalef(size, size, 1.0f);
    glListBase(fontListBase - kFirstFontCode);
    std::string line;
    for (const char* at = text;; ++at) {
        const unsigned char code = static_cast<unsigned char>(*at);
        if (code != '\0' && code != '\n') {
            // A lower code would call a list below the font (the quad list, or
            // a symbol list of an earlier Init).
            if (code >= kFirstFontCode) line += char(code);
            continue;
        }
        if (!line.empty()) glCallLists(GLsizei(line.size()), GL_UNSIGNED_BYTE, line.data());
        if (code == '\0') return;
        // The next line starts under the first glyph of this one.
        glTranslated(-double(line.size()) * kGlyphSide * TextSpacing(), -kGlyphSide, 0.0);
        line.clear();
    }
}
