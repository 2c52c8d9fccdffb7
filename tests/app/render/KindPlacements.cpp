// The placement lists of the picture tests.
#include "tests/app/render/KindPlacements.h"

#include <gtest/gtest.h>

#include "support/DIB.h"

std::vector<SPlaced> PanelsAndTextiles() {
    constexpr double Flat = -90.0;
    return {
        {ElmntKind::Panel, 350, 350, {0, 0, 0}, TexturedSlot, Flat},
        {ElmntKind::Display, 350, 350, {500, 0, 0}, TexturedSlot, Flat},
        {ElmntKind::Wood, 350, 350, {1000, 0, 0}, TexturedSlot, Flat},
        {ElmntKind::WoodKnob, 350, 350, {1500, 0, 0}, TexturedSlot, Flat},
        {ElmntKind::RoundWood, 350, 350, {0, 0, 600}, 5, Flat},
        {ElmntKind::Lattice, 350, 350, {500, 0, 600}, 3, Flat},
        {ElmntKind::WoodBed, 350, 750, {1000, 0, 700}, 10, Flat},
        {ElmntKind::Textil, 350, 350, {1500, 0, 600}, TexturedSlot, Flat},
        {ElmntKind::ChairSeatBack, 350, 350, {0, 0, 1200}, TexturedSlot, Flat},
        {ElmntKind::TextilRound, 350, 0, {900, -200, 1400}, 7},
        {ElmntKind::Bag, 0, 0, {1700, 0, 1300}, 8},
    };
}

std::vector<SPlaced> WheelsAndCaps() {
    return {
        {ElmntKind::MultiWheel, 0, 0, {0, 0, 0}, 6},
        {ElmntKind::FloatingWheel, 0, 0, {400, 0, 0}, 8},
        {ElmntKind::Bearing, 0, 0, {750, 0, 0}, 2},
        {ElmntKind::Casters, 0, 0, {950, 0, 0}, 3},
        {ElmntKind::SteeringLock, 0, 0, {0, 0, 350}, 5},
        {ElmntKind::HubCap, 0, 0, {350, 0, 350}, 2},
        {ElmntKind::TubeCap, 0, 0, {550, 0, 350}, 4},
        {ElmntKind::Clamp, 0, 0, {750, 0, 350}, 11},
        {ElmntKind::Clip, 0, 0, {1000, 0, 350}, 11},
        {ElmntKind::Alu, 600, 0, {0, 0, 650}, 11},
    };
}

std::vector<SPlaced> Slides() {
    return {
        {ElmntKind::Slide, 0, 0, {0, 800, 0}, 7},
        {ElmntKind::CurvedSlide, 0, 0, {800, 800, 0}, 8},
        {ElmntKind::SlideEnd, 0, 0, {0, 0, 1700}, 9},
    };
}

std::vector<SPlaced> PoolsAndRoofs() {
    return {
        {ElmntKind::Pool, 0, 0, {-1400, 0, 0}, 8},
        {ElmntKind::PoolSmall, 0, 0, {-2700, 0, 500}, 14},
        // Their slopes fall to either side of the turned tube.
        {ElmntKind::Roof, 0, 0, {2400, 600, -300}, 1, 45.0},
        {ElmntKind::RoofLarge, 0, 0, {1800, 600, 2200}, 1, 45.0},
    };
}

std::vector<SPlaced> Couplings() {
    return {
        {ElmntKind::Connector, 0, 0, {0, 0, 1000}, 2, 0.0, 0b010101},
        {ElmntKind::Connector, 0, 0, {250, 0, 1000}, 5, 0.0, 0b100110},
        {ElmntKind::Connector45, 0, 0, {400, 0, 1000}, 6},
        {ElmntKind::BearingConnector, 0, 0, {800, 0, 1000}, 3},
        {ElmntKind::FlexiConnector, 0, 0, {1000, 0, 1000}, 4},
    };
}

std::vector<SPlaced> Joined(std::vector<SPlaced> first, const std::vector<SPlaced>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

std::unique_ptr<CElmnt> MakePlaced(CElmntIdSource& ids, Revision revision, const SPlaced& placed,
                                   CVector3 offset) {
    CTransform placement({}, placed.at + offset);
    placement.RotateDeg(placed.tilt, 1, 2);
    auto elmnt = std::make_unique<CElmnt>(ids, revision, placed.kind, placed.material, placement,
                                          true, placed.length, placed.width);
    if (placed.arms != 0) {
        EXPECT_TRUE(elmnt->SetOccupiedArms(placed.arms));
    }
    return elmnt;
}

bool WriteCheckedTexture(const std::string& path) {
    CDIB texture;
    if (!texture.Create(64, 64, 24, 0)) {
        return false;
    }
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            texture.SetPixel(x, y, ((x / 8 + y / 8) % 2) != 0 ? 0x3070c0u : 0xe8d8a0u);
        }
    }
    return texture.Save(path);
}
