// Graphics: a placeholder until its own issue builds the module.
// It will draw each frame and swap the buffers.
// Its Init, Update and Kill do nothing yet, so start-up, the frame loop and
// shutdown already call it in its final place: Update on the main thread,
// also while paused.
#pragma once

#include "module.h"

class Graphics : public virtual Module<Graphics> {
public:
    Graphics() : Module<Graphics>("Graphics") {}

    void Init() override {}
    void Update() override {}
    void Kill() override {}

    // Draws the ResourceManager's screen image (splash or loading picture)
    // over the whole window and swaps the buffers at once. Main thread; needs
    // only the OpenGL context and the uploaded screen image, not Init, so it
    // also serves start-up before Init and a resolution change.
    void DrawLoadingScreen();
    // One textured quad over the whole target, texture row 0 at the bottom,
    // drawn with identity matrices; the matrices are left as they were.
    void DrawFullScreenQuad();
};
