#include "platform/gl_context.h"

// SDL 1.2 makes its OpenGL contexts through GLX on X11; GLX keeps the current
// context per thread.
#include <GL/glx.h>

namespace platform {

bool HasCurrentGLContext() { return glXGetCurrentContext() != nullptr; }

}  // namespace platform
