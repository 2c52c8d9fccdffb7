// The mouse rules of the 3D view by tool mode.
#include "app/view/ViewMouse.h"

#include <cmath>
#include <new>

#include "app/view/EditRefusal.h"
#include "app/view/ViewPlacing.h"
#include "model/ArticleDesignation.h"
#include "model/ElmntEdit.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"

namespace {

using K = ElmntKind;
using M = ToolMode;

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

bool IsAxisPlacingMode(M mode) {
    switch (mode) {
    case M::AtConnection:
    case M::RoundTubeUp:
    case M::RoundTubeDown:
    case M::RoundTubeFlat:
    case M::SpecialPanel:
    case M::Coupling45Flat:
    case M::Coupling45Upright:
    case M::Coupling45AtEnd:
    case M::SteeringLock:
    case M::AtTubeEnd:
    case M::StartCoupling:
        return true;
    default:
        return false;
    }
}

bool IsPickedPlacingMode(M mode) {
    switch (mode) {
    case M::OnPickedMultiWheel:
    case M::OnPickedWheel:
    case M::OnPickedSlide:
    case M::OnPickedSlideEnd:
    case M::OnPickedRoof:
    case M::OnPickedTextile:
    case M::OnPickedClamp:
    case M::OnPickedAlu:
    case M::OnPickedAluConnector:
    case M::OnPickedFlexiArm:
        return true;
    default:
        return false;
    }
}

// The article designation of the element for the status bar.
std::string ArticleText(const CZarnelDcmt& dcmt, const CElmnt& elmnt) {
    const CMtrl* material = dcmt.GetMaterial(elmnt.GetMaterial());
    return GetArticleName(elmnt, material != nullptr ? material->GetName() : std::string());
}

// Every window shows the selection; deselecting may link and so change the parts table, which
// the document recounts itself.
SViewChange SelectionShown() {
    SViewChange change;
    change.hint = ViewHint::Selection;
    return change;
}

SViewChange Select(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    CZarnelDcmt& dcmt = *context.dcmt;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    CElmnt* elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
    const int32_t couplingMaterial = context.GetCouplingMaterial();
    const double snapRadiusSq = context.GetSnapRadiusSq();
    if ((event.ctrl || event.shift) && elmnt == nullptr) {
        return SViewChange::Beep();
    }
    try {
        dcmt.RunSelectionSteps([&] {
            if (event.ctrl) {
                elmnt->SetSelection(SelectionMode::Invert, dcmt.GetCurrentRevision(),
                                    dcmt.GetElmntList(), couplingMaterial, snapRadiusSq);
            } else if (event.shift) {
                elmnt->Select();
            } else {
                dcmt.ClearSelection(couplingMaterial, snapRadiusSq);
                // Deselecting may have linked, but never ends an element: the pick still
                // stands.
                elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
                if (elmnt != nullptr) {
                    elmnt->Select();
                }
            }
            return true;
        });
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
        return SViewChange::Redraw();
    }
    SViewChange change = SelectionShown();
    if (elmnt != nullptr) {
        change.statusText = ArticleText(dcmt, *elmnt);
    }
    return change;
}

SViewChange SelectGroup(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    CZarnelDcmt& dcmt = *context.dcmt;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    const int32_t couplingMaterial = context.GetCouplingMaterial();
    const double snapRadiusSq = context.GetSnapRadiusSq();
    const bool modified = event.ctrl || event.shift;
    bool found = true;
    try {
        dcmt.RunSelectionSteps([&] {
            if (!modified) {
                dcmt.ClearSelection(couplingMaterial, snapRadiusSq);
            }
            CElmnt* elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
            if (elmnt == nullptr) {
                found = false;
                return false;
            }
            const SelectionMode mode =
                event.ctrl && elmnt->selected ? SelectionMode::Deselect : SelectionMode::Select;
            dcmt.ClearMarks();
            elmnt->MarkGroup(dcmt.GetCurrentRevision(), dcmt.GetElmntList(), 1);
            dcmt.SelectMarked(mode, couplingMaterial, snapRadiusSq);
            dcmt.ClearMarks();
            return true;
        });
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
        return SViewChange::Redraw();
    }
    if (!found) {
        return modified ? SViewChange::Beep() : SelectionShown();
    }
    return SelectionShown();
}

SMouseResult StartPanDrag(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    SMouseResult result;
    CViewState& state = context.state;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    if (!hit.IsHit()) {
        result.change = SViewChange::Beep();
        return result;
    }
    state.pan.grabDepth = hit.depth;
    state.pan.element = hit.element;
    state.pan.startX = event.windowX;
    state.pan.startY = event.windowY;
    state.pan.pointX = event.windowX;
    state.pan.pointY = event.windowY;
    state.pan.rubberLineShown = false;
    state.pan.dragging = true;
    result.captureMouse = true;
    return result;
}

// A dialog on the picked element when the rule accepts it, else a beep.
template <class Accepts>
SMouseResult DialogOnPicked(SViewContext& context, CScenePicker& picker, const SMouseEvent& event,
                            MouseDialog dialog, Accepts&& accepts) {
    SMouseResult result;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    const CElmnt* elmnt = hit.IsHit() ? context.dcmt->FindElement(hit.element) : nullptr;
    if (elmnt == nullptr || !accepts(*elmnt)) {
        result.change = SViewChange::Beep();
        return result;
    }
    result.dialog = dialog;
    result.element = hit.element;
    return result;
}

SViewChange GiveCurrentSurface(SViewContext& context, CScenePicker& picker,
                               const SMouseEvent& event) {
    CZarnelDcmt& dcmt = *context.dcmt;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    const CElmnt* elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
    if (elmnt == nullptr) {
        return SViewChange::Beep();
    }
    // In place, without a revision, but the design is marked modified (a colour change is
    // not lost by closing without a question), recounted and every window told.
    const EditResult result =
        SetElementMaterial(dcmt, hit.element, context.state.GetToolMaterial(elmnt->kind));
    return result == EditResult::Refused || result == EditResult::Gone ? SViewChange::Beep()
                                                                       : SViewChange();
}

SViewChange PickFirstTube(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    CViewState& state = context.state;
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    // Only a tube drawn as a panel carrier carries a sub-name.
    state.tool.firstTube = hit.IsHit() && hit.sub != -1 ? hit.element : ElmntId();
    if (context.dcmt->FindElement(state.tool.firstTube) == nullptr) {
        state.tool.firstTube = ElmntId();
        return SViewChange::Beep();
    }
    return state.SetTool(M::PanelSecondTube);
}

SMouseResult Dispatch(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    SMouseResult result;
    const M mode = context.state.tool.mode;
    if (IsAxisPlacingMode(mode)) {
        result.change = PlaceByFeedback(context, picker, event.x, event.y);
    } else if (IsPickedPlacingMode(mode)) {
        result.change = PlaceOnPicked(context, picker, event.x, event.y);
    } else if (mode == M::DeleteSingle) {
        result.change = DeleteAt(context, picker, event.x, event.y);
    } else if (mode == M::Select) {
        result.change = Select(context, picker, event);
    } else if (mode == M::SelectGroup) {
        result.change = SelectGroup(context, picker, event);
    } else if (mode == M::Pan) {
        result = StartPanDrag(context, picker, event);
    } else if (mode == M::ChangeAngle) {
        result = DialogOnPicked(context, picker, event, MouseDialog::Ramp, [](const CElmnt& e) {
            return HasKindBits(e.kind, KindBit::CouplingLike) || e.kind == K::RoundTube ||
                   e.kind == K::BearingConnector;
        });
    } else if (mode == M::ChangeSurface) {
        result = DialogOnPicked(context, picker, event, MouseDialog::Surface,
                                [](const CElmnt& e) { return e.GetMaterial() != 0; });
    } else if (mode == M::SameSurface) {
        result.change = GiveCurrentSurface(context, picker, event);
    } else if (mode == M::PanelFirstTube) {
        result.change = PickFirstTube(context, picker, event);
    } else if (mode == M::PanelSecondTube) {
        result.change = PlacePanel(context, picker, event.x, event.y);
        result.change |= context.state.SetTool(M::PanelFirstTube);
    }
    return result;
}

} // namespace

ElementDialog ElementDialogFor(ElmntKind kind) {
    switch (kind) {
    case K::Panel:
    case K::Display:
    case K::Wood:
    case K::WoodKnob:
    case K::RoundWood:
    case K::WoodBed:
    case K::Textil:
    case K::Lattice:
        return ElementDialog::Panel;
    case K::Tube:
    case K::RoundTube:
        return ElementDialog::Tube;
    case K::Connector:
    case K::Bolt:
    case K::BearingConnector:
    case K::Connector45:
    case K::HoleConnector:
    case K::FlexiConnector:
        return ElementDialog::Connector;
    case K::Slide:
    case K::CurvedSlide:
    case K::SlideEnd:
    case K::Pool:
    case K::PoolSmall:
    case K::SlideNew:
    case K::MultiWheel:
    case K::Bag:
    case K::TextilRound:
    case K::FloatingWheel:
    case K::Bearing:
    case K::Casters:
    case K::Adapter:
    case K::OpenConnector:
    case K::SteeringLock:
    case K::HubCap:
    case K::TubeCap:
    case K::Clamp:
    case K::Clip:
    case K::Alu:
    case K::AluConnector:
        return ElementDialog::Surface;
    case K::Roof:
    case K::RoofLarge:
        return ElementDialog::None;
    default:
        return ElementDialog::Beep;
    }
}

SMouseResult OnLeftDown(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    if (context.dcmt == nullptr) {
        return {};
    }
    SMouseResult result = Dispatch(context, picker, event);
    // The flexible joint alternates between placing at an axis and on a picked element,
    // whatever the click did.
    CViewState& state = context.state;
    if (state.tool.kind == K::FlexiConnector) {
        if (state.tool.mode == M::AtConnection || state.tool.mode == M::AtTubeEnd) {
            state.tool.mode = M::OnPickedFlexiArm;
        } else if (state.tool.mode == M::OnPickedFlexiArm) {
            state.tool.mode = M::AtConnection;
        }
    }
    return result;
}

SViewChange OnMouseMove(SViewContext& context, const SMouseEvent& event) {
    CViewState& state = context.state;
    if (state.tool.mode != M::Pan || !state.pan.dragging || context.dcmt == nullptr ||
        context.dcmt->FindElement(state.pan.element) == nullptr) {
        return {};
    }
    SViewChange change;
    if (state.pan.rubberLineShown) {
        // The line drawn last goes with the next picture.
        change.invalidate = true;
        state.pan.rubberLineShown = false;
    }
    if (event.leftDown) {
        state.pan.pointX = event.windowX;
        state.pan.pointY = event.windowY;
        state.pan.rubberLineShown = true;
        change.invalidate = true;
    }
    return change;
}

SPanStep PanCameraStep(double fieldOfViewDeg, float depthCm, int viewportHeight, int dx, int dy) {
    if (viewportHeight <= 0) {
        return {};
    }
    const double s = std::tan(fieldOfViewDeg * DegToRad / 2.0) * 2.0 * depthCm / viewportHeight;
    const auto whole = [](double cm) {
        const double cut = std::trunc(cm);
        // A drag beyond the int range of a camera offset is cut to it.
        return cut > 1e9 ? 1000000000 : cut < -1e9 ? -1000000000 : static_cast<int>(cut);
    };
    return {whole(dx * s), whole(dy * s)};
}

SViewChange OnLeftUp(SViewContext& context, const SMouseEvent& event, int viewportHeight) {
    CViewState& state = context.state;
    if (state.tool.mode != M::Pan || !state.pan.dragging || context.dcmt == nullptr ||
        context.dcmt->FindElement(state.pan.element) == nullptr) {
        return CancelPanDrag(state);
    }
    SViewChange change = CancelPanDrag(state);
    change.invalidate = true;
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return change;
    }
    const SPanStep step =
        PanCameraStep(camera->fieldOfView, state.pan.grabDepth, viewportHeight,
                      event.windowX - state.pan.startX, event.windowY - state.pan.startY);
    camera->cameraLeftRight += step.across;
    camera->cameraHeight += step.up;
    if (context.camera.IsDesignCamera()) {
        context.dcmt->SetModified(true);
    }
    return change;
}

SViewChange CancelPanDrag(CViewState& state) {
    SViewChange change;
    change.invalidate = state.pan.rubberLineShown;
    state.pan.dragging = false;
    state.pan.rubberLineShown = false;
    state.pan.element = ElmntId();
    return change;
}

SMouseResult OnDoubleClick(SViewContext& context, CScenePicker& picker, const SMouseEvent& event) {
    SMouseResult result;
    if (context.dcmt == nullptr || context.state.tool.mode != M::Select) {
        return result;
    }
    const SPickHit hit = PickOrReport(picker, event.x, event.y);
    if (!hit.IsHit() || context.dcmt->FindElement(hit.element) == nullptr) {
        result.change = SViewChange::Beep();
        return result;
    }
    result.dialog = MouseDialog::Properties;
    result.element = hit.element;
    return result;
}

SViewChange OnRightDown(SViewContext& context) {
    return TurnPlacedOrSelection(context);
}
