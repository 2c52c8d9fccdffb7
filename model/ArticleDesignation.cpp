// Designation texts by kind and arm class, and their formatting under the C library's locale.
#include "model/ArticleDesignation.h"

#include <vector>

#include "model/Elmnt.h"
#include "model/ElmntKind.h"
#include "support/CheckedFormat.h"
#include "support/LangText.h"

namespace {

// Couplings designated by arm class: text of class 2 first, classes 2 to 9 in order.
constexpr uint32_t ConnectorFirstId = 4226;
// Hole couplings: classes 3, 6 and 7 only.
constexpr uint32_t HoleConnectorClass3Id = 4254;
constexpr uint32_t HoleConnectorClass6Id = 4255;
constexpr uint32_t HoleConnectorClass7Id = 4256;

constexpr uint32_t RoofId = 4266;
constexpr uint32_t RoofLargeId = 4267;

// Designations are far below this; a longer result is cut at a character boundary.
constexpr size_t MaxDesignationLength = 1023;

} // namespace

uint32_t GetDesignationId(const CElmnt& elmnt) {
    if (elmnt.kind == ElmntKind::Connector) {
        const int32_t armClass = GetArmClass(elmnt.GetOccupiedArms());
        return armClass >= 2 ? ConnectorFirstId + static_cast<uint32_t>(armClass - 2) : 0;
    }
    if (elmnt.kind == ElmntKind::HoleConnector) {
        switch (GetArmClass(elmnt.GetOccupiedArms())) {
        case 3:
            return HoleConnectorClass3Id;
        case 6:
            return HoleConnectorClass6Id;
        case 7:
            return HoleConnectorClass7Id;
        default:
            return 0;
        }
    }
    const SKindInfo* info = FindKind(elmnt.kind);
    return info != nullptr ? info->designationFirst : 0;
}

DesignationSizes GetDesignationSizes(uint32_t id) {
    switch (id) {
    case 4224: // tube
    case 4260: // aluminium profile
    case 4261: // profile connector
    case 4262: // bolt
        return DesignationSizes::Length;
    case 4235: // panel
    case 4236: // display panel
    case 4237: // wooden panel
    case 4238: // wooden panel with knob
    case 4239: // round wooden panel
    case 4240: // lattice
    case 4241: // bed frame
    case 4270: // seat back
        return DesignationSizes::LengthSecond;
    default:
        return DesignationSizes::None;
    }
}

bool DesignationTakesMaterial(uint32_t id) {
    return id != RoofId && id != RoofLargeId;
}

std::string FormatArticleName(uint32_t id, float length, float secondSize,
                              std::string_view materialName) {
    if (id == 0) {
        return {};
    }
    // Sizes are held in mm and shown in cm; the product is taken in double, as printf gets it.
    std::vector<FormatArg> args;
    const DesignationSizes sizes = GetDesignationSizes(id);
    if (sizes != DesignationSizes::None) {
        args.push_back(MakeFormatArg(static_cast<double>(length) * 0.1));
    }
    if (sizes == DesignationSizes::LengthSecond) {
        args.push_back(MakeFormatArg(static_cast<double>(secondSize) * 0.1));
    }
    if (DesignationTakesMaterial(id)) {
        args.push_back(MakeFormatArg(materialName));
    }
    std::string text;
    FormatChecked(LoadLangText(id), args, MaxDesignationLength, text);
    return text;
}

std::string GetArticleName(const CElmnt& elmnt, std::string_view materialName) {
    return FormatArticleName(GetDesignationId(elmnt), elmnt.length, elmnt.secondSize, materialName);
}
