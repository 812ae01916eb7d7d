// The headers nearly every test program includes, compiled once for all of
// them: GoogleTest and the engine's core headers were most of each test
// program's compile time, and the suite builds them twice (sanitized and
// normal) on a two-core machine.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "event_manager.h"
#include "object_manager.h"
#include "objects/components.h"
#include "resource_manager.h"
#include "system.h"
