// Messages for the InterfaceManager (client "InterfaceManager") that the
// game states send and its own header does not name yet, with their
// parameters: one spelling for senders and handler.
#pragma once

// "message" (string): the head-up display's wave line; "" clears it.
constexpr const char* kWaveCountEvent = "Wave Count Message";
constexpr const char* kWaveCountParam = "message";
