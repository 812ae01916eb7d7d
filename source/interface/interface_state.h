// InterfaceState::Type: the number of the screen the interface shows, carried
// as "state" by "State Change" and kept as the InterfaceManager's current and
// previous screen. The values are fixed: other modules compare against them.
#pragma once

namespace InterfaceState {

enum Type {
    Pause = 0,
    Blank = 1,  // no widgets: the screen before the first real one
    Title = 2,
    Ingame = 3,  // the head-up display
    Credits = 4,
    Options = 5,
    Controls = 6,
    GameOver = 7,
    Win = 8,
    Empty = 9,  // no widgets either
    EndlessModeStart = 10,
    Score = 11,
    QuitConfirm = 12,  // set by the interface while the quit question shows
};

}  // namespace InterfaceState
