// Writes the sample designs of data/: a table, a play tower and a display stand, each built the
// way the 3D view builds a design (every part attached at a connection of a part already
// placed, in a revision of its own, its ends linked to couplings found or created there) and
// saved by the design file's writer. Each opens with cameras that show the whole design in the
// middle of the picture. The table keeps the history of how it was built, so that undo shows it
// taken apart part by part; the other two are saved without history.
//
// Regenerate data/ after changing the element records, attaching or the couplings:
//
//   cmake --build build --target zarnel_samplegen
//   build/tools/samplegen/zarnel_samplegen data
#include <cstdio>
#include <memory>
#include <string>

#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Orientation.h"
#include "support/Resources.h"
#include "support/UserInterface.h"
#include "tools/samplegen/SampleCameras.h"

namespace {

// The tool modes used here: attaching at a coupling's arm and a panel in a coupling's corner
// slot; roofs and slides are placed by the modes that attach them by pair of kinds.
constexpr ToolMode kModeArm = ToolMode::AtConnection;
constexpr ToolMode kModeCornerSlot = ToolMode::SpecialPanel;

// Materials of the default table.
constexpr int32_t kAlu = 11;      // couplings and frames
constexpr int32_t kMetalBlue = 4; // tubes of the play tower
constexpr int32_t kMetalRed = 2;  // posts of the play tower
constexpr int32_t kPlasticYellow = 9;
constexpr int32_t kPlasticGreen = 7;
constexpr int32_t kPlasticBlue = 8;

// Tube lengths of the kit: 350 mm spans 400 mm between coupling centres, 750 mm spans 800 mm.
constexpr float kShort = 350.0f;
constexpr float kLong = 750.0f;
constexpr double kShortSpan = 400.0;
// The shortest tube, 100 mm, spans 150 mm.
constexpr float kTiny = 100.0f;
constexpr double kTinySpan = 150.0;
// A panel of 350 x 350 mm fills one square of a 400 mm grid.
constexpr float kPanel = 350.0f;

// Quiet answers for the questions of the default lists: the samples need no prices.
class QuietUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string& text, const std::string&, MsgButtons,
                             MsgIcon) override {
        if (m_building) {
            // While building, a box means a part met a coupling off its arms.
            std::fprintf(stderr, "zarnel_samplegen: %s\n", text.c_str());
            std::exit(1);
        }
        return MsgAnswer::No;
    }
    void SetBuilding(bool building) { m_building = building; }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0; }

private:
    bool m_building = false;
};

class CBuilder {
public:
    CZarnelDcmt& Dcmt() { return m_dcmt; }

    // The plain coupling alive at the point (within 1 mm); nullptr when there is none.
    CElmnt* CouplingAt(CVector3 point) {
        for (CElmnt& elmnt : m_dcmt.GetAliveElements()) {
            if (elmnt.kind == ElmntKind::Connector &&
                CVector3::DistSq(elmnt.placement.translation, point) < 1.0) {
                return &elmnt;
            }
        }
        return nullptr;
    }

    // Places a part as the view does: a new revision, the part attached at connection n of the
    // target, appended and linked. Fails loudly, since a sample must be complete.
    CElmnt& Place(CElmnt& target, ToolMode toolMode, ElmntKind kind, int32_t material, float size1,
                  float size2, int n) {
        const Revision r = m_dcmt.NewRevision();
        std::unique_ptr<CElmnt> created =
            target.CreateAttached(r, toolMode, kind, material, size1, size2, n);
        if (created == nullptr) {
            std::fprintf(stderr, "zarnel_samplegen: a part could not be attached\n");
            std::exit(1);
        }
        CElmnt& placed = m_dcmt.AddElement(std::move(created));
        placed.LinkEnds(r, m_dcmt.GetElmntList(), kAlu, CouplingSnap::NormalSq);
        return placed;
    }

    // A tube from the coupling at the point towards the side.
    CElmnt& Tube(CVector3 from, int side, float length, int32_t material) {
        CElmnt* coupling = CouplingAt(from);
        if (coupling == nullptr) {
            std::fprintf(stderr, "zarnel_samplegen: no coupling at %g %g %g\n", from.x, from.y,
                         from.z);
            std::exit(1);
        }
        return Place(*coupling, kModeArm, ElmntKind::Tube, material, length, 0.0f, side);
    }

    // A panel of one grid square whose corner 0 is the coupling at the point, spanning along
    // the two sides of the edge.
    CElmnt& Panel(CVector3 corner, int edge, ElmntKind kind, int32_t material) {
        CElmnt* coupling = CouplingAt(corner);
        if (coupling == nullptr) {
            std::fprintf(stderr, "zarnel_samplegen: no coupling at a panel corner\n");
            std::exit(1);
        }
        return Place(*coupling, kModeCornerSlot, kind, material, kPanel, kPanel, edge);
    }

    // Saves the design; without keepHistory every part lives from the first revision on, so
    // that the sample opens with nothing to undo.
    bool Save(const std::string& path, bool keepHistory) {
        if (!keepHistory) {
            m_dcmt.OnDeleteHistory();
        }
        m_dcmt.UpdatePartsList();
        return SaveDesignFile(m_dcmt, path, kAlu, CouplingSnap::NormalSq);
    }

private:
    CZarnelDcmt m_dcmt;
};

// Edges (pairs of sides) in which panels lie: horizontal with X along +x and Y along +z, and
// upright with X along +x and Y along +y.
constexpr int kEdgeXZ = 4; // +X +Z
constexpr int kEdgeXY = 0; // +X +Y

// A table of 1200 x 800 mm, 800 mm high: a floor frame, four legs, a top frame over a 400 mm
// grid and six blue top panels.
void BuildTable(CBuilder& b) {
    // Floor frame, from the start coupling at the origin.
    for (int i = 0; i < 3; ++i) {
        b.Tube({kShortSpan * i, 0, 0}, Side::PlusX, kShort, kAlu);
    }
    b.Tube({0, 0, 0}, Side::PlusZ, kLong, kAlu);
    b.Tube({1200, 0, 0}, Side::PlusZ, kLong, kAlu);
    for (int i = 0; i < 3; ++i) {
        b.Tube({kShortSpan * i, 0, 800}, Side::PlusX, kShort, kAlu);
    }
    // Legs.
    for (double x : {0.0, 1200.0}) {
        for (double z : {0.0, 800.0}) {
            b.Tube({x, 0, z}, Side::PlusY, kLong, kAlu);
        }
    }
    // Top frame on a 400 mm grid: the long sides, the left end, the middle row, then the
    // cross tubes.
    for (double z : {0.0, 800.0}) {
        for (int i = 0; i < 3; ++i) {
            b.Tube({kShortSpan * i, 800, z}, Side::PlusX, kShort, kAlu);
        }
    }
    b.Tube({0, 800, 0}, Side::PlusZ, kShort, kAlu);
    b.Tube({0, 800, 400}, Side::PlusZ, kShort, kAlu);
    for (int i = 0; i < 3; ++i) {
        b.Tube({kShortSpan * i, 800, 400}, Side::PlusX, kShort, kAlu);
    }
    for (int i = 1; i < 4; ++i) {
        b.Tube({kShortSpan * i, 800, 0}, Side::PlusZ, kShort, kAlu);
        b.Tube({kShortSpan * i, 800, 400}, Side::PlusZ, kShort, kAlu);
    }
    // Top panels.
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            b.Panel({kShortSpan * i, 800, kShortSpan * j}, kEdgeXZ, ElmntKind::Panel, kPlasticBlue);
        }
    }
}

// A play tower on 800 x 800 mm: four red posts 1600 mm high, a platform of four yellow panels
// at 800 mm, a railing and a green wall at the back above it, a roof on a ridge tube, and a slide
// from the front.
void BuildPlayTower(CBuilder& b) {
    // Ground frame.
    b.Tube({0, 0, 0}, Side::PlusX, kLong, kMetalBlue);
    b.Tube({0, 0, 0}, Side::PlusZ, kLong, kMetalBlue);
    b.Tube({800, 0, 0}, Side::PlusZ, kLong, kMetalBlue);
    b.Tube({0, 0, 800}, Side::PlusX, kLong, kMetalBlue);
    // Posts: 800 mm to the platform, 400 and 400 above it.
    for (double x : {0.0, 800.0}) {
        for (double z : {0.0, 800.0}) {
            b.Tube({x, 0, z}, Side::PlusY, kLong, kMetalRed);
            b.Tube({x, 800, z}, Side::PlusY, kShort, kMetalRed);
            b.Tube({x, 1200, z}, Side::PlusY, kShort, kMetalRed);
        }
    }
    // Platform frame on a 400 mm grid.
    for (double y : {800.0, 1600.0}) {
        for (double z : {0.0, 800.0}) {
            b.Tube({0, y, z}, Side::PlusX, kShort, kMetalBlue);
            b.Tube({400, y, z}, Side::PlusX, kShort, kMetalBlue);
        }
        for (double x : {0.0, 800.0}) {
            b.Tube({x, y, 0}, Side::PlusZ, kShort, kMetalBlue);
            b.Tube({x, y, 400}, Side::PlusZ, kShort, kMetalBlue);
        }
    }
    b.Tube({400, 800, 0}, Side::PlusZ, kShort, kMetalBlue);
    b.Tube({400, 800, 400}, Side::PlusZ, kShort, kMetalBlue);
    b.Tube({0, 800, 400}, Side::PlusX, kShort, kMetalBlue);
    b.Tube({400, 800, 400}, Side::PlusX, kShort, kMetalBlue);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            b.Panel({kShortSpan * i, 800, kShortSpan * j}, kEdgeXZ, ElmntKind::Panel,
                    kPlasticYellow);
        }
    }
    // Railing tubes half way up, and walls on the back (z = 800) below them.
    for (double z : {0.0, 800.0}) {
        b.Tube({0, 1200, z}, Side::PlusX, kShort, kMetalBlue);
        b.Tube({400, 1200, z}, Side::PlusX, kShort, kMetalBlue);
    }
    b.Tube({800, 1200, 0}, Side::PlusZ, kShort, kMetalBlue);
    b.Tube({800, 1200, 400}, Side::PlusZ, kShort, kMetalBlue);
    b.Tube({400, 800, 800}, Side::PlusY, kShort, kMetalBlue);
    for (int i = 0; i < 2; ++i) {
        b.Panel({kShortSpan * i, 800, 800}, kEdgeXY, ElmntKind::Panel, kPlasticGreen);
    }
    // A ridge tube on two short posts over the middle of the top frame, and the roof on it.
    // The roof is drawn turned by -45 degrees about its tube: turned back by as much, its two
    // slopes fall to either side of the ridge tube instead of one of them through the tower.
    b.Tube({0, 1600, 400}, Side::PlusY, kShort, kMetalRed);
    b.Tube({800, 1600, 400}, Side::PlusY, kShort, kMetalRed);
    CElmnt& ridge = b.Tube({0, 2000, 400}, Side::PlusX, kLong, kMetalBlue);
    CElmnt& roof = b.Place(ridge, ToolMode::OnPickedRoof, ElmntKind::Roof, kAlu, 0.0f, 0.0f, 0);
    roof.placement.RotateDeg(45.0, 1, 2);
    // The slide hangs on a tube of its own, 150 mm in front of the platform: its top reaches
    // past the tube's couplings and over the tube, where a platform panel or a tube in line
    // would be in its way. The tube runs from right to left, so that the slide leads away from
    // the tower.
    b.Tube({0, 800, 0}, Side::MinusZ, kTiny, kMetalBlue);
    b.Tube({400, 800, 0}, Side::MinusZ, kTiny, kMetalBlue);
    CElmnt& slideTube = b.Tube({400, 800, -kTinySpan}, Side::MinusX, kShort, kMetalBlue);
    b.Place(slideTube, ToolMode::OnPickedSlide, ElmntKind::Slide, kPlasticBlue, 0.0f, 0.0f, 0);
}

// A display stand: an upright wall of 3 x 4 yellow display panels on a 400 mm grid, 1200 mm
// wide and 1600 mm high, with two feet to the front and back. The panels are light but not
// white, so that they stand out against the white background of the 3D view.
void BuildDisplayStand(CBuilder& b) {
    // Feet: tubes to the front and back of the two outer columns.
    b.Tube({0, 0, 0}, Side::PlusX, kShort, kAlu);
    b.Tube({400, 0, 0}, Side::PlusX, kShort, kAlu);
    b.Tube({800, 0, 0}, Side::PlusX, kShort, kAlu);
    for (double x : {0.0, 1200.0}) {
        b.Tube({x, 0, 0}, Side::PlusZ, kShort, kAlu);
        b.Tube({x, 0, 0}, Side::MinusZ, kShort, kAlu);
    }
    // Columns and rows of the wall.
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            b.Tube({kShortSpan * i, kShortSpan * j, 0}, Side::PlusY, kShort, kAlu);
        }
    }
    for (int j = 1; j < 5; ++j) {
        for (int i = 0; i < 3; ++i) {
            b.Tube({kShortSpan * i, kShortSpan * j, 0}, Side::PlusX, kShort, kAlu);
        }
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            b.Panel({kShortSpan * i, kShortSpan * j, 0}, kEdgeXY, ElmntKind::Display,
                    kPlasticYellow);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarnel_samplegen <folder>\n");
        return 2;
    }
    static QuietUserInterface ui;
    SetResourceModule(&ZarnelResources());
    InstallUserInterface(&ui);
    const std::string folder = argv[1];
    struct SSample {
        const char* file;
        void (*build)(CBuilder&);
        int frontTurn;    // the model turn (degrees) that shows the design's front
        bool keepHistory; // undo shows how it was built
    };
    const SSample samples[] = {
        {"table.zdf", BuildTable, 0, true},
        {"play-tower.zdf", BuildPlayTower, 180, false},
        {"display-stand.zdf", BuildDisplayStand, 0, false},
    };
    for (const SSample& sample : samples) {
        CBuilder builder;
        ui.SetBuilding(true);
        sample.build(builder);
        ui.SetBuilding(false);
        FrameCameras(builder.Dcmt(), sample.frontTurn);
        if (!builder.Save(folder + "/" + sample.file, sample.keepHistory)) {
            std::fprintf(stderr, "zarnel_samplegen: %s could not be saved\n", sample.file);
            return 1;
        }
    }
    return 0;
}
