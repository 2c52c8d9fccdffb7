// The head-trap test: pairs of parallel tubes, the opening between them, and the panels that
// close it.
#include "app/checks/HeadTrapTest.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <unordered_set>

#include "model/ZarnelDcmt.h"
#include "support/CheckedFormat.h"
#include "support/LangText.h"
#include "support/TriFrame.h"
#include "support/UserInterface.h"

namespace {

constexpr uint32_t TextHeadTrapsFound = 4200;
constexpr uint32_t TextNoHeadTraps = 4201;
constexpr std::size_t ResultTextMaxLength = 1024;

// Tubes whose axes' cosine is not above this are not parallel enough to form an opening.
constexpr double ParallelCos = 0.99;
// A tube end this close to the other tube's origin (mm) forms no opening with it.
constexpr double SamePoint = 0.1;
// Gap between the axes (mm) in which a head fits but is caught.
constexpr double GapMin = 151.0;
constexpr double GapMax = 299.0;
// Shortest opening along the tubes (mm).
constexpr double LengthMin = 149.0;
// An opening entirely lower than this (model y, mm) is not reached by a child's head.
constexpr double HeightMin = 599.0;
// The opening lies in the panel's plane within this (mm), and inside it within this part of a
// side.
constexpr double PlaneTolerance = 0.125;
constexpr double SideTolerance = 0.001;

struct STubeAxis {
    ElmntId id;
    CVector3 origin;
    CVector3 axis; // local X of the placement
    CVector3 end1; // point of end frame 1
    double length; // effective length (mm)
};

std::vector<STubeAxis> CollectTubes(const CZarnelDcmt& dcmt) {
    std::vector<STubeAxis> tubes;
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Tube) {
            tubes.push_back({elmnt.GetId(), elmnt.placement.translation, elmnt.placement.GetAxis(0),
                             elmnt.GetEndFrame(1).translation, elmnt.GetLength()});
        }
    }
    return tubes;
}

std::vector<Outline> CollectPanels(const CZarnelDcmt& dcmt) {
    std::vector<Outline> panels;
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Panel) {
            panels.push_back(
                {elmnt.GetCornerFrame(0).translation, elmnt.GetCornerFrame(1).translation,
                 elmnt.GetCornerFrame(3).translation, elmnt.GetCornerFrame(2).translation});
        }
    }
    return panels;
}

// The opening between tubes a and b, when the pair forms one that a head can reach.
bool FindOpening(const STubeAxis& a, const STubeAxis& b, Outline& opening) {
    if (std::abs(CVector3::Dot(a.axis, b.axis)) <= ParallelCos) {
        return false;
    }
    const CVector3 w1 = b.origin - a.origin;
    const CVector3 w2 = b.end1 - a.origin;
    if (w1.Length() <= SamePoint || w2.Length() <= SamePoint) {
        return false;
    }
    // b's two ends along a's axis, and their distances from a's axis line.
    const double t0 = CVector3::Dot(w1, a.axis);
    const double t1 = CVector3::Dot(w2, a.axis);
    const double d1 = (w1 - t0 * a.axis).Length();
    const double d2 = (w2 - t1 * a.axis).Length();
    if (!((d1 <= GapMax || d2 <= GapMax) && (d1 >= GapMin || d2 >= GapMin))) {
        return false;
    }
    const double lo = std::max(std::min(t0, t1), 0.0);
    const double hi = std::min(std::max(t0, t1), a.length);
    if (hi - lo < LengthMin) {
        return false;
    }
    // t1 - t0 is not 0 here: the overlap above is at least LengthMin.
    const auto onA = [&](double p) { return a.origin + p * a.axis; };
    const auto onB = [&](double p) {
        return b.origin + ((p - t0) * b.length / (t1 - t0)) * b.axis;
    };
    opening = {onA(lo), onA(hi), onB(hi), onB(lo)};
    return std::any_of(opening.begin(), opening.end(),
                       [](const CVector3& corner) { return corner.y >= HeightMin; });
}

void ShowResult(std::size_t count) {
    if (count == 0) {
        ShowMessage(LoadLangText(TextNoHeadTraps), {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    std::string text;
    FormatChecked(LoadLangText(TextHeadTrapsFound), {MakeFormatArg(static_cast<int>(count))},
                  ResultTextMaxLength, text);
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Error);
}

} // namespace

bool PanelCoversOpening(const Outline& panel, const Outline& opening) {
    // Corners 0, 1 and 2 of the panel: the outline's first, second and last point.
    const CVector3& c0 = panel[0];
    CTriFrame frame(c0, panel[1], panel[3]);
    if (!frame.Invert()) {
        return false;
    }
    for (const CVector3& corner : opening) {
        const CVector3 local = CMatrix3::MulVec(frame.GetMatrix(), corner - c0);
        if (local.z < -PlaneTolerance || local.z > PlaneTolerance) {
            return false;
        }
        if (local.x < -SideTolerance || local.y < -SideTolerance || local.x > 1.0 + SideTolerance ||
            local.y > 1.0 + SideTolerance) {
            return false;
        }
    }
    return true;
}

std::vector<ElmntId> FindHeadTraps(const CZarnelDcmt& dcmt) {
    const std::vector<STubeAxis> tubes = CollectTubes(dcmt);
    std::vector<Outline> panels;
    bool panelsCollected = false;
    std::vector<ElmntId> found;
    std::unordered_set<uint32_t> selected;
    const auto select = [&](ElmntId id) {
        if (selected.insert(id.Value()).second) {
            found.push_back(id);
        }
    };
    for (std::size_t i = 0; i < tubes.size(); ++i) {
        for (std::size_t j = i + 1; j < tubes.size(); ++j) {
            Outline opening;
            if (!FindOpening(tubes[i], tubes[j], opening)) {
                continue;
            }
            // The panels are needed only once an opening passes every measure.
            if (!panelsCollected) {
                panels = CollectPanels(dcmt);
                panelsCollected = true;
            }
            const bool closed =
                std::any_of(panels.begin(), panels.end(), [&](const Outline& panel) {
                    return PanelCoversOpening(panel, opening);
                });
            if (!closed) {
                select(tubes[i].id);
                select(tubes[j].id);
            }
        }
    }
    return found;
}

std::vector<ElmntId> RunHeadTrapTest(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                     double snapRadiusSq) {
    dcmt.ClearSelection(couplingMaterial, snapRadiusSq);
    std::vector<ElmntId> found = FindHeadTraps(dcmt);
    for (ElmntId id : found) {
        if (CElmnt* elmnt = dcmt.FindElement(id)) {
            elmnt->Select();
        }
    }
    dcmt.UpdateAllViews(ViewHint::Selection);
    ShowResult(found.size());
    return found;
}
