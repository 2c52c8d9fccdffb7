// Copy and paste: what a copy carries (materials in use, elements but no plain couplings),
// pasting into the same design and into another with materials matched rather than duplicated,
// the new revision and its floating, selected elements, and the ways a paste ends early or is
// refused.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/Clipboard.h"
#include "model/Mtrl.h"
#include "support/Messages.h"
#include "support/Orientation.h"
#include "tests/harness/FailingAllocation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// Counts the lines of the text that start with the keyword.
int CountRecords(const std::string& text, const std::string& keyword) {
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (text.compare(start, keyword.size(), keyword) == 0) {
            ++count;
        }
        start = end + 1;
    }
    return count;
}

struct SViewRecorder final : CDcmtObserver {
    std::vector<ViewHint> hints;
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
};

// A design with two tubes in a row from the start coupling, and the coupling between them; a
// wheel in a material of its own in slot 20.
struct SCopySource {
    TestDesign d;
    CElmnt* first = nullptr;
    CElmnt* second = nullptr;
    CElmnt* middle = nullptr;
    CElmnt* wheel = nullptr;

    SCopySource() {
        first = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        middle = d.CouplingAt({400, 0, 0});
        second = d.Place(*middle, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        middle = d.CouplingAt({400, 0, 0});
        auto wheel_ = std::make_unique<CElmnt>(d.ids, 0, ElmntKind::MultiWheel, 20, 0.0f, 0.0f);
        wheel_->Translate(0, 0, 800);
        d.dcmt.SetMaterial(20, std::make_unique<CMtrl>(20, "Holz", MtrlUse::All, 0.6f, 0.4f, 0.2f,
                                                       SLightFactors{0.5f, 0.9f, 0.1f, 3.0f},
                                                       SLightFactors{0.25f, 0.125f, 0.0f, 7.5f}));
        wheel = &d.Add(std::move(wheel_));
        TestUi().Reset();
    }
    void SelectTubes() {
        first->Select();
        second->Select();
        middle->Select();
    }
};

int CountAlive(TestDesign& d, ElmntKind kind) {
    return static_cast<int>(d.AliveOfKind(kind).size());
}

int PartCount(const CZarnelDcmt& dcmt) {
    int count = 0;
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        count += entry.count;
    }
    return count;
}

} // namespace

TEST(ClipboardCopy, TwoTubesAndTheirCouplingGiveTwoTubeRecords) {
    SCopySource source;
    ASSERT_NE(source.middle, nullptr);
    source.SelectTubes();
    const std::string text = CopySelectionText(source.d.dcmt).value();
    EXPECT_EQ(CountRecords(text, "material3{"), 1);
    EXPECT_EQ(CountRecords(text, "material3{2,\"red\""), 1);
    EXPECT_EQ(CountRecords(text, "tube2{2, "), 2);
    EXPECT_EQ(text.find("connector"), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST(ClipboardCopy, OnlyAliveSelectedElements) {
    SCopySource source;
    source.first->Select();
    source.wheel->Select();
    source.d.Delete(*source.first); // selected, but no longer alive
    const std::string text = CopySelectionText(source.d.dcmt).value();
    EXPECT_EQ(CountRecords(text, "tube2{"), 0);
    EXPECT_EQ(CountRecords(text, "multi-wheel2{20, "), 1);
    EXPECT_EQ(CountRecords(text, "material3{20,\"Holz\", 3, "), 1);
    EXPECT_EQ(CountRecords(text, "material3{"), 1);
}

TEST(ClipboardCopy, EmptySelectionGivesEmptyTextThatPastesNothing) {
    SCopySource source;
    EXPECT_EQ(CopySelectionText(source.d.dcmt).value(), "");
    const Revision before = source.d.Current();
    const size_t states = source.d.list.Size();
    int pasted = -1;
    EXPECT_TRUE(PasteText(source.d.dcmt, "", &pasted));
    EXPECT_EQ(pasted, 0);
    EXPECT_EQ(source.d.Current(), before);
    EXPECT_EQ(source.d.Newest(), before);
    EXPECT_EQ(source.d.list.Size(), states);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

// Pasting into the same design: every material is found again, the tubes arrive selected and
// floating in a new revision, and no coupling is made while they float.
TEST(ClipboardPaste, IntoTheSameDesign) {
    SCopySource source;
    source.SelectTubes();
    const std::string text = CopySelectionText(source.d.dcmt).value();
    for (CElmnt& e : source.d.list) {
        e.selected = false;
    }
    CZarnelDcmt& dcmt = source.d.dcmt;
    const int slotsUsed = dcmt.GetSlotsUsed();
    const int couplings = CountAlive(source.d, ElmntKind::Connector);
    const int tubes = CountAlive(source.d, ElmntKind::Tube);
    const Revision before = source.d.Current();
    const size_t states = source.d.list.Size();
    SViewRecorder view;
    dcmt.AddObserver(view);

    int pasted = 0;
    EXPECT_TRUE(PasteText(dcmt, text, &pasted));
    dcmt.RemoveObserver(view);
    EXPECT_EQ(pasted, 2);
    EXPECT_EQ(source.d.Current(), before + 1);
    EXPECT_EQ(dcmt.GetSlotsUsed(), slotsUsed);
    EXPECT_EQ(CountAlive(source.d, ElmntKind::Tube), tubes + 2);
    EXPECT_EQ(CountAlive(source.d, ElmntKind::Connector), couplings);
    ASSERT_EQ(source.d.list.Size(), states + 2);
    for (size_t i = states; i < states + 2; ++i) {
        const CElmnt& e = *source.d.list.GetAt(i);
        EXPECT_EQ(e.kind, ElmntKind::Tube);
        EXPECT_TRUE(e.selected);
        EXPECT_TRUE(e.floating);
        EXPECT_EQ(e.firstRevision, before + 1);
        EXPECT_EQ(e.endRevision, RevisionOpen);
        EXPECT_EQ(e.GetMaterial(), 2);
    }
    EXPECT_EQ(source.d.list.GetAt(states)->placement, source.first->placement);
    EXPECT_EQ(view.hints, std::vector<ViewHint>{ViewHint::Insertion});
    EXPECT_TRUE(dcmt.IsModified());
    EXPECT_TRUE(TestUi().Boxes().empty());
}

// Pasting into another design: the default materials are found there, a material it lacks is
// added after its slots used, and pasting again finds it instead of adding it twice.
// Deselecting the pasted tubes links them where they are: the coupling between them and those
// at their far ends are made then.
TEST(ClipboardPaste, DeselectingLinksThePastedElements) {
    SCopySource source;
    source.SelectTubes();
    const std::string text = CopySelectionText(source.d.dcmt).value();

    TestDesign target;
    TestUi().Reset();
    ASSERT_TRUE(PasteText(target.dcmt, text));
    EXPECT_EQ(CountAlive(target, ElmntKind::Connector), 1); // the start coupling alone
    EXPECT_TRUE(target.dcmt.ClearSelection(TestDesign::CouplingMaterial, target.snapRadiusSq));
    // The start coupling takes the first tube; two more are made for the others' ends.
    EXPECT_EQ(CountAlive(target, ElmntKind::Connector), 3);
    for (CElmnt* tube : target.AliveOfKind(ElmntKind::Tube)) {
        EXPECT_FALSE(tube->floating);
        EXPECT_FALSE(tube->selected);
    }
    EXPECT_NE(target.CouplingAt({400, 0, 0}), nullptr);
    EXPECT_EQ(target.CouplingAt({400, 0, 0})->GetOccupiedArms(), 3u);
}

TEST(ClipboardPaste, IntoAnotherDesignMaterialsMatchedNotDuplicated) {
    SCopySource source;
    source.first->Select();
    source.wheel->Select();
    const std::string text = CopySelectionText(source.d.dcmt).value();

    TestDesign target;
    TestUi().Reset();
    ASSERT_EQ(target.dcmt.GetSlotsUsed(), 20);
    ASSERT_EQ(target.dcmt.GetMaterial(20), nullptr);
    ASSERT_TRUE(PasteText(target.dcmt, text));
    EXPECT_EQ(target.dcmt.GetSlotsUsed(), 21);
    ASSERT_NE(target.dcmt.GetMaterial(20), nullptr);
    EXPECT_EQ(target.dcmt.GetMaterial(20)->GetName(), "Holz");
    std::vector<CElmnt*> wheels = target.AliveOfKind(ElmntKind::MultiWheel);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(wheels[0]->GetMaterial(), 20);
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).at(0)->GetMaterial(), 2);

    ASSERT_TRUE(PasteText(target.dcmt, text));
    EXPECT_EQ(target.dcmt.GetSlotsUsed(), 21);
    wheels = target.AliveOfKind(ElmntKind::MultiWheel);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(wheels[1]->GetMaterial(), 20);
}

TEST(ClipboardPaste, MaterialOfAnotherSlotIsMappedToItsNewSlot) {
    TestDesign target;
    TestUi().Reset();
    const std::string text =
        "material3{57,\"Kork\", 2, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "material3{3,\"green\", 1, 0.,0.5,0.1, 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "panel2{57, {4., 0., 0., 0., 0., 0., 0.}, 1, 400., 0., 300., 0., 9, 12}\r\n"
        "tube2{3, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 9}\r\n"
        // No record for slot 5 in the text: the design's own slot 5 is taken.
        "tube2{5, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 9}\r\n"
        // Nor for slot 40, which the design leaves empty: its first material.
        "tube2{40, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 9}\r\n";
    ASSERT_TRUE(PasteText(target.dcmt, text));
    EXPECT_EQ(target.dcmt.GetMaterial(20)->GetName(), "Kork");
    const std::vector<CElmnt*> panels = target.AliveOfKind(ElmntKind::Panel);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0]->GetMaterial(), 20);
    const std::vector<CElmnt*> tubes = target.AliveOfKind(ElmntKind::Tube);
    ASSERT_EQ(tubes.size(), 3u);
    EXPECT_EQ(tubes[0]->GetMaterial(), 3);
    EXPECT_EQ(tubes[1]->GetMaterial(), 5);
    EXPECT_EQ(tubes[2]->GetMaterial(), 1);
}

TEST(ClipboardPaste, TextThatIsNoDesignText) {
    TestDesign target;
    TestUi().Reset();
    const Revision before = target.Current();
    const size_t states = target.list.Size();
    EXPECT_FALSE(PasteText(target.dcmt, "Einkaufsliste:\r\nRohre\r\n"));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text.rfind("Elementtypenbezeichnung erwartet\n", 0), 0u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("String: Clipboard, Zeile: 1,"), std::string::npos);
    EXPECT_EQ(target.Current(), before);
    EXPECT_EQ(target.list.Size(), states);
}

// A damaged record ends the paste: what arrived before it stays, and the parts table and the
// views are brought up to date all the same.
TEST(ClipboardPaste, FailurePartWayRecountsAndUpdatesTheViews) {
    TestDesign target;
    TestUi().Reset();
    target.dcmt.UpdatePartsList();
    const int partsBefore = PartCount(target.dcmt);
    SViewRecorder view;
    target.dcmt.AddObserver(view);
    const std::string text = "tube2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 9}\r\n"
                             "tube2{2, {4., 0., 0., 0., 400., 0., 0.}, 1, 350., 0., 9}\r\n"
                             "tube2{2, {4., 0., 0., 0., 800., 0., 0.}, 1, 350. 0., 9}\r\n";
    int pasted = 0;
    EXPECT_FALSE(PasteText(target.dcmt, text, &pasted));
    target.dcmt.RemoveObserver(view);
    EXPECT_EQ(pasted, 2);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("String: Clipboard, Zeile: 3,"), std::string::npos);
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).size(), 2u);
    EXPECT_EQ(PartCount(target.dcmt), partsBefore + 2);
    EXPECT_EQ(view.hints, std::vector<ViewHint>{ViewHint::Insertion});
}

TEST(ClipboardPaste, FullMaterialTableStopsBeforeTheElements) {
    TestDesign target;
    TestUi().Reset();
    ASSERT_TRUE(target.dcmt.SetMaterial(99, CMtrl::CreateDefault(1)));
    ASSERT_EQ(target.dcmt.GetSlotsUsed(), 100);
    target.dcmt.SetModified(false);
    const std::string text =
        "material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "material3{57,\"Kork\", 2, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "tube2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 9}\r\n";
    const Revision before = target.Current();
    int pasted = -1;
    EXPECT_FALSE(PasteText(target.dcmt, text, &pasted));
    EXPECT_EQ(pasted, 0);
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).size(), 0u);
    EXPECT_EQ(target.Current(), before);
    EXPECT_FALSE(target.dcmt.IsModified());
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(ClipboardPaste, MaterialsAddedBeforeAFailureStay) {
    TestDesign target;
    TestUi().Reset();
    target.dcmt.SetModified(false);
    const std::string text =
        "material3{57,\"Kork\", 2, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "tube2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0.}\r\n";
    EXPECT_FALSE(PasteText(target.dcmt, text));
    EXPECT_EQ(target.dcmt.GetMaterial(20)->GetName(), "Kork");
    EXPECT_TRUE(target.dcmt.IsModified());
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).size(), 0u);
}

// The original kept a megabyte for the text; a larger selection now goes through whole.
TEST(ClipboardPaste, TextLargerThanAMegabyte) {
    TestDesign source;
    const Revision r = source.NewRevision();
    for (int i = 0; i < 20000; ++i) {
        auto tube = std::make_unique<CElmnt>(source.ids, r, ElmntKind::Tube, 2, 350.0f, 0.0f);
        tube->Translate(400.0 * (i % 100) + 0.123456789, 0.0, 400.0 * (i / 100));
        tube->Select();
        source.list.Append(std::move(tube));
    }
    TestUi().Reset();
    const std::string text = CopySelectionText(source.dcmt).value();
    ASSERT_GT(text.size(), 1u << 20);

    TestDesign target;
    TestUi().Reset();
    int pasted = 0;
    ASSERT_TRUE(PasteText(target.dcmt, text, &pasted));
    EXPECT_EQ(pasted, 20000);
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).size(), 20000u);
}

TEST(ClipboardSeam, CopyAndPasteThroughTheUserInterface) {
    SCopySource source;
    source.SelectTubes();
    ASSERT_TRUE(source.d.dcmt.CopyToClipboard());
    EXPECT_EQ(TestUi().GetClipboardText().value(), CopySelectionText(source.d.dcmt).value());

    TestDesign target;
    TestUi().Reset();
    ASSERT_TRUE(TestUi().SetClipboardText(CopySelectionText(source.d.dcmt).value()));
    EXPECT_TRUE(target.dcmt.PasteFromClipboard());
    EXPECT_EQ(target.AliveOfKind(ElmntKind::Tube).size(), 2u);

    TestUi().SetClipboardAvailable(false);
    EXPECT_FALSE(source.d.dcmt.CopyToClipboard());
    const Revision before = target.Current();
    EXPECT_FALSE(target.dcmt.PasteFromClipboard());
    EXPECT_EQ(target.Current(), before);
}

// One allocation at a time fails, each point of a paste in turn (into a design with a redo
// branch, with a material to add): the paste is refused with the system's reason and the
// document is exactly as before, redo branch, materials and parts table included; once memory
// is back the same paste arrives.
TEST(ClipboardPaste, MemoryThatRunsOutLeavesTheDocumentAsItWas) {
    SCopySource source;
    source.first->Select();
    source.wheel->Select();
    const std::string text = CopySelectionText(source.d.dcmt).value();
    auto target = [] {
        auto d = std::make_unique<TestDesign>();
        d->Place(*d->start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusY);
        d->Undo();
        TestUi().Reset();
        return d;
    };
    std::string pastedState;
    {
        std::unique_ptr<TestDesign> d = target();
        ASSERT_TRUE(PasteText(d->dcmt, text));
        pastedState = DescribeDocument(d->dcmt);
    }
    int refusals = 0;
    for (int letThrough = 0;; ++letThrough) {
        SCOPED_TRACE(letThrough);
        std::unique_ptr<TestDesign> d = target();
        const std::string before = DescribeDocument(d->dcmt);
        int pasted = -1;
        ArmFailingAllocations(1, letThrough, 1);
        const bool done = PasteText(d->dcmt, text, &pasted);
        const bool failed = DisarmFailingAllocations();
        if (done) { // no failure, or one that was got round (a sort without its buffer)
            EXPECT_EQ(pasted, 2);
            EXPECT_EQ(DescribeDocument(d->dcmt), pastedState);
            if (!failed) {
                break;
            }
            continue;
        }
        ++refusals;
        EXPECT_EQ(pasted, 0);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text,
                  "Der Inhalt der Zwischenablage konnte nicht eingefügt werden.\n" +
                      OutOfMemoryReason());
        EXPECT_EQ(DescribeDocument(d->dcmt), before);
        EXPECT_TRUE(d->dcmt.CanRedo());
    }
    EXPECT_GE(refusals, 20);
}
