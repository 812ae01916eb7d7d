// DebugGraphics: wire shapes asked for by "DebugDraw" events, queued by
// Graphics::ProcessEvent and drawn once at the end of the mesh pass. Owned
// by Graphics. Main thread only.
//
// This header holds the record and the two steps the renderer calls; the
// shapes themselves, the queue's handling and the box mesh come with the
// debug drawing.
#pragma once

#include <deque>

#include "event_manager/event.h"
#include "module.h"
#include "resource_manager/mesh.h"

class Graphics;

class DebugGraphics : public Extension<Graphics> {
public:
    // Builds boxMesh (called by Graphics::Init).
    void Init();
    // Draws and empties the queue with the fixed-function pipeline (the
    // program in use is put aside meanwhile). End of the mesh pass.
    void Render();

    std::deque<Event> eventQueue;  // the queued "DebugDraw" events, oldest first
    bool enabled = false;          // set by Graphics::Init; nothing drawn while false
    Mesh boxMesh;                  // unit box of the lines' end boxes
};
