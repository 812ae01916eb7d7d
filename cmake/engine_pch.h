// Standard and third-party headers most of the engine's files include,
// compiled once for the whole library by the build.
#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <boost/unordered_map.hpp>
