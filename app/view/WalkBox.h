// The walk-height record of the 3D view: over the floor area of one connected group of elements,
// the height up to which a child can climb it. The view keeps a snapshot of them and hatches
// each area in green at that height.
#pragma once

// All values in millimetres, in world coordinates.
struct SWalkBox {
    double minX = 0.0;
    double maxX = 0.0;
    double minZ = 0.0;
    double maxZ = 0.0;
    double height = 0.0; // the walkable height
};
