// Every component kind in one include: the base (component.h) and the eleven
// kinds, numbered by CompIndex.
#pragma once

#include "objects/behavior_comp.h"
#include "objects/collision_comp.h"
#include "objects/combat_comps.h"
#include "objects/component.h"
#include "objects/graphics_comps.h"
#include "objects/physics_comp.h"
#include "objects/world_comps.h"
