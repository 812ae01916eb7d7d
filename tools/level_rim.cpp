#include "level_rim.h"

#include "level_layout.h"

void AddRimWalls(std::vector<PlacedObject>& objects) {
    using namespace layout;
    const float nearSide = kRimWallMiddle, farSide = kMapSize - kRimWallMiddle, middle = kMapSize / 2.0f;
    objects.push_back({kRimWallX, middle, 0.0f, nearSide});
    objects.push_back({kRimWallX, middle, 0.0f, farSide});
    objects.push_back({kRimWallZ, nearSide, 0.0f, middle});
    objects.push_back({kRimWallZ, farSide, 0.0f, middle});
}
