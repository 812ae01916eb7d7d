// DebugGraphics: wire shapes asked for by "DebugDraw" events, queued by
// Graphics::ProcessEvent and drawn once at the end of the mesh pass into the
// geometry buffer, with the fixed-function pipeline and without lighting, in
// the colours asked for. Owned by Graphics. Main thread only.
//
// Event "DebugDraw" (to "Graphics"): "type" (string) "wireBox" with optional
// "trans", "rot" (Quaternion), "scale", "color" (Vectors), or "line" with
// "pointA", "pointB" and optional "color"; another type draws nothing. The
// event is checked when queued: a missing "type" or line end, or a parameter
// of another type, drops it with a warning, so the frame never meets it.
// Never: holds more than kMaxQueued events (frames showing slides do not
// drain the queue; expiring events arrive on every poll).
#pragma once

#include <deque>

#include "event_manager/event.h"
#include "module.h"
#include "resource_manager/mesh.h"

class Graphics;

class DebugGraphics : public Extension<Graphics> {
public:
    static constexpr const char* kParamType = "type";
    static constexpr const char* kWireBox = "wireBox";
    static constexpr const char* kLine = "line";
    static constexpr const char* kParamTrans = "trans";
    static constexpr const char* kParamRot = "rot";
    static constexpr const char* kParamScale = "scale";
    static constexpr const char* kParamColor = "color";
    static constexpr const char* kParamPointA = "pointA";
    static constexpr const char* kParamPointB = "pointB";
    static constexpr size_t kMaxQueued = 4096;

    // Builds boxMesh and enables drawing (called by Graphics::Init).
    void Init();
    // Appends a copy of a "DebugDraw" event. Throws the event's parameter
    // error (which drops the event with a warning) when it cannot be drawn;
    // beyond kMaxQueued the event is dropped, warned once until the queue
    // drains.
    void Queue(const Event& event);
    // Draws and empties the queue with program 0 (the program in use is put
    // back afterwards). End of the mesh pass.
    void Render();
    // Draws one shape in the current model-view transform.
    void DrawShape(const Event& event);

    std::deque<Event> eventQueue;  // the queued "DebugDraw" events, oldest first
    bool enabled = false;          // set by Graphics::Init; nothing drawn while false
    Mesh boxMesh;                  // unit box of the lines' end boxes

private:
    bool overflowWarned = false;
};
