// The element record of design files and the clipboard: written in the current version of each
// kind, read in versions 1 to 4. Versions 2 to 4 carry the placement, the fixed flag and the
// kind's own fields; version 1 carried only a position mask and a translation, from which the
// orientation is rebuilt.
#include <array>
#include <memory>
#include <span>
#include <string_view>

#include "model/Coupling.h"
#include "model/Elmnt.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "support/Orientation.h"

namespace {

// Message texts of the string table.
constexpr uint32_t kTextKindExpected = 4208;   // "Elementtypenbezeichnung erwartet"
constexpr uint32_t kTextOldTubeFailed = 4209;  // conversion of an old tube
constexpr uint32_t kTextOldPanelFailed = 4210; // conversion of an old panel
constexpr uint32_t kTextOldBendFailed = 4211;  // conversion of an old tube bend

// Placements and sizes: at most 12 decimals, trailing zeros dropped.
constexpr int kDecimals = -12;
// Follow class of a keyword that is a whole word: no letter and no '-' may follow.
constexpr int kWholeWord = 0x8006;
// Follow class that accepts any character.
constexpr int kAnyFollow = 20;
constexpr int kNoLimit = 0x7fffffff;

// The fields that follow the fixed flag, by kind and record version.
enum class Field {
    Length,
    Correction,
    SecondSize,
    SecondCorrection,
    Directions,
    OccupiedArms,
    FreeArms,
    FreeCornerSlots,
    TurnVariant,
};

using enum Field;

constexpr std::array kSizeFields{Length, Correction};
constexpr std::array kPanelFields{Length, Correction, SecondSize, SecondCorrection};
constexpr std::array kArmFields{OccupiedArms, FreeArms, FreeCornerSlots};
constexpr std::array kDirArmFields{Directions, OccupiedArms, FreeArms, FreeCornerSlots};
constexpr std::array kDirArmTurnFields{Directions, OccupiedArms, FreeArms, FreeCornerSlots,
                                       TurnVariant};
constexpr std::array kArmTurnFields{OccupiedArms, FreeArms, FreeCornerSlots, TurnVariant};
constexpr std::array kTurnFields{TurnVariant};
constexpr std::array kDirTurnFields{Directions, TurnVariant};
constexpr std::array kFreeArmFields{FreeArms};
constexpr std::array kBoltFields{Length, TurnVariant};

// The kind fields of a record of versions 2 to 4 (other versions carry none).
std::span<const Field> KindFields(ElmntKind kind, int version) {
    switch (kind) {
    case ElmntKind::Tube:
    case ElmntKind::RoundTube:
    case ElmntKind::Bearing:
    case ElmntKind::Alu:
    case ElmntKind::AluConnector:
        return kSizeFields;
    case ElmntKind::Panel:
    case ElmntKind::Display:
    case ElmntKind::Wood:
    case ElmntKind::WoodKnob:
    case ElmntKind::RoundWood:
    case ElmntKind::WoodBed:
    case ElmntKind::Textil:
    case ElmntKind::ChairSeatBack:
    case ElmntKind::Lattice:
        return kPanelFields;
    case ElmntKind::Connector:
        return version == 2 ? std::span<const Field>(kArmFields) : kDirArmFields;
    case ElmntKind::HoleConnector:
        if (version == 2) {
            return kArmFields;
        }
        return version == 3 ? std::span<const Field>(kDirArmFields) : kDirArmTurnFields;
    case ElmntKind::FlexiConnector:
        return version == 2 ? std::span<const Field>(kArmTurnFields) : kDirArmTurnFields;
    case ElmntKind::BearingConnector:
        if (version == 2) {
            return {};
        }
        return version == 3 ? std::span<const Field>(kTurnFields) : kDirTurnFields;
    case ElmntKind::Connector45:
        return kFreeArmFields;
    case ElmntKind::Bolt:
        return kBoltFields;
    case ElmntKind::TextilRound:
    case ElmntKind::Clip:
        return kTurnFields;
    default:
        return {};
    }
}

// The keywords are tried in this order, each as a whole word, so that "connector45_" is tried
// before "connector" (a digit may follow a whole word: the version).
constexpr std::array kReadOrder{
    ElmntKind::Tube,          ElmntKind::Connector45,
    ElmntKind::Connector,     ElmntKind::Panel,
    ElmntKind::ChairSeatBack, ElmntKind::Display,
    ElmntKind::Wood,          ElmntKind::WoodKnob,
    ElmntKind::RoundWood,     ElmntKind::Lattice,
    ElmntKind::WoodBed,       ElmntKind::Textil,
    ElmntKind::TextilRound,   ElmntKind::RoundTube,
    ElmntKind::Bearing,       ElmntKind::MultiWheel,
    ElmntKind::FloatingWheel, ElmntKind::Casters,
    ElmntKind::SteeringLock,  ElmntKind::HubCap,
    ElmntKind::TubeCap,       ElmntKind::Slide,
    ElmntKind::SlideNew,      ElmntKind::CurvedSlide,
    ElmntKind::SlideEnd,      ElmntKind::PoolSmall,
    ElmntKind::Pool,          ElmntKind::RoofLarge,
    ElmntKind::Roof,          ElmntKind::Bag,
    ElmntKind::Adapter,       ElmntKind::OpenConnector,
    ElmntKind::HoleConnector, ElmntKind::BearingConnector,
    ElmntKind::Clamp,         ElmntKind::Clip,
    ElmntKind::Alu,           ElmntKind::AluConnector,
    ElmntKind::Bolt,          ElmntKind::FlexiConnector,
};

// The side-bit pairs of the twelve edges, in edge order: an old panel record names its
// orientation by one of them.
constexpr std::array<uint32_t, 12> kOldPanelMasks{5, 9, 6, 10, 17, 33, 18, 34, 20, 36, 24, 40};
// Bit of an old panel record's mask: the panel was turned once more.
constexpr uint32_t kOldPanelTurned = 0x1000;

// Separator between two values: white space, ",", white space.
void NextValue(CFileRead& reader) {
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
}

// A range error of the value just read, unless an earlier error already ended the record.
void RangeError(CFileRead& reader) {
    if (reader.GetErrors() == 0) {
        reader.ReportError(ReadErrors::Range);
    }
}

// A mask, refused by the setter when it is out of range.
void ReadMask(CFileRead& reader, CElmnt& elmnt, bool (CElmnt::*setter)(uint32_t)) {
    const uint32_t mask = reader.ReadUnsigned(kNoLimit, false, 0);
    if (!(elmnt.*setter)(mask)) {
        RangeError(reader);
    }
}

void ReadField(CFileRead& reader, CElmnt& elmnt, Field field) {
    switch (field) {
    case Length:
        elmnt.length = static_cast<float>(reader.ReadFloat("."));
        break;
    case Correction:
        elmnt.correction = static_cast<float>(reader.ReadFloat("."));
        break;
    case SecondSize:
        elmnt.secondSize = static_cast<float>(reader.ReadFloat("."));
        break;
    case SecondCorrection:
        elmnt.secondCorrection = static_cast<float>(reader.ReadFloat("."));
        break;
    case Directions:
        ReadMask(reader, elmnt, &CElmnt::SetDirections);
        break;
    case OccupiedArms:
        ReadMask(reader, elmnt, &CElmnt::SetOccupiedArms);
        break;
    case FreeArms:
        ReadMask(reader, elmnt, &CElmnt::SetFreeArms);
        break;
    case FreeCornerSlots:
        ReadMask(reader, elmnt, &CElmnt::SetFreeCornerSlots);
        break;
    case TurnVariant:
        elmnt.turnVariant = reader.ReadInt();
        break;
    }
}

void WriteField(CFileWrite& writer, const CElmnt& elmnt, Field field) {
    switch (field) {
    case Length:
        writer.PutDouble(elmnt.length, kDecimals);
        break;
    case Correction:
        writer.PutDouble(elmnt.correction, kDecimals);
        break;
    case SecondSize:
        writer.PutDouble(elmnt.secondSize, kDecimals);
        break;
    case SecondCorrection:
        writer.PutDouble(elmnt.secondCorrection, kDecimals);
        break;
    case Directions:
        writer.PutUnsigned(elmnt.GetDirections());
        break;
    case OccupiedArms:
        writer.PutUnsigned(elmnt.GetOccupiedArms());
        break;
    case FreeArms:
        writer.PutUnsigned(elmnt.GetFreeArms());
        break;
    case FreeCornerSlots:
        writer.PutUnsigned(elmnt.GetFreeCornerSlots());
        break;
    case TurnVariant:
        writer.PutInt(elmnt.turnVariant);
        break;
    }
}

// The kind of the keyword at the reader's position (consumed), or nullptr (nothing consumed).
const SKindInfo* ReadKind(CFileRead& reader) {
    for (ElmntKind kind : kReadOrder) {
        const SKindInfo* info = FindKind(kind);
        if (info != nullptr && reader.ReadKeyword(info->keyword, kWholeWord)) {
            return info;
        }
    }
    return nullptr;
}

// Rebuilds the orientation and masks of a version-1 record from its position mask. False, after
// the reader reported it, when the mask names no orientation the kind can have.
bool ConvertOldRecord(CFileRead& reader, CElmnt& elmnt, uint32_t mask) {
    elmnt.SetOccupiedArms(0);
    elmnt.SetFreeArms(0);
    elmnt.SetFreeCornerSlots(0);
    switch (elmnt.kind) {
    case ElmntKind::Tube: {
        const int side = SideOfBit(static_cast<int>(mask & 0x3F));
        if (side < 0 || mask != static_cast<uint32_t>(SideBit(side))) {
            reader.ShowMessage(LoadLangText(kTextOldTubeFailed));
            return false;
        }
        elmnt.placement = *CTransform().TurnXToSide(side);
        return true;
    }
    case ElmntKind::RoundTube:
        for (int sideX = 0; sideX < Side::Count; ++sideX) {
            for (int sideY = 0; sideY < Side::Count; ++sideY) {
                if ((mask & 0xFFF) == ((1u << sideX) | (64u << sideY))) {
                    elmnt.placement = *CTransform().TurnToSides(sideX, sideY);
                    return true;
                }
            }
        }
        reader.ShowMessage(LoadLangText(kTextOldBendFailed));
        return false;
    case ElmntKind::Connector:
        if (!elmnt.SetOccupiedArms(mask)) {
            RangeError(reader);
            return false;
        }
        elmnt.SetFreeArms(~mask & ArmMaskAll);
        elmnt.SetFreeCornerSlots(CornerSlotMaskAll);
        return true;
    case ElmntKind::Panel:
    case ElmntKind::Display:
    case ElmntKind::ChairSeatBack:
        for (size_t edge = 0; edge < kOldPanelMasks.size(); ++edge) {
            if ((mask & 0xFFF) == kOldPanelMasks[edge]) {
                elmnt.placement = *CTransform().TurnBySide(static_cast<int>(edge));
                if ((mask & kOldPanelTurned) != 0) {
                    // A fresh record in no list, turned in its own first revision: no copy.
                    elmnt.TurnElement(elmnt.firstRevision, nullptr, elmnt.GetMaterial(),
                                      CouplingSnap::NormalSq, false);
                }
                return true;
            }
        }
        reader.ShowMessage(LoadLangText(kTextOldPanelFailed));
        return false;
    default:
        return true;
    }
}

} // namespace

bool CElmnt::WriteElement(CFileWrite& writer) const {
    const SKindInfo* info = FindKind(kind);
    if (info == nullptr || info->writeVersion == 0) {
        return false;
    }
    writer.PutChars(info->keyword.data(), info->keyword.size());
    writer.PutInt(info->writeVersion);
    writer.PutString("{");
    writer.PutUnsigned(static_cast<uint32_t>(m_material));
    writer.PutString(", ");
    WriteTransform(placement, writer);
    writer.PutString(", ");
    writer.PutInt(fixed ? 1 : 0);
    writer.PutString(", ");
    for (Field field : KindFields(kind, info->writeVersion)) {
        WriteField(writer, *this, field);
        writer.PutString(", ");
    }
    writer.PutUnsigned(firstRevision);
    if (endRevision != RevisionOpen) {
        writer.PutString(", ");
        writer.PutUnsigned(endRevision);
    }
    writer.PutString("}\n");
    return true;
}

std::unique_ptr<CElmnt> CElmnt::ReadElement(CFileRead& reader, CElmntIdSource& ids,
                                            Revision lastRevision, bool& failed) {
    failed = false;
    reader.SkipWhitespace();
    if (reader.AtEnd()) {
        failed = reader.GetErrors() != 0;
        return nullptr;
    }
    failed = true;
    auto elmnt = std::make_unique<CElmnt>(ids);

    const SKindInfo* info = ReadKind(reader);
    if (info == nullptr) {
        if (reader.GetErrors() == 0) {
            reader.ShowMessage(LoadLangText(kTextKindExpected));
        }
        return nullptr;
    }
    elmnt->kind = info->kind;
    elmnt->SetDefaultArms();

    const int32_t version = reader.ReadInt();
    reader.SkipWhitespace();
    reader.Expect("{");
    reader.SkipWhitespace();
    const uint32_t material = reader.ReadUnsigned(kNoLimit, false, 0);
    if (!elmnt->SetMaterial(material)) {
        RangeError(reader);
    }
    NextValue(reader);

    if (version >= 2 && version <= 4) {
        ReadTransform(elmnt->placement, reader);
        reader.Expect(",");
        reader.SkipWhitespace();
        elmnt->fixed = reader.ReadInt() != 0;
        NextValue(reader);
        for (Field field : KindFields(elmnt->kind, version)) {
            ReadField(reader, *elmnt, field);
            NextValue(reader);
        }
    } else if (version == 1) {
        const uint32_t mask = reader.ReadUnsigned(kNoLimit, false, 0);
        NextValue(reader);
        if (reader.GetErrors() != 0 || !ConvertOldRecord(reader, *elmnt, mask)) {
            return nullptr;
        }
        CVector3& translation = elmnt->placement.translation;
        translation.x = reader.ReadDouble(".");
        NextValue(reader);
        translation.y = reader.ReadDouble(".");
        NextValue(reader);
        translation.z = reader.ReadDouble(".");
        NextValue(reader);
        elmnt->length = static_cast<float>(reader.ReadFloat("."));
        NextValue(reader);
        elmnt->secondSize = static_cast<float>(reader.ReadFloat("."));
        NextValue(reader);
    }

    elmnt->firstRevision = reader.ReadUnsigned(kNoLimit, false, 0);
    reader.SkipWhitespace();
    if (reader.ReadKeyword(",", kAnyFollow)) {
        reader.SkipWhitespace();
        elmnt->endRevision = reader.ReadUnsigned(kNoLimit, false, 0);
        reader.SkipWhitespace();
    }
    reader.Expect("}");
    if (reader.GetErrors() == 0 && elmnt->firstRevision > lastRevision) {
        // A state that begins after the newest revision could never be reached.
        reader.ReportError(ReadErrors::Range);
    }
    if (reader.GetErrors() != 0) {
        return nullptr;
    }

    if (version == 1 && IsPanelLike(elmnt->kind)) {
        // Old panel records gave the corner position; the placement is the panel's middle.
        elmnt->SetPanelOffset();
    }
    failed = false;
    return elmnt;
}
