// The table of the tool commands and their check rules.
#include "app/view/ToolCommands.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/ViewCommand.h"
#include "model/Cmra.h"
#include "model/ElmntEdit.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

using K = ElmntKind;
using M = ToolMode;
using C = ToolCheck;

constexpr std::optional<float> None = std::nullopt;

// A part tool that sets a kind and, where given, the tool length.
constexpr SToolCommand Part(uint32_t command, M mode, K kind, C check,
                            std::optional<float> length = None) {
    return {command, mode, kind, check, length, None, None, std::nullopt, false};
}
// A two-click panel: kind and both panel sizes.
constexpr SToolCommand Panel(uint32_t command, K kind, float width, float length) {
    return {command, M::PanelFirstTube, kind, C::ModeKindPanel, None, width,
            length,  std::nullopt,      false};
}
// A hole coupling with the arms it is given.
constexpr SToolCommand HoleCoupling(uint32_t command, uint32_t arms) {
    return {command, M::AtConnection, K::HoleConnector, C::HoleArms, None, None, None, arms, false};
}
// A mode without a kind: the selection box sides and the plain view.
constexpr SToolCommand ModeOnly(uint32_t command, M mode, C check = C::Mode, bool redraw = false) {
    return {command, mode, K::None, check, None, None, None, std::nullopt, redraw};
}

const auto kToolCommands = std::to_array<SToolCommand>({
    // Tubes of fixed length and the three round tubes.
    Part(32967, M::AtConnection, K::Tube, C::ModeKindLength, 100.0f),
    Part(32800, M::AtConnection, K::Tube, C::ModeKindLength, 150.0f),
    Part(32966, M::AtConnection, K::Tube, C::ModeKindLength, 250.0f),
    Part(32801, M::AtConnection, K::Tube, C::ModeKindLength, 350.0f),
    Part(32802, M::AtConnection, K::Tube, C::ModeKindLength, 750.0f),
    Part(32811, M::RoundTubeUp, K::RoundTube, C::ModeKind, 350.0f),
    Part(32813, M::RoundTubeDown, K::RoundTube, C::ModeKind, 350.0f),
    Part(32814, M::RoundTubeFlat, K::RoundTube, C::ModeKind, 350.0f),
    // Two-click panels: kind, second size (width), third size (length).
    Panel(32968, K::Panel, 250.0f, 250.0f),
    Panel(32817, K::Panel, 350.0f, 350.0f),
    Panel(32908, K::Panel, 350.0f, 150.0f),
    Panel(32907, K::Panel, 150.0f, 350.0f),
    Panel(32998, K::ChairSeatBack, 250.0f, 150.0f),
    Panel(32805, K::Display, 350.0f, 350.0f),
    Panel(32918, K::Wood, 350.0f, 350.0f),
    Panel(32940, K::Wood, 750.0f, 350.0f),
    Panel(32936, K::WoodKnob, 350.0f, 350.0f),
    Panel(32939, K::WoodKnob, 750.0f, 350.0f),
    Panel(32916, K::RoundWood, 350.0f, 350.0f),
    Panel(32937, K::Lattice, 450.0f, 450.0f),
    Panel(32938, K::WoodBed, 750.0f, 350.0f),
    Panel(32994, K::Textil, 750.0f, 350.0f),
    // Couplings, wheels and small parts.
    Part(32835, M::Coupling45Flat, K::Connector45, C::ModeKind),
    Part(32838, M::Coupling45Upright, K::Connector45, C::ModeKind),
    Part(32986, M::Coupling45AtEnd, K::Connector45, C::ModeKind),
    Part(32959, M::StartCoupling, K::Connector, C::ModeKind),
    HoleCoupling(32919, 8),
    HoleCoupling(32926, 12),
    HoleCoupling(32927, 56),
    HoleCoupling(32971, 28),
    Part(32928, M::AtConnection, K::BearingConnector, C::OnConnectorOrTube),
    Part(32950, M::AtConnection, K::FlexiConnector, C::OnConnectorOrTubeEnd),
    Part(32951, M::OnPickedFlexiArm, K::FlexiConnector, C::ModeKind),
    Part(32948, M::AtTubeEnd, K::Bolt, C::ModeKindLength, 150.0f),
    Part(32949, M::AtTubeEnd, K::Bolt, C::ModeKindLength, 50.0f),
    Part(32878, M::OnPickedMultiWheel, K::MultiWheel, C::ModeKind),
    Part(32879, M::OnPickedWheel, K::FloatingWheel, C::ModeKind),
    Part(32883, M::AtConnection, K::Bearing, C::ModeKind),
    Part(32929, M::AtConnection, K::Casters, C::ModeKind),
    Part(32884, M::SteeringLock, K::SteeringLock, C::ModeKind),
    Part(32887, M::AtTubeEnd, K::HubCap, C::ModeKind),
    Part(32888, M::AtTubeEnd, K::TubeCap, C::ModeKind),
    Part(32910, M::AtConnection, K::Adapter, C::ModeKind),
    Part(32911, M::AtConnection, K::OpenConnector, C::ModeKind),
    Part(32930, M::OnPickedClamp, K::Clamp, C::ModeKind),
    Part(32931, M::OnPickedClamp, K::Clip, C::ModeKind),
    Part(32945, M::OnPickedAlu, K::Alu, C::ModeKindLength, 600.0f),
    Part(32946, M::OnPickedAlu, K::Alu, C::ModeKindLength, 800.0f),
    Part(32944, M::OnPickedAluConnector, K::AluConnector, C::ModeKindLength, 400.0f),
    // Large parts, inserted on the picked element.
    Part(32889, M::OnPickedSlide, K::Slide, C::ModeKind),
    Part(33003, M::OnPickedSlide, K::SlideNew, C::ModeKind),
    Part(32957, M::OnPickedSlide, K::CurvedSlide, C::ModeKind),
    Part(32890, M::OnPickedSlideEnd, K::SlideEnd, C::ModeKind),
    Part(32989, M::OnPickedSlide, K::Pool, C::ModeKind),
    Part(32990, M::OnPickedSlide, K::PoolSmall, C::ModeKind),
    Part(32991, M::OnPickedRoof, K::Roof, C::ModeKind),
    Part(32992, M::OnPickedRoof, K::RoofLarge, C::ModeKind),
    Part(32996, M::OnPickedSlide, K::Bag, C::ModeKind),
    Part(32995, M::OnPickedTextile, K::TextilRound, C::ModeKind),
    // Selection and element tools; each redraws the window.
    ModeOnly(32809, M::Select, C::Mode, true),
    ModeOnly(32981, M::SelectGroup, C::Mode, true),
    ModeOnly(32803, M::DeleteSingle, C::Mode, true),
    ModeOnly(32952, M::ChangeAngle, C::Mode, true),
    ModeOnly(32954, M::ChangeSurface, C::Mode, true),
    // The sides of the selection box.
    ModeOnly(32840, M::BoxTop),
    ModeOnly(32841, M::BoxBottom),
    ModeOnly(32842, M::BoxLeft),
    ModeOnly(32843, M::BoxRight),
    ModeOnly(32845, M::BoxFront),
    ModeOnly(32844, M::BoxBack),
    // The view without selection lines.
    ModeOnly(32979, M::NoSelectionLines, C::ModeNoKind),
});

bool IsOneOf(ElmntKind kind, std::initializer_list<ElmntKind> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}
bool IsOneOf(ToolMode mode, std::initializer_list<ToolMode> modes) {
    return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

constexpr uint32_t kOnConnector = CommandId::PlaceOnConnector;
constexpr uint32_t kOnTubeEnd = CommandId::PlaceOnTubeEnd;
constexpr uint32_t kOnTube = CommandId::PlaceOnTube;

} // namespace

std::span<const SToolCommand> GetToolCommands() {
    return kToolCommands;
}

const SToolCommand* FindToolCommand(uint32_t command) {
    for (const SToolCommand& tool : kToolCommands) {
        if (tool.command == command) {
            return &tool;
        }
    }
    return nullptr;
}

SViewChange ApplyToolCommand(const SToolCommand& tool, CViewState& state) {
    SViewChange change = state.SetTool(tool.mode);
    change.invalidate = change.invalidate || tool.redraw;
    state.toolKind = tool.kind;
    if (tool.length) {
        state.toolLength = *tool.length;
    }
    if (tool.panelWidth) {
        state.panelWidth = *tool.panelWidth;
    }
    if (tool.panelLength) {
        state.panelLength = *tool.panelLength;
    }
    if (tool.holeArms) {
        state.holeArms = *tool.holeArms;
    }
    return change;
}

bool IsToolChecked(const SToolCommand& tool, const CViewState& state) {
    const bool kindMatches = state.toolKind == tool.kind;
    const bool modeMatches = state.toolMode == tool.mode;
    switch (tool.check) {
    case ToolCheck::Mode:
        return modeMatches;
    case ToolCheck::ModeNoKind:
        return modeMatches && state.toolKind == ElmntKind::None;
    case ToolCheck::ModeKind:
        return modeMatches && kindMatches;
    case ToolCheck::ModeKindLength:
        return modeMatches && kindMatches && tool.length && state.toolLength == *tool.length;
    case ToolCheck::ModeKindPanel:
        return modeMatches && kindMatches && tool.panelWidth && tool.panelLength &&
               state.panelWidth == *tool.panelWidth && state.panelLength == *tool.panelLength;
    case ToolCheck::HoleArms:
        return IsOneOf(state.toolMode, {ToolMode::AtConnection, ToolMode::AtTubeEnd}) &&
               kindMatches && tool.holeArms && state.holeArms == *tool.holeArms;
    case ToolCheck::OnConnectorOrTube:
        return IsOneOf(state.toolMode, {ToolMode::AtConnection, ToolMode::OnPickedMultiWheel}) &&
               kindMatches;
    case ToolCheck::OnConnectorOrTubeEnd:
        return IsOneOf(state.toolMode, {ToolMode::AtConnection, ToolMode::AtTubeEnd}) &&
               kindMatches;
    }
    return false;
}

bool IsPlacementVariant(uint32_t command) {
    return command == kOnConnector || command == kOnTubeEnd || command == kOnTube;
}

bool CanApplyPlacementVariant(uint32_t command, const CViewState& state) {
    const ElmntKind kind = state.toolKind;
    const ToolMode mode = state.toolMode;
    switch (command) {
    case kOnConnector:
        return IsOneOf(kind, {K::HoleConnector, K::BearingConnector, K::FlexiConnector}) &&
               IsOneOf(mode, {M::AtConnection, M::AtTubeEnd, M::OnPickedMultiWheel});
    case kOnTubeEnd:
        return IsOneOf(kind, {K::HoleConnector, K::FlexiConnector}) &&
               IsOneOf(mode, {M::AtConnection, M::AtTubeEnd});
    case kOnTube:
        return kind == K::BearingConnector &&
               IsOneOf(mode, {M::AtConnection, M::OnPickedMultiWheel});
    default:
        return false;
    }
}

std::optional<SViewChange> ApplyPlacementVariant(uint32_t command, CViewState& state) {
    if (!CanApplyPlacementVariant(command, state)) {
        return std::nullopt;
    }
    const ToolMode mode = command == kOnConnector ? M::AtConnection
                          : command == kOnTubeEnd ? M::AtTubeEnd
                                                  : M::OnPickedMultiWheel;
    const ElmntKind kind = state.toolKind;
    SViewChange change = state.SetTool(mode);
    state.toolKind = kind;
    return change;
}

bool IsPlacementVariantChecked(uint32_t command, const CViewState& state) {
    const ElmntKind kind = state.toolKind;
    const ToolMode mode = state.toolMode;
    switch (command) {
    case kOnConnector:
        return IsOneOf(kind, {K::HoleConnector, K::BearingConnector, K::FlexiConnector}) &&
               mode == M::AtConnection;
    case kOnTubeEnd:
        return IsOneOf(kind, {K::HoleConnector, K::FlexiConnector}) && mode == M::AtTubeEnd;
    case kOnTube:
        return kind == K::BearingConnector && mode == M::OnPickedMultiWheel;
    default:
        return false;
    }
}

SViewChange ApplyFreeTube(CViewState& state, float lengthCm) {
    SViewChange change = state.SetTool(ToolMode::AtConnection);
    state.toolKind = ElmntKind::Tube;
    state.toolLength = lengthCm * 10.0f;
    return change;
}

bool IsFreeTubeChecked(const CViewState& state) {
    if (state.toolMode != ToolMode::AtConnection || state.toolKind != ElmntKind::Tube) {
        return false;
    }
    for (float fixed : {100.0f, 150.0f, 250.0f, 350.0f, 750.0f}) {
        if (state.toolLength == fixed) {
            return false;
        }
    }
    return true;
}

SViewChange ApplySpecialPanel(CViewState& state, int panelType, float widthCm, float lengthCm) {
    SViewChange change = state.SetTool(ToolMode::SpecialPanel);
    const std::span<const ElmntKind> types = GetPanelTypes();
    state.toolKind = panelType >= 0 && static_cast<std::size_t>(panelType) < types.size()
                         ? types[static_cast<std::size_t>(panelType)]
                         : ElmntKind::None;
    state.panelWidth = widthCm * 10.0f;
    state.panelLength = lengthCm * 10.0f;
    return change;
}

bool IsSpecialPanelChecked(const CViewState& state) {
    return state.toolMode == ToolMode::SpecialPanel && GetPanelTypeIndex(state.toolKind) >= 0 &&
           !(state.panelWidth == 350.0f && state.panelLength == 350.0f);
}

// ---- Rows ------------------------------------------------------------------------------------

namespace {

// "Diese Funktion kann nur verwendet werden, wenn die Kamera nicht verdreht oder verkippt ist. ..."
constexpr uint32_t kPanNeedsUprightCamera = 4195;

SViewChange RunToolCommand(SViewContext& context, uint32_t command) {
    const SToolCommand* tool = FindToolCommand(command);
    return tool != nullptr ? ApplyToolCommand(*tool, context.state) : SViewChange();
}

bool IsToolCommandChecked(const SViewContext& context, uint32_t command) {
    const SToolCommand* tool = FindToolCommand(command);
    return tool != nullptr && IsToolChecked(*tool, context.state);
}

SViewChange RunPlacementVariant(SViewContext& context, uint32_t command) {
    return ApplyPlacementVariant(command, context.state).value_or(SViewChange());
}

bool IsPlacementVariantEnabled(const SViewContext& context, uint32_t command) {
    return CanApplyPlacementVariant(command, context.state);
}

bool IsPlacementVariantOn(const SViewContext& context, uint32_t command) {
    return IsPlacementVariantChecked(command, context.state);
}

// The drag moves the camera sideways and up, which only matches the mouse while the camera
// looks straight ahead.
SViewChange RunPan(SViewContext& context, uint32_t) {
    const CCmra* camera = context.GetCamera();
    if (camera != nullptr && camera->cameraTurn == 0 && camera->cameraTilt == 0) {
        return context.state.SetTool(ToolMode::Pan);
    }
    ShowMessage(LoadLangText(kPanNeedsUprightCamera), {}, MsgButtons::Ok, MsgIcon::Error);
    return SViewChange();
}

bool IsPanning(const SViewContext& context, uint32_t) {
    return context.state.toolMode == ToolMode::Pan;
}

std::vector<SViewCommand> MakeToolCommandRows() {
    std::vector<SViewCommand> rows;
    for (const SToolCommand& tool : kToolCommands) {
        rows.push_back({tool.command, RunToolCommand, nullptr, IsToolCommandChecked});
    }
    for (uint32_t command : {kOnConnector, kOnTubeEnd, kOnTube}) {
        rows.push_back(
            {command, RunPlacementVariant, IsPlacementVariantEnabled, IsPlacementVariantOn});
    }
    rows.push_back({CommandId::Pan, RunPan, nullptr, IsPanning});
    return rows;
}

} // namespace

std::span<const SViewCommand> GetToolCommandRows() {
    static const std::vector<SViewCommand> rows = MakeToolCommandRows();
    return rows;
}
