// The element kinds placed side by side as the picture tests draw them, in lists by family: kind,
// sizes, place, material slot and tilt of each, with the checked texture of the textured slot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Elmnt.h"

// The slot of a material like slot 10 but with the checked texture (not one of the defaults).
inline constexpr int TexturedSlot = 15;

struct SPlaced {
    ElmntKind kind;
    float length;
    float width;
    CVector3 at;
    int material;
    double tilt = 0.0; // degrees about the local X axis
    uint32_t arms = 0; // occupied arms of a coupling
};

// Panels, boards, the lattice, the textiles and the play bag, lying with their faces up.
std::vector<SPlaced> PanelsAndTextiles();
// The turned parts and small parts.
std::vector<SPlaced> WheelsAndCaps();
std::vector<SPlaced> Slides();
// The pool liners, and the roofs on tubes turned by 45 degrees.
std::vector<SPlaced> PoolsAndRoofs();
// Couplings with and without arms.
std::vector<SPlaced> Couplings();
std::vector<SPlaced> Joined(std::vector<SPlaced> first, const std::vector<SPlaced>& more);

// The record of a placed kind, alive from the revision, fixed, at its place moved by offset (mm).
std::unique_ptr<CElmnt> MakePlaced(CElmntIdSource& ids, Revision revision, const SPlaced& placed,
                                   CVector3 offset = {});

// Writes the checked texture (64 x 64, 24 bits), so that textured faces show their coordinates.
bool WriteCheckedTexture(const std::string& path);
