// The run's statistics as the end-of-level screens show them: eight text
// lines under the "Mission Complete" or "Mission Failed" heading, each typed
// out letter by letter and kept until the lines are deleted.
//
// Main thread: GameLogic's counters are written there only, so they are read
// without a lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interface/game_message.h"
#include "interface/interface_state.h"

class GameLogic;

// "N/A" with no shot fired; otherwise hits per shot times 100 in double
// precision, truncated, at most 100 (a splash can score two hits for one
// shot), followed by "%". The division comes first, so 29 of 100 shows 28.
std::string AccuracyText(uint32_t shotsHit, uint32_t shotsFired);

// The eight lines, top first: kills, the "Damage Taken" heading, shield,
// armor and total damage (summed in 64 bits), shots fired, shots hit,
// accuracy. Every label with a number is padded to 23 characters.
std::vector<GMessage> StatisticsLines(const GameLogic& game);

// Announces an end-of-level screen from "GameLogic": optionally first
// "Delete all Game Messages", then "State Change" to `screen`, then the eight
// statistics lines as "Game Message"s, all to "InterfaceManager".
void PostStatisticsScreen(InterfaceState::Type screen, bool deleteOldLines);
