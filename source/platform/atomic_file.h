// Replacing a user's file (settings, scores) so that a crash or a failed
// write never leaves it half-written: the bytes go to a temporary file beside
// the target, which is flushed, closed and renamed over the target.
// Any thread; never logs (the caller reports the reason).
#pragma once

#include <string>

namespace platform {

// True when path now holds exactly bytes. On failure the old file at path is
// untouched, the temporary file is removed, and reason says what went wrong.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason);

}  // namespace platform
