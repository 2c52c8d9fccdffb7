// The sample designs of data/: each loads without a report, is written back byte for byte, is
// held together by real couplings (every tube end and panel corner sits on a coupling alive with
// it); the table keeps the history of how it was built, the others open with nothing to undo.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string kDataDir = ZARNEL_DATA_DIR;

struct SSample {
    const char* file;
    ElmntKind panels;
    int tubes;
    int panelCount;
    bool history; // undo shows how it was built
};

const SSample kSamples[] = {
    {"table.zdf", ElmntKind::Panel, 29, 6, true},
    {"play-tower.zdf", ElmntKind::Panel, 49, 6, false},
    {"display-stand.zdf", ElmntKind::Display, 35, 12, false},
};

std::vector<const CElmnt*> AliveOfKind(const CZarnelDcmt& dcmt, ElmntKind kind) {
    std::vector<const CElmnt*> found;
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.kind == kind) {
            found.push_back(&elmnt);
        }
    }
    return found;
}

bool HasCouplingAt(const CZarnelDcmt& dcmt, CVector3 point) {
    for (const CElmnt* coupling : AliveOfKind(dcmt, ElmntKind::Connector)) {
        if (CVector3::DistSq(coupling->placement.translation, point) < 1.0) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(SampleDesigns, LoadAndWriteBackUnchanged) {
    for (const SSample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const std::string path = kDataDir + "/" + sample.file;
        CZarnelDcmt dcmt;
        TestUi().Reset();
        ASSERT_TRUE(LoadDesignFile(dcmt, path));
        EXPECT_TRUE(TestUi().Boxes().empty());
        EXPECT_EQ(WriteDesignText(dcmt).value(), TempFolder::Read(path));
    }
}

TEST(SampleDesigns, HeldTogetherByCouplings) {
    for (const SSample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        CZarnelDcmt dcmt;
        ASSERT_TRUE(LoadDesignFile(dcmt, kDataDir + "/" + sample.file));

        const std::vector<const CElmnt*> tubes = AliveOfKind(dcmt, ElmntKind::Tube);
        EXPECT_EQ(static_cast<int>(tubes.size()), sample.tubes);
        for (const CElmnt* tube : tubes) {
            EXPECT_TRUE(HasCouplingAt(dcmt, tube->GetEndFrame(0).translation));
            EXPECT_TRUE(HasCouplingAt(dcmt, tube->GetEndFrame(1).translation));
        }
        const std::vector<const CElmnt*> panels = AliveOfKind(dcmt, sample.panels);
        EXPECT_EQ(static_cast<int>(panels.size()), sample.panelCount);
        for (const CElmnt* panel : panels) {
            for (int corner = 0; corner < 4; ++corner) {
                EXPECT_TRUE(HasCouplingAt(dcmt, panel->GetCornerFrame(corner).translation));
            }
        }
        // Every coupling holds something on an arm or in a corner slot.
        for (const CElmnt* coupling : AliveOfKind(dcmt, ElmntKind::Connector)) {
            EXPECT_TRUE(coupling->GetOccupiedArms() != 0 ||
                        coupling->GetFreeCornerSlots() != CornerSlotMaskAll);
        }
        EXPECT_FALSE(dcmt.GetPartsTable().IsEmpty());
    }
}

// One part per revision where the history is kept: undoing everything leaves the start
// coupling alone. The other samples open with nothing to undo or redo.
TEST(SampleDesigns, KeepTheirHistoryWhereItIsMeantToBeShown) {
    for (const SSample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        CZarnelDcmt dcmt;
        ASSERT_TRUE(LoadDesignFile(dcmt, kDataDir + "/" + sample.file));
        if (!sample.history) {
            EXPECT_EQ(dcmt.GetNewestRevision(), 0u);
            EXPECT_FALSE(dcmt.CanUndo());
            EXPECT_FALSE(dcmt.CanRedo());
            continue;
        }
        const Revision newest = dcmt.GetNewestRevision();
        EXPECT_EQ(dcmt.GetCurrentRevision(), newest);
        EXPECT_GT(newest, 30u);
        while (dcmt.CanUndo()) {
            dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
        }
        std::vector<const CElmnt*> alive;
        for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
            if (elmnt.kind != ElmntKind::FloorGrid) {
                alive.push_back(&elmnt);
            }
        }
        ASSERT_EQ(alive.size(), 1u);
        EXPECT_EQ(alive[0]->kind, ElmntKind::Connector);
        EXPECT_EQ(alive[0]->GetOccupiedArms(), 0u);
    }
}
