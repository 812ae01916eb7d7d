// Graphics: the loading screen, the one picture the game can show before the
// renderer is initialised (the start-up splash, a resolution change).
// Main thread only. Takes no lock and reads no Graphics member.
#include <GL/glew.h>
#include <SDL.h>

#include "graphics.h"
#include "resource_manager.h"
#include "system.h"

void Graphics::DrawLoadingScreen() {
    System& system = *Module<System>::Instance();
    glEnable(GL_TEXTURE_2D);
    glViewport(0, 0, system.width, system.height);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, Module<ResourceManager>::Instance()->screenImageTexID);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    DrawFullScreenQuad();
    SDL_GL_SwapBuffers();
    if (system.screen) SDL_Flip(system.screen);
}
