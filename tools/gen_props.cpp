#include "gen_props.h"

#include "gen_shapes.h"
#include "model_files.h"

namespace {

const float kLight[3] = {1.0f, 1.0f, 1.0f};
const float kMid[3] = {0.75f, 0.75f, 0.75f};
const float kDark[3] = {0.5f, 0.5f, 0.5f};

Mesh Missile() {
    MeshBuilder builder("missile");
    AddBox(builder, Vector(0, 0, 0), Vector(0.6f, 0.6f, 3.0f), kLight);
    AddBox(builder, Vector(0, 0, 3.6f), Vector(0.4f, 0.4f, 0.6f), kMid);
    AddBox(builder, Vector(0, 0, -2.5f), Vector(1.6f, 0.1f, 0.6f), kDark);
    AddBox(builder, Vector(0, 0, -2.5f), Vector(0.1f, 1.6f, 0.6f), kDark);
    return builder.Finish();
}

Mesh AmmoCrate() {
    MeshBuilder builder("pickup_ammo");
    AddBox(builder, Vector(0, -0.5f, 0), Vector(3.0f, 1.5f, 2.2f), kLight);
    AddBox(builder, Vector(0, 1.3f, 0), Vector(3.2f, 0.3f, 2.4f), kMid);
    return builder.Finish();
}

// A cross standing out along all three axes, readable from any side while
// it spins.
Mesh HealthCross() {
    MeshBuilder builder("pickup_health");
    AddBox(builder, Vector(0, 0, 0), Vector(3.0f, 1.0f, 1.0f), kLight);
    AddBox(builder, Vector(0, 0, 0), Vector(1.0f, 3.0f, 1.0f), kLight);
    AddBox(builder, Vector(0, 0, 0), Vector(1.0f, 1.0f, 3.0f), kLight);
    return builder.Finish();
}

Mesh SpawnPad() {
    MeshBuilder builder("spawn_point");
    AddBox(builder, Vector(0, 0.5f, 0), Vector(10.0f, 0.5f, 10.0f), kLight);
    for (float x : {-9.0f, 9.0f})
        for (float z : {-9.0f, 9.0f}) AddBox(builder, Vector(x, 3.5f, z), Vector(0.6f, 2.5f, 0.6f), kDark);
    return builder.Finish();
}

Mesh Building() {
    MeshBuilder builder("building");
    AddBox(builder, Vector(0, 30, 0), Vector(20, 30, 20), kLight);
    AddBox(builder, Vector(0, 62, 0), Vector(12, 2, 12), kMid);
    AddBox(builder, Vector(0, 70, 0), Vector(0.5f, 6, 0.5f), kDark);
    return builder.Finish();
}

// Eye space = (model z, model y - 4.6, 4.4 - model x): a dashboard across the
// bottom of the view about 3 units ahead, two window pillars at the sides
// and a bar across the top.
Mesh Cockpit() {
    MeshBuilder builder("cockpit");
    AddBox(builder, Vector(7.4f, 2.3f, 0), Vector(0.4f, 0.8f, 3.0f), kMid);
    AddBox(builder, Vector(6.8f, 1.2f, 0), Vector(1.0f, 0.6f, 1.5f), kDark);
    for (float z : {-2.6f, 2.6f}) AddBox(builder, Vector(7.9f, 4.85f, z), Vector(0.15f, 1.75f, 0.15f), kLight);
    AddBox(builder, Vector(7.9f, 6.5f, 0), Vector(0.15f, 0.15f, 2.75f), kLight);
    return builder.Finish();
}

}  // namespace

bool GeneratePropMeshes(const std::string& runDir) {
    return WriteMesh(runDir, "missile", Missile()) && WriteMesh(runDir, "pickup_ammo", AmmoCrate()) &&
           WriteMesh(runDir, "pickup_health", HealthCross()) && WriteMesh(runDir, "spawn_point", SpawnPad()) &&
           WriteMesh(runDir, "building", Building()) && WriteMesh(runDir, "cockpit", Cockpit());
}
