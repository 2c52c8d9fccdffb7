// The kind catalogue as one constant table, and the lookups over it.
#include "model/ElmntKind.h"

#include <array>

namespace {

using enum ElmntKind;
using Dlg = PropertiesDialog;
using Draw = DrawRoutine;
using Cat = MtrlCategory;

constexpr std::optional<MtrlCategory> NoCategory = std::nullopt;

// kind, keyword, writer version, designation ids, material category, drawing, hidden without
// panels, dialog.
constexpr std::array<SKindInfo, 41> Catalogue{{
    {Tube, "tube", 2, 4224, 4224, Cat::Tubes, Draw::Tube, false, Dlg::Tube},
    {RoundTube, "round-tube", 2, 4225, 4225, Cat::Tubes, Draw::RoundTube, false, Dlg::Tube},
    {Connector, "connector", 3, 4226, 4233, Cat::Connectors, Draw::Connector, false,
     Dlg::Connector},
    {Connector45, "connector45_", 2, 4234, 4234, Cat::Connectors, Draw::Connector45, false,
     Dlg::Connector},
    {HoleConnector, "hole-connector", 4, 4254, 4256, Cat::Connectors, Draw::HoleConnector, false,
     Dlg::Connector},
    {FlexiConnector, "flexi-connector", 3, 4263, 4263, Cat::Connectors, Draw::FlexiConnector, false,
     Dlg::Connector},
    {Bolt, "bolt", 2, 4262, 4262, Cat::Connectors, Draw::Bolt, false, Dlg::Connector},
    {Panel, "panel", 2, 4235, 4235, Cat::Panels, Draw::Panel, true, Dlg::Panel},
    {Display, "display", 2, 4236, 4236, Cat::Panels, Draw::Display, true, Dlg::Panel},
    {Wood, "wood", 2, 4237, 4237, Cat::Panels, Draw::Wood, true, Dlg::Panel},
    {WoodKnob, "wood-knob", 2, 4238, 4238, Cat::Panels, Draw::WoodKnob, true, Dlg::Panel},
    {RoundWood, "round-wood", 2, 4239, 4239, Cat::Panels, Draw::RoundWood, true, Dlg::Panel},
    {Lattice, "lattice", 2, 4240, 4240, Cat::Connectors, Draw::Lattice, true, Dlg::Panel},
    {WoodBed, "wood-bed", 2, 4241, 4241, Cat::Panels, Draw::WoodBed, true, Dlg::Panel},
    {Textil, "textil", 2, 4268, 4268, Cat::Panels, Draw::Textil, true, Dlg::Panel},
    {ChairSeatBack, "chairseatback", 2, 4270, 4270, Cat::Panels, Draw::ChairSeatBack, true,
     Dlg::Beep},
    {MultiWheel, "multi-wheel", 2, 4242, 4242, Cat::Panels, Draw::MultiWheel, true, Dlg::Surface},
    {FloatingWheel, "floating-wheel", 2, 4243, 4243, Cat::Connectors, Draw::FloatingWheel, true,
     Dlg::Surface},
    {Bearing, "bearing", 2, 4245, 4245, Cat::Connectors, Draw::Bearing, false, Dlg::Surface},
    {SteeringLock, "steering-lock", 2, 4246, 4246, Cat::CapsLocks, Draw::SteeringLock, false,
     Dlg::Surface},
    {HubCap, "hub-cap", 2, 4247, 4247, Cat::CapsLocks, Draw::HubCap, false, Dlg::Surface},
    {Casters, "casters", 2, 4244, 4244, Cat::Connectors, Draw::Casters, false, Dlg::Surface},
    {TubeCap, "tube-cap", 2, 4248, 4248, Cat::CapsLocks, Draw::TubeCap, false, Dlg::Surface},
    {Slide, "slide", 2, 4249, 4249, Cat::Slide, Draw::Slide, true, Dlg::Surface},
    {CurvedSlide, "curved-slide", 2, 4250, 4250, Cat::CurvedSlide, Draw::CurvedSlide, true,
     Dlg::Surface},
    {SlideEnd, "slide-end", 2, 4251, 4251, Cat::SlideEnd, Draw::SlideEnd, true, Dlg::Surface},
    {Pool, "pool", 2, 4264, 4264, Cat::PoolLiner, Draw::Pool, true, Dlg::Surface},
    {PoolSmall, "pool-small", 2, 4265, 4265, Cat::PoolLiner, Draw::PoolSmall, true, Dlg::Surface},
    {Roof, "roof", 2, 4266, 4266, NoCategory, Draw::Roof, true, Dlg::Nothing},
    {RoofLarge, "roof-large", 2, 4267, 4267, NoCategory, Draw::Roof, true, Dlg::Nothing},
    {Bag, "bag", 2, 4269, 4269, Cat::Panels, Draw::Bag, true, Dlg::Surface},
    {TextilRound, "textil-round", 2, 4268, 4268, Cat::Panels, Draw::TextilRound, true,
     Dlg::Surface},
    {Adapter, "adapter", 2, 4252, 4252, Cat::Connectors, Draw::Adapter, false, Dlg::Surface},
    {OpenConnector, "open-connector", 2, 4253, 4253, Cat::Connectors, Draw::OpenConnector, false,
     Dlg::Surface},
    {BearingConnector, "bearing-connector", 4, 4257, 4257, Cat::Connectors, Draw::BearingConnector,
     false, Dlg::Connector},
    {Clamp, "clamp", 2, 4258, 4258, Cat::CapsLocks, Draw::Clamp, false, Dlg::Surface},
    {Clip, "clip", 2, 4259, 4259, Cat::CapsLocks, Draw::Clip, false, Dlg::Surface},
    {Alu, "alu", 2, 4260, 4260, Cat::AluProfile, Draw::Alu, false, Dlg::Surface},
    {AluConnector, "alu-connector", 2, 4261, 4261, Cat::AluProfile, Draw::AluConnector, false,
     Dlg::Surface},
    {SlideNew, "slide-new", 2, 4271, 4271, Cat::Slide, Draw::VrmlSlide, true, Dlg::Surface},
    {FloorGrid, "", 0, 0, 0, NoCategory, Draw::FloorGrid, false, Dlg::Beep},
}};

} // namespace

std::optional<MtrlCategory> GetMtrlCategory(ElmntKind kind) {
    if (HasKindBits(kind, KindBit::MtrlTubes)) {
        return MtrlCategory::Tubes;
    }
    if (HasKindBits(kind, KindBit::MtrlPanels)) {
        return MtrlCategory::Panels;
    }
    if (HasKindBits(kind, KindBit::MtrlConnectors)) {
        return MtrlCategory::Connectors;
    }
    if (HasKindBits(kind, KindBit::MtrlCaps)) {
        return MtrlCategory::CapsLocks;
    }
    switch (kind) {
    case Slide:
    case SlideNew:
        return MtrlCategory::Slide;
    case CurvedSlide:
        return MtrlCategory::CurvedSlide;
    case SlideEnd:
        return MtrlCategory::SlideEnd;
    case Pool:
    case PoolSmall:
        return MtrlCategory::PoolLiner;
    default:
        break;
    }
    if (HasKindBits(kind, KindBit::MtrlAlu)) {
        return MtrlCategory::AluProfile;
    }
    return std::nullopt;
}

std::span<const SKindInfo> GetKindCatalogue() {
    return Catalogue;
}

const SKindInfo* FindKind(ElmntKind kind) {
    for (const SKindInfo& info : Catalogue) {
        if (info.kind == kind) {
            return &info;
        }
    }
    return nullptr;
}

const SKindInfo* FindKindByKeyword(std::string_view keyword) {
    if (keyword.empty()) {
        return nullptr;
    }
    for (const SKindInfo& info : Catalogue) {
        if (info.keyword == keyword) {
            return &info;
        }
    }
    return nullptr;
}

PropertiesDialog GetPropertiesDialog(ElmntKind kind) {
    const SKindInfo* info = FindKind(kind);
    return info != nullptr ? info->dialog : PropertiesDialog::Beep;
}
