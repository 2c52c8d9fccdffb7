// The property edits of single elements as document operations: range checks first, so that a
// refused value changes nothing, then the change in a revision scope (or in place), then the
// recount and the views.
#include "model/ElmntEdit.h"

#include <array>
#include <cmath>

#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr std::array<ElmntKind, 8> PanelTypes = {
    ElmntKind::Panel,     ElmntKind::Display, ElmntKind::Wood,    ElmntKind::WoodKnob,
    ElmntKind::RoundWood, ElmntKind::Lattice, ElmntKind::WoodBed, ElmntKind::Textil,
};

// The dialogs show centimetres; the record keeps millimetres.
constexpr float CmPerMm = 0.1f;
constexpr float MmPerCm = 10.0f;

bool InRange(float value, float min, float max) {
    return std::isfinite(value) && value >= min && value <= max;
}

// A correction in cm that gives a finite value in mm.
bool IsFiniteCorrection(float cm) {
    return std::isfinite(cm) && std::isfinite(cm * MmPerCm);
}

// The record's value in mm for a value the dialog shows in cm. A value the user left as it was
// loaded keeps the record's value, which its centimetres need not give back exactly.
float NewSize(float cm, float loadedCm, float recordMm) {
    return cm == loadedCm ? recordMm : cm * MmPerCm;
}

// The element alive at the current revision whose kind opens the dialog; nullptr otherwise.
CElmnt* FindForDialog(const CZarnelDcmt& dcmt, ElmntId id, PropertiesDialog dialog) {
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr || GetPropertiesDialog(elmnt->kind) != dialog) {
        return nullptr;
    }
    return elmnt;
}

CElmnt* FindPanel(const CZarnelDcmt& dcmt, ElmntId id) {
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr || GetPanelTypeIndex(elmnt->kind) < 0) {
        return nullptr;
    }
    return elmnt;
}

// The end of an operation that kept its revision or changed the current state in place.
EditResult Changed(CZarnelDcmt& dcmt) {
    dcmt.FinishChange(ViewHint::Change);
    return EditResult::Applied;
}

} // namespace

STubeProps STubeProps::Of(const CElmnt& tube) {
    return {tube.length * CmPerMm, tube.correction * CmPerMm, tube.fixed};
}

SPanelProps SPanelProps::Of(const CElmnt& panel) {
    return {panel.length * CmPerMm, panel.secondSize * CmPerMm, panel.fixed,
            panel.correction * CmPerMm, panel.secondCorrection * CmPerMm};
}

std::span<const ElmntKind> GetPanelTypes() {
    return PanelTypes;
}

int GetPanelTypeIndex(ElmntKind kind) {
    for (std::size_t i = 0; i < PanelTypes.size(); ++i) {
        if (PanelTypes[i] == kind) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

EditResult ApplyTubeProps(CZarnelDcmt& dcmt, ElmntId id, const STubeProps& props,
                          int32_t couplingMaterial, double snapRadiusSq) {
    CElmnt* tube = FindForDialog(dcmt, id, PropertiesDialog::Tube);
    if (tube == nullptr) {
        return EditResult::Gone;
    }
    if (!InRange(props.length, STubeProps::LengthMin, STubeProps::LengthMax) ||
        !IsFiniteCorrection(props.correction) || !CElmnt::IsValidMaterialSlot(couplingMaterial)) {
        return EditResult::Refused;
    }
    const STubeProps old = STubeProps::Of(*tube);
    const float newLength = NewSize(props.length, old.length, tube->length);
    const float newCorrection = NewSize(props.correction, old.correction, tube->correction);
    const bool resized = newLength != tube->length || newCorrection != tube->correction;
    if (!resized && props.fixed == tube->fixed) {
        return EditResult::Unchanged;
    }

    CRevisionScope scope(dcmt);
    const Revision r = scope.GetRevision();
    CElmntList& list = dcmt.GetElmntList();
    tube->BeginChange(r, list, couplingMaterial);
    if (resized) {
        tube->UnlinkEnds(r, list, couplingMaterial);
        tube->secondSize = 0.0f;
        tube->length = newLength;
        tube->correction = newCorrection;
        tube->LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    }
    tube->fixed = props.fixed;
    if (!scope.Close()) {
        return EditResult::Unchanged;
    }
    return Changed(dcmt);
}

EditResult ApplyPanelProps(CZarnelDcmt& dcmt, ElmntId id, const SPanelProps& props,
                           int32_t couplingMaterial, double snapRadiusSq) {
    CElmnt* panel = FindForDialog(dcmt, id, PropertiesDialog::Panel);
    if (panel == nullptr) {
        return EditResult::Gone;
    }
    if (!InRange(props.length, SPanelProps::SizeMin, SPanelProps::SizeMax) ||
        !InRange(props.width, SPanelProps::SizeMin, SPanelProps::SizeMax) ||
        !CElmnt::IsValidMaterialSlot(couplingMaterial)) {
        return EditResult::Refused;
    }
    const SPanelProps old = SPanelProps::Of(*panel);
    const float newLength = NewSize(props.length, old.length, panel->length);
    const float newWidth = NewSize(props.width, old.width, panel->secondSize);
    const bool resized = newLength != panel->length || newWidth != panel->secondSize;
    if (!resized && props.fixed == panel->fixed) {
        return EditResult::Unchanged;
    }

    CRevisionScope scope(dcmt);
    const Revision r = scope.GetRevision();
    CElmntList& list = dcmt.GetElmntList();
    panel->BeginChange(r, list, couplingMaterial);
    if (resized) {
        panel->UnlinkEnds(r, list, couplingMaterial);
        // The panel grows from its centre: half the growth each way keeps corner 0 in place.
        panel->placement.MoveX((double(newWidth) - double(panel->secondSize)) * 0.5);
        panel->placement.MoveY((double(newLength) - double(panel->length)) * 0.5);
        panel->length = newLength;
        panel->secondSize = newWidth;
        panel->LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    }
    panel->fixed = props.fixed;
    if (!scope.Close()) {
        return EditResult::Unchanged;
    }
    return Changed(dcmt);
}

EditResult SetCouplingFixed(CZarnelDcmt& dcmt, ElmntId id, bool fixed) {
    CElmnt* coupling = FindForDialog(dcmt, id, PropertiesDialog::Connector);
    if (coupling == nullptr) {
        return EditResult::Gone;
    }
    if (coupling->fixed == fixed) {
        return EditResult::Unchanged;
    }
    coupling->fixed = fixed;
    return Changed(dcmt);
}

EditResult SetPanelType(CZarnelDcmt& dcmt, ElmntId id, ElmntKind type) {
    CElmnt* panel = FindPanel(dcmt, id);
    if (panel == nullptr) {
        return EditResult::Gone;
    }
    if (GetPanelTypeIndex(type) < 0) {
        return EditResult::Refused;
    }
    if (panel->kind == type) {
        return EditResult::Unchanged;
    }
    panel->kind = type;
    return Changed(dcmt);
}

EditResult SetElementMaterial(CZarnelDcmt& dcmt, ElmntId id, int32_t slot) {
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr) {
        return EditResult::Gone;
    }
    if (dcmt.GetMaterial(slot) == nullptr) {
        return EditResult::Refused;
    }
    if (elmnt->GetMaterial() == slot) {
        return EditResult::Unchanged;
    }
    elmnt->SetMaterial(slot);
    return Changed(dcmt);
}

EditResult TurnPanel(CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial, double snapRadiusSq) {
    CElmnt* panel = FindPanel(dcmt, id);
    if (panel == nullptr) {
        return EditResult::Gone;
    }
    if (!CElmnt::IsValidMaterialSlot(couplingMaterial)) {
        return EditResult::Refused;
    }
    CRevisionScope scope(dcmt);
    const Revision r = scope.GetRevision();
    CElmntList& list = dcmt.GetElmntList();
    panel->BeginChange(r, list, couplingMaterial);
    panel->UnlinkEnds(r, list, couplingMaterial);
    panel->TurnElement(r, &list, couplingMaterial, snapRadiusSq, false);
    panel->LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    if (!scope.Close()) {
        return EditResult::Unchanged;
    }
    return Changed(dcmt);
}
