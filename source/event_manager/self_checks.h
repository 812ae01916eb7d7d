// Two routines that exercise the engine outside the running game (nothing in
// the game calls them); the event-bus benchmark and the event tests run them.
//
// Main thread, while no module publishes or polls: the throughput run kills
// and re-initialises the EventManager and leaves it killed.
#pragma once

#include <ostream>

// Sends 100 passes of 100 "TestEvent" events from "TestClient1" to
// "TestClient2", each with the parameters "test1" (float), "test2" and
// "test3" (Vector) and "test4" (Quaternion), polls them and reads every
// parameter back, then writes the one-line report to out. Returns the
// seconds the passes took.
double RunEventThroughput(std::ostream& out);

// Whether copying and assigning game objects that carry a BillboardComp
// with the texture handle "tex_test" keeps that handle in every copy.
bool CheckBillboardHandleCopies();
