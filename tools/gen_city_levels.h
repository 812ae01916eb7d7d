// The level files of levels 2 and 3 (see level_layout.h for their plan):
//   level2: the player starts on the shaft's floor; four walls ring it;
//           north of it the plateau, a few ruins and crates, and the city's
//           edge in the north-west, where the goal lies. No spawn points,
//           no machines. The graph covers the plateau and the city from
//           just past the shaft's rim (the shaft's floor is no place for
//           machines: nothing walks out of it).
//   level3: blocks of flats and towers on the city grid, desert east and
//           west of it, machines standing in its streets north of
//           z = 1250, the plaza south of that, walled by blocks on three
//           sides, with a tower in its middle, crates for cover and five
//           spawn points along its edges, releasing northwards into it.
// Both, like level 1, are ringed by the rim's cliffs (level_rim.h). Each
// returns false (with a message) when the level cannot be written.
#pragma once

#include <string>

bool WriteLevelTwo(const std::string& runDir);
bool WriteLevelThree(const std::string& runDir);
