// The messages that the game states send to the InterfaceManager (client
// "InterfaceManager") and their parameters. The interface handles them; the
// names live here so that senders and handler share one spelling.
#pragma once

// "state" (InterfaceState::Type): the screen to build and show.
constexpr const char* kStateChangeEvent = "State Change";
constexpr const char* kStateChangeParam = "state";

// "message" (string): the head-up display's wave line; "" clears it.
constexpr const char* kWaveCountEvent = "Wave Count Message";
constexpr const char* kWaveCountParam = "message";

// No parameters: removes every text line shown by "Game Message".
constexpr const char* kDeleteAllGameMessagesEvent = "Delete all Game Messages";
