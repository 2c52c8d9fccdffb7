// The design file under the conditions a user's disk brings: a save, load and save again gives
// the same bytes; what is no design file (a pipe, a folder, a file beyond the limit, one that
// memory cannot hold, also while it is taken over, a rotation that is none) is refused with the
// reader's report and the open design kept; memory that runs out in a save is its reason;
// saving follows links, keeps the file's mode and owner, refuses a read-only file and clears
// away the leftovers of a save that was killed.
#include <sys/file.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/Clipboard.h"
#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"
#include "support/File.h"
#include "support/Messages.h"
#include "support/Orientation.h"
#include "tests/harness/FailingAllocation.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr int32_t kCouplingMaterial = 11;

std::unique_ptr<CZarnelDcmt> NewDocument() {
    auto dcmt = std::make_unique<CZarnelDcmt>();
    TestUi().Reset();
    return dcmt;
}

std::string Text(const CZarnelDcmt& dcmt) {
    return WriteDesignText(dcmt).value_or("(none)");
}

// The design of the file benchmark: 10,000 tubes at positions with fraction digits, placed in
// 100 revisions, then 900 revisions each moving 10 of them (about 19,000 element states).
std::unique_ptr<CZarnelDcmt> LargeDesign() {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(-0.5, 0.5);
    std::vector<CElmnt*> tubes;
    for (int rev = 0; rev < 100; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < 100; ++i) {
            auto tube =
                std::make_unique<CElmnt>(dcmt->GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f);
            tube->Translate(400.0 * i + offset(random), offset(random), 400.0 * rev);
            tubes.push_back(&dcmt->AddElement(std::move(tube)));
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, tubes.size() - 1);
    for (int rev = 100; rev < 1000; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < 10; ++i) {
            CElmnt& tube = *tubes[pick(random)];
            tube.BeginChange(r, dcmt->GetElmntList(), 1);
            tube.Translate(0.0, 400.0, 0.0);
        }
    }
    return dcmt;
}

// Placements and sizes that are hard to write: turned by odd angles (and by almost nothing,
// whose rotation components round to zero), far out, tiny negative, negative zero.
void AddAwkwardElements(CZarnelDcmt& dcmt) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> angle(-180.0, 180.0);
    std::uniform_real_distribution<double> far(-1e6, 1e6);
    const Revision r = dcmt.NewRevision();
    for (int i = 0; i < 200; ++i) {
        auto panel =
            std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::Panel, 6, 350.0f, 351.7f);
        panel->placement.RotateDeg(i == 0 ? 1e-9 : angle(random), i % 3, (i + 1) % 3);
        panel->placement.RotateDeg(angle(random), 0, 2);
        panel->Translate(far(random), -1e-14, far(random) * 1e-6);
        if (i % 2 == 0) {
            panel->placement.translation.y = -0.0;
        }
        panel->correction = -1e-13f;
        panel->secondCorrection = static_cast<float>(angle(random) / 7.0);
        dcmt.AddElement(std::move(panel));
    }
}

// Saved, loaded and saved again: the second text is the first.
void ExpectSettles(const CZarnelDcmt& dcmt) {
    const std::string first = Text(dcmt);
    std::unique_ptr<CZarnelDcmt> loaded = NewDocument();
    ASSERT_TRUE(LoadDesignText(*loaded, first, "Design"));
    const std::string second = Text(*loaded);
    const size_t at =
        std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first -
        first.begin();
    EXPECT_EQ(at, first.size()) << "from: " << first.substr(first.rfind('\n', at) + 1, 100);
    EXPECT_EQ(second.size(), first.size());
}

// A refused file: one report that the source could not be opened, naming it; the open design
// stays as it was.
void ExpectRefused(const std::string& path) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    const std::string before = Text(*dcmt);
    EXPECT_FALSE(LoadDesignFile(*dcmt, path));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const std::string& report = TestUi().Boxes()[0].text;
    EXPECT_NE(report.find("Lesefehler: "), std::string::npos) << report;
    EXPECT_NE(report.find(std::filesystem::path(path).filename().string()), std::string::npos)
        << report;
    EXPECT_EQ(Text(*dcmt), before);
    TestUi().Reset();
}

// Runs call while allocations of 16 KiB and more fail once letThrough of them went through.
template <class Call> bool WithLargeBlocksFailing(int letThrough, Call call) {
    return WithAllocationsFailing(16 * 1024, letThrough, INT_MAX, call);
}

std::string SaveReport(const std::string& path, int errorNumber) {
    return "Fehler beim Speichern des Dokuments.\n" + path + "\n" + std::strerror(errorNumber);
}

} // namespace

TEST(DesignFileRoundTrip, SaveLoadSaveGivesTheSameBytes) {
    std::unique_ptr<CZarnelDcmt> large = LargeDesign();
    ExpectSettles(*large);
    AddAwkwardElements(*large);
    ExpectSettles(*large);
}

TEST(DesignFileRefusal, PipesFoldersDevicesAndFilesBeyondTheLimit) {
    TempFolder folder;
    const std::string pipe = folder.File("pipe.zdf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ExpectRefused(pipe); // at once: nobody ever writes into it
    ExpectRefused(folder.Path());
    ExpectRefused("/dev/zero");

    // Sparse: the size is there without the bytes.
    const std::string large = folder.File("large.zdf");
    const int descriptor = open(large.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(ftruncate(descriptor, kMaxTextFileBytes + 1), 0);
    close(descriptor);
    ExpectRefused(large);
}

TEST(DesignFileRefusal, ARotationThatIsNoneIsRefusedAtItsLine) {
    // A quaternion of any length but 0 is the rotation it points to, also one of the largest
    // values a double holds (line 2); one of length 0 is none (line 3).
    const std::string huge = "1" + std::string(308, '0') + ".";
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    const std::string before = Text(*dcmt);
    EXPECT_FALSE(LoadDesignText(*dcmt,
                                "1, 1;\r\ntube2{11, {" + huge + ", " + huge + ", " + huge + ", -" +
                                    huge + ", 0., 0., 0.}, 1, 350., 0., 1}\r\n" +
                                    "tube2{11, {0., -0., 0., 0., 0., 0., 0.}, 1, 350., 0., 1}\r\n",
                                "Design"));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("Zeile: 3"), std::string::npos);
    EXPECT_EQ(Text(*dcmt), before);
}

TEST(DesignFileRefusal, MemoryThatRunsOutRefusesTheFile) {
    TempFolder folder;
    std::unique_ptr<CZarnelDcmt> design = NewDocument();
    AddAwkwardElements(*design);
    const Revision r = design->NewRevision();
    for (int i = 0; i < 3000; ++i) {
        auto tube =
            std::make_unique<CElmnt>(design->GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f);
        tube->Translate(400.0 * i, 0.0, 0.0);
        design->AddElement(std::move(tube));
    }
    const std::string path = folder.File("design.zdf");
    ASSERT_TRUE(SaveDesignFile(*design, path, kCouplingMaterial, CouplingSnap::NormalSq));
    const std::string text = Text(*design);

    // Large blocks fail from the first, the second, ... on: the file's bytes, their decoding,
    // the growing lists of what was read, the document's new list and parts table. Each
    // failure is a refusal, never a crash, until the load gets through.
    int refusals = 0;
    for (int letThrough = 0;; ++letThrough) {
        SCOPED_TRACE(letThrough);
        std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
        const std::string before = Text(*dcmt);
        if (WithLargeBlocksFailing(letThrough, [&] { return LoadDesignFile(*dcmt, path); })) {
            EXPECT_EQ(Text(*dcmt), text);
            break;
        }
        ++refusals;
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_NE(TestUi().Boxes()[0].text.find("Lesefehler: "), std::string::npos);
        EXPECT_EQ(Text(*dcmt), before);
    }
    EXPECT_GE(refusals, 4);

    // A window that runs out of memory while it takes the new design in: the open design comes
    // back, unmodified as it was, and the windows are told of it again.
    struct SFailingView final : CDcmtObserver {
        int updates = 0;
        void OnUpdate(ViewHint) override {
            if (updates++ == 0) {
                throw std::bad_alloc();
            }
        }
    } view;
    std::unique_ptr<CZarnelDcmt> dcmt = LargeDesign();
    dcmt->SetModified(false);
    const std::string open = Text(*dcmt);
    dcmt->AddObserver(view);
    EXPECT_FALSE(LoadDesignFile(*dcmt, path));
    EXPECT_EQ(view.updates, 2);
    EXPECT_EQ(Text(*dcmt), open);
    EXPECT_FALSE(dcmt->IsModified());
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
}

// One allocation at a time fails, each point of a load through the document in turn (the
// reader's own buffers and the new path name included): the load is refused with a report that
// names the want of memory and the system's reason, and the open design is as it was, its path
// included; once memory is back the design arrives under the new path.
TEST(DesignFileRefusal, MemoryThatRunsOutAtAnyPointOfALoadIsARefusalThatSaysSo) {
    TempFolder folder;
    std::unique_ptr<CZarnelDcmt> design = NewDocument();
    for (int i = 0; i < 2; ++i) {
        auto tube = std::make_unique<CElmnt>(design->GetIdSource(), design->NewRevision(),
                                             ElmntKind::Tube, 2, 350.0f, 0.0f);
        tube->Translate(400.0 * i, 0.0, 0.0);
        design->AddElement(std::move(tube));
    }
    const std::string path = folder.File("small.zdf");
    ASSERT_TRUE(SaveDesignFile(*design, path, kCouplingMaterial, CouplingSnap::NormalSq));
    const std::string text = Text(*design);

    int refusals = 0;
    for (int letThrough = 0;; ++letThrough) {
        SCOPED_TRACE(letThrough);
        std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
        dcmt->SetPathName("open.zdf");
        const std::string before = Text(*dcmt);
        bool loaded = false;
        ArmFailingAllocations(1, letThrough, 1);
        try {
            loaded = dcmt->LoadFile(path);
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << "the load let the failure through";
        }
        const bool failed = DisarmFailingAllocations();
        if (loaded) {
            EXPECT_EQ(Text(*dcmt), text);
            EXPECT_EQ(dcmt->GetPathName(), path);
            if (!failed) {
                break;
            }
            continue;
        }
        ++refusals;
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        const std::string& report = TestUi().Boxes()[0].text;
        EXPECT_EQ(report.rfind("Nicht genug Arbeitsspeicher: ", 0), 0u) << report;
        EXPECT_NE(report.find(OutOfMemoryReason()), std::string::npos) << report;
        EXPECT_EQ(Text(*dcmt), before);
        EXPECT_EQ(dcmt->GetPathName(), "open.zdf");
    }
    EXPECT_GE(refusals, 20);
}

TEST(DesignFileSave, MemoryThatRunsOutIsTheSavesReasonAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.Write("d.zdf", "old");
    std::unique_ptr<CZarnelDcmt> dcmt = LargeDesign();
    int letThrough = 0;
    while (!WithLargeBlocksFailing(letThrough, [&] {
        return SaveDesignFile(*dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq);
    })) {
        ASSERT_EQ(TestUi().Boxes().size(), 1u) << letThrough;
        EXPECT_EQ(TestUi().Boxes()[0].text, SaveReport(path, ENOMEM));
        EXPECT_EQ(TempFolder::Read(path), "old");
        TestUi().Reset();
        ++letThrough;
    }
    EXPECT_GE(letThrough, 2);
    EXPECT_EQ(TempFolder::Read(path), Text(*dcmt));
}

// Two tubes pasted into a new design, floating: the save links them, taking the start coupling
// (a history state and arms changed in place) and making two couplings.
std::unique_ptr<TestDesign> WithFloatingTubes() {
    TestDesign source;
    CElmnt* first =
        source.Place(*source.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    CElmnt* second = source.Place(*source.CouplingAt({400, 0, 0}), ToolMode::AtConnection,
                                  ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    first->Select();
    second->Select();
    auto target = std::make_unique<TestDesign>();
    EXPECT_TRUE(PasteText(target->dcmt, CopySelectionText(source.dcmt).value()));
    TestUi().Reset();
    return target;
}

// One allocation at a time fails, each point of the save in turn: the save is refused with
// the reason, and the design is either as it was (a failure while linking or recounting) or
// completely linked (a failure while the file is written), never linked in part.
TEST(DesignFileSave, MemoryThatRunsOutWhileFloatingElementsAreLinkedLeavesThemAsTheyWere) {
    TempFolder folder;
    const std::string path = folder.Write("d.zdf", "old");
    const std::string before = DescribeDocument(WithFloatingTubes()->dcmt);
    std::unique_ptr<TestDesign> linked = WithFloatingTubes();
    ASSERT_TRUE(linked->dcmt.FinishFloating(kCouplingMaterial, CouplingSnap::NormalSq));
    ASSERT_EQ(linked->AliveOfKind(ElmntKind::Connector).size(), 3u);
    const std::string after = DescribeDocument(linked->dcmt);

    int refusals = 0;
    for (int letThrough = 0;; ++letThrough) {
        SCOPED_TRACE(letThrough);
        std::unique_ptr<TestDesign> d = WithFloatingTubes();
        ArmFailingAllocations(1, letThrough, 1);
        const bool saved = SaveDesignFile(d->dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq);
        const bool failed = DisarmFailingAllocations();
        if (saved) {
            EXPECT_EQ(TempFolder::Read(path), Text(d->dcmt));
            if (!failed) {
                break; // the save got through without a failure: every point was tried
            }
            folder.Write("d.zdf", "old");
            continue;
        }
        ++refusals;
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, SaveReport(path, ENOMEM));
        EXPECT_EQ(TempFolder::Read(path), "old");
        const std::string state = DescribeDocument(d->dcmt);
        EXPECT_TRUE(state == before || state == after) << state;
        TestUi().Reset();
    }
    EXPECT_GE(refusals, 20);
}

TEST(DesignFileSave, ThroughALinkTheTargetIsReplacedWithItsModeAndOwner) {
    TempFolder folder;
    const std::string target = folder.Write("real.zdf", "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const bool privileged = geteuid() == 0;
    if (privileged) {
        ASSERT_EQ(chown(target.c_str(), 4321, 4322), 0);
    }
    const std::string link = folder.File("link.zdf");
    ASSERT_EQ(symlink("real.zdf", link.c_str()), 0);

    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    ASSERT_TRUE(SaveDesignFile(*dcmt, link, kCouplingMaterial, CouplingSnap::NormalSq));
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), "real.zdf");
    EXPECT_EQ(TempFolder::Read(target), Text(*dcmt));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (privileged) {
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(DesignFileSave, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReason) {
    TempFolder folder;
    const std::string path = folder.Write("locked.zdf", "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    dcmt->NewRevision();
    EXPECT_FALSE(SaveDesignFile(*dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, SaveReport(path, EACCES));
    EXPECT_EQ(TempFolder::Read(path), "old");
    EXPECT_TRUE(dcmt->IsModified());
}

TEST(DesignFileSave, LeftoversOfKilledSavesGoWithTheNextSave) {
    TempFolder folder;
    const std::string path = folder.Write("d.zdf", "old");
    const std::string stale = folder.Write("d.zdf.zarnel-save-a1B2c3", "half a design");
    const std::string held = folder.Write("d.zdf.zarnel-save-HeLd01", "being written");
    const std::string other = folder.Write("e.zdf.zarnel-save-a1B2c3", "another design's");
    const std::string unlike = folder.Write("d.zdf.zarnel-save-a1B2c3d", "not one of ours");
    // A save that is still running holds its file locked.
    const int running = open(held.c_str(), O_RDONLY);
    ASSERT_GE(running, 0);
    ASSERT_EQ(flock(running, LOCK_EX), 0);

    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    ASSERT_TRUE(SaveDesignFile(*dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq));
    close(running);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_TRUE(std::filesystem::exists(unlike));
    EXPECT_EQ(TempFolder::Read(path), Text(*dcmt));
}
