// MiniMap (type 3, factory kind 3) and FullMap (type 13): the head-up
// display's radar. A textured disc over which the player, the objects that
// carry statistics (the enemies) and the level's box-shaped structures are
// drawn as blips around the player: the surroundings turn with the camera's
// yaw while the player's own arrow always points up. World x runs to screen
// x and world z to screen -y, `mapScale` pixels to the world unit.
//
// The MiniMap fades blocks and shows actors as squares only near the middle
// (within 95 and 85 pixels); farther actors become arrows on the rim. The
// FullMap draws every block and every actor square, with the same fade; no
// screen creates one.
//
// Threads: main thread only. Activate rebuilds the blips under ObjectLock
// (taken and released on every path; it keeps no pointer into the table).
// Draw reads only the widget's own copies and takes no lock.
#pragma once

#include <cstdint>
#include <vector>

#include "interface/interface_object.h"

// One blip: a plain copy of what the map shows of an object.
struct MapBlip {
    enum Kind : int32_t { Player = 0, Actor = 1, Block = 2 };

    Color4 color;
    Vector position;  // world position
    Vector halfSize;  // a block's half extents on the world axes (w 0); zero otherwise
    int32_t kind = Actor;
    float angle = 0.0f;  // the heading in radians; player blips only
};

class MiniMap : public InterfaceObject {
public:
    // Green at half alpha, 0.1 x 0.1, mapScale 0.5, centred on the origin.
    MiniMap(int id, const Vector& position);

    // The background, then blocks, the player's arrow and the actors, the
    // blips laid over the disc by depth.
    void Draw() override;
    // Empties the blips and, when a "player" exists, sets `center` to it and
    // lists it, every other object with a StatsComp (actors) and every
    // object without one that has graphics and a collision box (blocks).
    // Without a player the list stays empty and `center` keeps its value.
    void Activate() override;
    // Only x and y move; z and w keep their values.
    void SetPosition(const Vector& newPosition) override;

    InterfaceText label;  // "MINI MAP"; never drawn
    Vector center;        // the player's position at the last rebuild
    std::vector<MapBlip> blips;  // keeps its capacity from frame to frame
    float mapScale = 0.5f;       // pixels per world unit

protected:
    MiniMap(int type, int id, const Vector& position, const char* labelText);
    // `radar`: the MiniMap's range limits (blocks beyond 95 pixels skipped,
    // actors beyond 85 shown as rim arrows).
    void DrawMap(bool radar) const;

private:
    void DrawBlocks(bool radar, float yawDegrees) const;
    void DrawPlayers() const;
    void DrawActors(bool radar, float yawDegrees) const;
    float CentreX() const { return position.x + width * 0.5f; }
    float CentreY() const { return position.y + height * 0.5f; }
};

class FullMap : public MiniMap {
public:
    // As the MiniMap, 200 x 200 and labelled "FULL MAP".
    FullMap(int id, const Vector& position);
    void Draw() override;
    // Stores all four components.
    void SetPosition(const Vector& newPosition) override { InterfaceObject::SetPosition(newPosition); }
};
