// A new design document for the tests of the checks: elements put in at given placements in one
// new revision, and what the checks tell the views and the user.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/Coupling.h"
#include "model/DcmtObserver.h"
#include "model/ZarnelDcmt.h"
#include "support/Matrix3.h"
#include "tests/harness/RecordingUserInterface.h"

// Local X along world +X, -X, +Y and +Z (right-handed).
inline const CMatrix3 AlongX;
inline const CMatrix3 AlongMinusX = CMatrix3::FromColumns({-1, 0, 0}, {0, 1, 0}, {0, 0, -1});
inline const CMatrix3 AlongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
inline const CMatrix3 AlongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});

// Records the hints, and how many boxes had been shown when each arrived.
struct SHintRecorder : CDcmtObserver {
    void OnUpdate(ViewHint hint) override {
        hints.push_back(hint);
        boxesBefore.push_back(TestUi().Boxes().size());
    }
    std::vector<ViewHint> hints;
    std::vector<std::size_t> boxesBefore;
};

class CCheckDesign {
public:
    static constexpr int32_t CouplingMaterial = 2;
    static constexpr double SnapRadiusSq = CouplingSnap::NormalSq;

    CCheckDesign() : m_revision(m_dcmt.NewRevision()) {
        m_dcmt.AddObserver(m_views);
        // Whatever the new document asked (its default lists) is not the checks' business.
        TestUi().Reset();
    }
    ~CCheckDesign() { m_dcmt.RemoveObserver(m_views); }

    CZarnelDcmt& Dcmt() { return m_dcmt; }
    const SHintRecorder& Views() const { return m_views; }

    // An element alive from the design's revision; linked to couplings at its ends when asked.
    CElmnt& Put(ElmntKind kind, CVector3 at, float length = 350.0f, CMatrix3 rotation = {},
                float secondSize = 0.0f, bool link = false) {
        CElmnt& elmnt = m_dcmt.AddElement(
            std::make_unique<CElmnt>(m_dcmt.GetIdSource(), m_revision, kind, 3,
                                     CTransform(rotation, at), true, length, secondSize));
        if (link) {
            elmnt.LinkEnds(m_revision, m_dcmt.GetElmntList(), CouplingMaterial, SnapRadiusSq);
        }
        return elmnt;
    }

    // The identities of the selected elements alive now, in list order.
    std::vector<ElmntId> Selected() const {
        std::vector<ElmntId> ids;
        for (const CElmnt& elmnt : m_dcmt.GetAliveElements()) {
            if (elmnt.selected) {
                ids.push_back(elmnt.GetId());
            }
        }
        return ids;
    }

private:
    CZarnelDcmt m_dcmt;
    Revision m_revision;
    SHintRecorder m_views;
};

// Ids in ascending order, to compare sets of elements.
inline std::vector<ElmntId> Sorted(std::vector<ElmntId> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}
