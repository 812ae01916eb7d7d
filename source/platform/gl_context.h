// Whether the calling thread may use OpenGL: true while an OpenGL context is
// current on it (the main thread once the window exists). Code reachable
// from other threads, such as script bindings run by the level loader, asks
// this before calling OpenGL instead of crashing in the driver.
// Any thread; makes no OpenGL call itself.
#pragma once

namespace platform {

bool HasCurrentGLContext();

}  // namespace platform
