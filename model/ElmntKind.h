// The kinds of element of the construction kit and what each kind brings with it: the record
// keyword of the design file, the article designation texts, the material category, the drawing
// routine slot and the dialog that edits it. A kind code is an int32 whose bits above the low
// byte are category flags tested all over the model; the codes and bits are fixed values, tested
// by value, and must never be renumbered.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class ElmntKind : int32_t {
    None = 0, // no kind yet (a record before its kind is read)
    Tube = 0x510001,
    RoundTube = 0x510002,
    Connector = 0x820003,
    Connector45 = 0x920004,
    HoleConnector = 0x920005,
    FlexiConnector = 0x920006,
    Bolt = 0x820007,
    Panel = 0x280008,
    Display = 0x280009,
    Wood = 0x28000a,
    WoodKnob = 0x28000b,
    RoundWood = 0x28000c,
    Lattice = 0x88000d,
    WoodBed = 0x28000e,
    Textil = 0x28000f,
    ChairSeatBack = 0x280010,
    MultiWheel = 0x200011,
    FloatingWheel = 0x800012,
    Bearing = 0x900013,
    SteeringLock = 0x1000014,
    HubCap = 0x1000015,
    Casters = 0x900016,
    TubeCap = 0x1000017,
    Slide = 24,
    CurvedSlide = 25,
    SlideEnd = 26,
    Pool = 27,
    PoolSmall = 28,
    Roof = 0x1000001d,
    RoofLarge = 0x1000001e,
    Bag = 0x20001f,
    TextilRound = 0x200020,
    Adapter = 0x900021,
    OpenConnector = 0x900022,
    BearingConnector = 0x900023,
    Clamp = 0x1000024,
    Clip = 0x1000025,
    Alu = 0x2000026,
    AluConnector = 0x2000027,
    FloorGrid = 40, // made by the document, never written to a file
    SlideNew = 41,  // straight slide drawn from the VRML model
};

// Category flags of a kind code.
namespace KindBit {
inline constexpr int32_t SecondEnd = 0x10000;    // the part has a second end (tubes)
inline constexpr int32_t CouplingLike = 0x20000; // a snap target for ends
inline constexpr int32_t PanelLike = 0x80000;    // its four corners take couplings
inline constexpr int32_t EndsTakeCouplings = 0x100000;
inline constexpr int32_t MtrlTubes = 0x400000;      // material category 0
inline constexpr int32_t MtrlPanels = 0x200000;     // material category 1
inline constexpr int32_t MtrlConnectors = 0x800000; // material category 2
inline constexpr int32_t MtrlCaps = 0x1000000;      // material category 3
inline constexpr int32_t MtrlAlu = 0x2000000;       // material category 7
inline constexpr int32_t Roof = 0x10000000;
} // namespace KindBit

constexpr int32_t KindCode(ElmntKind kind) {
    return static_cast<int32_t>(kind);
}
// True when the kind has any of the given category bits.
constexpr bool HasKindBits(ElmntKind kind, int32_t bits) {
    return (KindCode(kind) & bits) != 0;
}
// Panel-like in the sense of the record format and the version-1 conversion: the plug-in,
// display, wooden and bed panels, the textile, the seat back and the lattice.
constexpr bool IsPanelLike(ElmntKind kind) {
    return HasKindBits(kind, KindBit::PanelLike);
}
// The panel-like kinds that have four corner frames: all but the seat back.
constexpr bool HasCornerFrames(ElmntKind kind) {
    return IsPanelLike(kind) && kind != ElmntKind::ChairSeatBack;
}

// The material categories of element kinds. A material's usability mask has bit c for category
// c; the view keeps one material slot per category for the elements its tools insert.
enum class MtrlCategory : int32_t {
    Tubes = 0,       // "Rohre"
    Panels = 1,      // "Platten"
    Connectors = 2,  // "Verbinder"
    CapsLocks = 3,   // "Kappen, Arretierungen"
    Slide = 4,       // "Rutsche"
    CurvedSlide = 5, // "Rutsche, gebogen"
    SlideEnd = 6,    // "Rutschenauslauf"
    AluProfile = 7,  // "Alu-Profil"
    PoolLiner = 8,   // "Poolfolie"
};
inline constexpr int MtrlCategoryCount = 9;

// String-table id of a category's name (4114 to 4122).
constexpr uint32_t MtrlCategoryNameId(MtrlCategory category) {
    return 4114u + static_cast<uint32_t>(category);
}
// The category of any kind code by its bits and plain code; the first rule that holds wins:
// bit 0x400000, 0x200000, 0x800000, 0x1000000, plain codes 24/41, 25, 26, 27/28, then bit
// 0x2000000. Nothing for the roofs, the floor grid and codes that meet no rule.
std::optional<MtrlCategory> GetMtrlCategory(ElmntKind kind);

// The dialog that a double-click on an element opens. The dialogs themselves live in the
// application; the model only says which one a kind asks for.
enum class PropertiesDialog {
    Panel,     // panel dialog with the click point
    Tube,      // tube dialog
    Connector, // connector dialog
    Surface,   // surface dialog with the usability check on; OK changes the material in place
    Nothing,   // roofs: the double-click does nothing at all
    Beep,      // the system beep (seat back, floor grid, unknown codes)
};

// Slot of a kind's drawing routine in the renderer's dispatch; dense from 0 so that the
// renderer can index a table with it. The two roofs share one routine.
enum class DrawRoutine {
    Tube,
    RoundTube,
    Connector,
    Bolt,
    Connector45,
    HoleConnector,
    FlexiConnector,
    BearingConnector,
    Adapter,
    OpenConnector,
    Panel,
    Display,
    Wood,
    WoodKnob,
    RoundWood,
    WoodBed,
    Textil,
    ChairSeatBack,
    Lattice,
    TextilRound,
    Bag,
    MultiWheel,
    FloatingWheel,
    Bearing,
    Casters,
    SteeringLock,
    HubCap,
    TubeCap,
    Clamp,
    Clip,
    Alu,
    AluConnector,
    Roof,
    Slide,
    CurvedSlide,
    SlideEnd,
    Pool,
    PoolSmall,
    FloorGrid,
    VrmlSlide,
};
inline constexpr int DrawRoutineCount = static_cast<int>(DrawRoutine::VrmlSlide) + 1;

// One entry of the catalogue.
struct SKindInfo {
    ElmntKind kind;
    // Record keyword of the design file; empty for a kind that is never written (floor grid).
    std::string_view keyword;
    // The record version that the writer produces; 0 when never written.
    int writeVersion;
    // String ids of the article designation: one id, or for couplings designated by the
    // arrangement of their arms the range first to last. 0 for a kind that is no article.
    uint32_t designationFirst;
    uint32_t designationLast;
    // Nothing for kinds that take no material from a category (roofs, floor grid).
    std::optional<MtrlCategory> mtrlCategory;
    DrawRoutine draw;
    // Not drawn while the view shows the frame only (display flag "without panels").
    bool hiddenWithoutPanels;
    PropertiesDialog dialog;
};

// Every kind, in the order of the catalogue table; the floor grid last.
std::span<const SKindInfo> GetKindCatalogue();
// The entry of a code; nullptr for a code that is not in the catalogue.
const SKindInfo* FindKind(ElmntKind kind);
// The entry whose keyword is exactly the text (case-sensitive, no prefix matching); nullptr for
// anything else, the empty text included.
const SKindInfo* FindKindByKeyword(std::string_view keyword);
// The dialog of a code; a code outside the catalogue beeps.
PropertiesDialog GetPropertiesDialog(ElmntKind kind);
