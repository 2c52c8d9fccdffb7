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
    Part(CommandId::Tube10, M::AtConnection, K::Tube, C::ModeKindLength, 100.0f),
    Part(CommandId::Tube15, M::AtConnection, K::Tube, C::ModeKindLength, 150.0f),
    Part(CommandId::Tube25, M::AtConnection, K::Tube, C::ModeKindLength, 250.0f),
    Part(CommandId::Tube35, M::AtConnection, K::Tube, C::ModeKindLength, 350.0f),
    Part(CommandId::Tube75, M::AtConnection, K::Tube, C::ModeKindLength, 750.0f),
    Part(CommandId::RoundTubeUp, M::RoundTubeUp, K::RoundTube, C::ModeKind, 350.0f),
    Part(CommandId::RoundTubeDown, M::RoundTubeDown, K::RoundTube, C::ModeKind, 350.0f),
    Part(CommandId::RoundTubeFlat, M::RoundTubeFlat, K::RoundTube, C::ModeKind, 350.0f),
    // Two-click panels: kind, second size (width), third size (length).
    Panel(CommandId::Panel25, K::Panel, 250.0f, 250.0f),
    Panel(CommandId::Panel35, K::Panel, 350.0f, 350.0f),
    Panel(CommandId::HalfPanel, K::Panel, 350.0f, 150.0f),
    Panel(CommandId::HalfPanelTurned, K::Panel, 150.0f, 350.0f),
    Panel(CommandId::ChairBack, K::ChairSeatBack, 250.0f, 150.0f),
    Panel(CommandId::DisplayPanel, K::Display, 350.0f, 350.0f),
    Panel(CommandId::WoodPanel35, K::Wood, 350.0f, 350.0f),
    Panel(CommandId::WoodPanel75, K::Wood, 750.0f, 350.0f),
    Panel(CommandId::WoodKnobPanel35, K::WoodKnob, 350.0f, 350.0f),
    Panel(CommandId::WoodKnobPanel75, K::WoodKnob, 750.0f, 350.0f),
    Panel(CommandId::WoodPanelRound, K::RoundWood, 350.0f, 350.0f),
    Panel(CommandId::Lattice45, K::Lattice, 450.0f, 450.0f),
    Panel(CommandId::WoodBedRail, K::WoodBed, 750.0f, 350.0f),
    Panel(CommandId::TextileStraight, K::Textil, 750.0f, 350.0f),
    // Couplings, wheels and small parts.
    Part(CommandId::Coupling45Horizontal, M::Coupling45Flat, K::Connector45, C::ModeKind),
    Part(CommandId::Coupling45Vertical, M::Coupling45Upright, K::Connector45, C::ModeKind),
    Part(CommandId::Coupling45TubeEnd, M::Coupling45AtEnd, K::Connector45, C::ModeKind),
    Part(CommandId::StartStar, M::StartCoupling, K::Connector, C::ModeKind),
    HoleCoupling(CommandId::HolePinCoupling, 8),
    HoleCoupling(CommandId::HoleCoupling2, 12),
    HoleCoupling(CommandId::HoleCoupling3, 56),
    HoleCoupling(CommandId::HoleCoupling3Turned, 28),
    Part(CommandId::BearingCoupling, M::AtConnection, K::BearingConnector, C::OnConnectorOrTube),
    Part(CommandId::FlexiArm1, M::AtConnection, K::FlexiConnector, C::OnConnectorOrTubeEnd),
    Part(CommandId::FlexiArm2, M::OnPickedFlexiArm, K::FlexiConnector, C::ModeKind),
    Part(CommandId::FlexiBolt15, M::AtTubeEnd, K::Bolt, C::ModeKindLength, 150.0f),
    Part(CommandId::FlexiBolt5, M::AtTubeEnd, K::Bolt, C::ModeKindLength, 50.0f),
    Part(CommandId::MultiWheel, M::OnPickedMultiWheel, K::MultiWheel, C::ModeKind),
    Part(CommandId::FloatingWheel, M::OnPickedWheel, K::FloatingWheel, C::ModeKind),
    Part(CommandId::WheelBearing, M::AtConnection, K::Bearing, C::ModeKind),
    Part(CommandId::Casters, M::AtConnection, K::Casters, C::ModeKind),
    Part(CommandId::SteeringLock, M::SteeringLock, K::SteeringLock, C::ModeKind),
    Part(CommandId::HubCap, M::AtTubeEnd, K::HubCap, C::ModeKind),
    Part(CommandId::TubeCap, M::AtTubeEnd, K::TubeCap, C::ModeKind),
    Part(CommandId::Adapter, M::AtConnection, K::Adapter, C::ModeKind),
    Part(CommandId::OpenConnectorEnd, M::AtConnection, K::OpenConnector, C::ModeKind),
    Part(CommandId::ClampClosed, M::OnPickedClamp, K::Clamp, C::ModeKind),
    Part(CommandId::ClampOpen, M::OnPickedClamp, K::Clip, C::ModeKind),
    Part(CommandId::AluProfile60, M::OnPickedAlu, K::Alu, C::ModeKindLength, 600.0f),
    Part(CommandId::AluProfile80, M::OnPickedAlu, K::Alu, C::ModeKindLength, 800.0f),
    Part(CommandId::AluConnector, M::OnPickedAluConnector, K::AluConnector, C::ModeKindLength,
         400.0f),
    // Large parts, inserted on the picked element.
    Part(CommandId::Slide, M::OnPickedSlide, K::Slide, C::ModeKind),
    Part(CommandId::SlideModel, M::OnPickedSlide, K::SlideNew, C::ModeKind),
    Part(CommandId::SlideCurved, M::OnPickedSlide, K::CurvedSlide, C::ModeKind),
    Part(CommandId::SlideEnd, M::OnPickedSlideEnd, K::SlideEnd, C::ModeKind),
    Part(CommandId::PoolLarge, M::OnPickedSlide, K::Pool, C::ModeKind),
    Part(CommandId::PoolSmall, M::OnPickedSlide, K::PoolSmall, C::ModeKind),
    Part(CommandId::Roof, M::OnPickedRoof, K::Roof, C::ModeKind),
    Part(CommandId::RoofLarge, M::OnPickedRoof, K::RoofLarge, C::ModeKind),
    Part(CommandId::PlayBag, M::OnPickedSlide, K::Bag, C::ModeKind),
    Part(CommandId::TextileBent, M::OnPickedTextile, K::TextilRound, C::ModeKind),
    // Selection and element tools; each redraws the window.
    ModeOnly(CommandId::ToolSelect, M::Select, C::Mode, true),
    ModeOnly(CommandId::ToolSelectGroup, M::SelectGroup, C::Mode, true),
    ModeOnly(CommandId::ToolDeleteSingle, M::DeleteSingle, C::Mode, true),
    ModeOnly(CommandId::ToolChangeAngle, M::ChangeAngle, C::Mode, true),
    ModeOnly(CommandId::ToolChangeSurface, M::ChangeSurface, C::Mode, true),
    // The sides of the selection box.
    ModeOnly(CommandId::BoxTop, M::BoxTop),
    ModeOnly(CommandId::BoxBottom, M::BoxBottom),
    ModeOnly(CommandId::BoxLeft, M::BoxLeft),
    ModeOnly(CommandId::BoxRight, M::BoxRight),
    ModeOnly(CommandId::BoxFront, M::BoxFront),
    ModeOnly(CommandId::BoxBack, M::BoxBack),
    // The view without selection lines.
    ModeOnly(CommandId::WithoutSelectionLines, M::NoSelectionLines, C::ModeNoKind),
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
    state.tool.kind = tool.kind;
    if (tool.length) {
        state.tool.length = *tool.length;
    }
    if (tool.panelWidth) {
        state.tool.panelWidth = *tool.panelWidth;
    }
    if (tool.panelLength) {
        state.tool.panelLength = *tool.panelLength;
    }
    if (tool.holeArms) {
        state.tool.holeArms = *tool.holeArms;
    }
    return change;
}

bool IsToolChecked(const SToolCommand& tool, const CViewState& state) {
    const bool kindMatches = state.tool.kind == tool.kind;
    const bool modeMatches = state.tool.mode == tool.mode;
    switch (tool.check) {
    case ToolCheck::Mode:
        return modeMatches;
    case ToolCheck::ModeNoKind:
        return modeMatches && state.tool.kind == ElmntKind::None;
    case ToolCheck::ModeKind:
        return modeMatches && kindMatches;
    case ToolCheck::ModeKindLength:
        return modeMatches && kindMatches && tool.length && state.tool.length == *tool.length;
    case ToolCheck::ModeKindPanel:
        return modeMatches && kindMatches && tool.panelWidth && tool.panelLength &&
               state.tool.panelWidth == *tool.panelWidth &&
               state.tool.panelLength == *tool.panelLength;
    case ToolCheck::HoleArms:
        return IsOneOf(state.tool.mode, {ToolMode::AtConnection, ToolMode::AtTubeEnd}) &&
               kindMatches && tool.holeArms && state.tool.holeArms == *tool.holeArms;
    case ToolCheck::OnConnectorOrTube:
        return IsOneOf(state.tool.mode, {ToolMode::AtConnection, ToolMode::OnPickedMultiWheel}) &&
               kindMatches;
    case ToolCheck::OnConnectorOrTubeEnd:
        return IsOneOf(state.tool.mode, {ToolMode::AtConnection, ToolMode::AtTubeEnd}) &&
               kindMatches;
    }
    return false;
}

bool IsPlacementVariant(uint32_t command) {
    return command == kOnConnector || command == kOnTubeEnd || command == kOnTube;
}

bool CanApplyPlacementVariant(uint32_t command, const CViewState& state) {
    const ElmntKind kind = state.tool.kind;
    const ToolMode mode = state.tool.mode;
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
    const ElmntKind kind = state.tool.kind;
    SViewChange change = state.SetTool(mode);
    state.tool.kind = kind;
    return change;
}

bool IsPlacementVariantChecked(uint32_t command, const CViewState& state) {
    const ElmntKind kind = state.tool.kind;
    const ToolMode mode = state.tool.mode;
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
    state.tool.kind = ElmntKind::Tube;
    state.tool.length = lengthCm * 10.0f;
    return change;
}

bool IsFreeTubeChecked(const CViewState& state) {
    if (state.tool.mode != ToolMode::AtConnection || state.tool.kind != ElmntKind::Tube) {
        return false;
    }
    for (float fixed : {100.0f, 150.0f, 250.0f, 350.0f, 750.0f}) {
        if (state.tool.length == fixed) {
            return false;
        }
    }
    return true;
}

SViewChange ApplySpecialPanel(CViewState& state, int panelType, float widthCm, float lengthCm) {
    SViewChange change = state.SetTool(ToolMode::SpecialPanel);
    const std::span<const ElmntKind> types = GetPanelTypes();
    state.tool.kind = panelType >= 0 && static_cast<std::size_t>(panelType) < types.size()
                          ? types[static_cast<std::size_t>(panelType)]
                          : ElmntKind::None;
    state.tool.panelWidth = widthCm * 10.0f;
    state.tool.panelLength = lengthCm * 10.0f;
    return change;
}

bool IsSpecialPanelChecked(const CViewState& state) {
    return state.tool.mode == ToolMode::SpecialPanel && GetPanelTypeIndex(state.tool.kind) >= 0 &&
           !(state.tool.panelWidth == 350.0f && state.tool.panelLength == 350.0f);
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
    return context.state.tool.mode == ToolMode::Pan;
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
