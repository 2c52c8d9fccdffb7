// What both fuzz targets of the slide model's reader demand of a world that it reads: finite
// vertices within the reader's range and unit normals, and no more triangles than the limit. A
// fault ends the run with abort().
#pragma once

#include <cmath>
#include <cstdlib>

#include "app/render/VrmlScene.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"

// Coin keeps a few objects of its own from initialisation to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libCoin.so\n";
}

inline void CheckReadScene(const CVrmlScene& scene) {
    if (scene.GetTriangleCount() > MaxVrmlTriangles) {
        std::abort();
    }
    for (const SVrmlVertex& vertex : scene.GetVertices()) {
        const float length = std::hypot(vertex.normal[0], vertex.normal[1], vertex.normal[2]);
        if (!std::isfinite(vertex.point[0] + vertex.point[1] + vertex.point[2]) ||
            !(std::fabs(length - 1.0f) <= 1e-3f)) {
            std::abort();
        }
    }
}

// Coin and the string table that the reader's reasons come from.
inline void InitVrmlFuzz() {
    InitCoin();
    SetResourceModule(&ZarnelResources());
}
