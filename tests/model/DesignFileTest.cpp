// The design file: the exact text of a new design, round trips of whole histories, what loading
// adds and keeps, every damaged file refused with the reader's report and the document left as
// it was, and saves that fail without touching the old file.
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Clipboard.h"
#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/FileWrite.h"
#include "support/Matrix3.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr const char* kNewDesign =
    "0, 0;\r\n"
    "material3{1,\"black\", 1, 1.,1.,1., 0.,0.,1.,7.5, 0.,0.,0.,7.5, \"\", 0}\r\n"
    "material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{3,\"green\", 1, 0.,0.5,0.1, 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{4,\"blue\", 1, 0.,0.,1., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{5,\"yellow\", 1, 1.,1.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{6,\"red\", 2, 1.,0.,0., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\r\n"
    "material3{7,\"green\", 2, 0.,0.5,0.1, 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\r\n"
    "material3{8,\"blue\", 2, 0.,0.,1., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\r\n"
    "material3{9,\"yellow\", 2, 1.,1.,0., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\r\n"
    "material3{10,\"mirror\", 2, 0.8,0.8,0.8, 1.,0.,0.,7.5, 0.,0.3,0.5,7.5, \"\", 0}\r\n"
    "material3{11,\"alu\", 1, 0.8,0.8,0.8, 0.5,0.4,0.7,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{12,\"black\", 2, 1.,1.,1., 0.,0.,0.5,7.5, 0.,0.,0.5,7.5, \"\", 0}\r\n"
    "material3{13,\"white\", 1, 1.,1.,1., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
    "material3{14,\"white\", 2, 1.,1.,1., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\r\n"
    "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
    "1.000000, 40.000000, 0, 1.000000, 1.000000}\r\n"
    "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
    "1.000000, 40.000000, 0, 1.000000, 1.000000}\r\n"
    "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
    "1.000000, 40.000000, 0, 1.000000, 1.000000}\r\n"
    "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
    "1.000000, 40.000000, 0, 1.000000, 1.000000}\r\n"
    "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 0, 63, 4095, 0}\r\n";

// The head of a file up to its element records: header, the fourteen materials and the cameras.
std::string HeadOf(const std::string& text, const std::string& header) {
    const size_t firstElement = text.find("connector3{");
    const size_t afterHeader = text.find("\r\n") + 2;
    return header + "\r\n" + text.substr(afterHeader, firstElement - afterHeader);
}

std::string NewDesignHead(const std::string& header = "0, 0;") {
    return HeadOf(kNewDesign, header);
}

// A new document, with the boxes of its default lists out of the way.
std::unique_ptr<CZarnelDcmt> NewDocument() {
    auto dcmt = std::make_unique<CZarnelDcmt>();
    TestUi().Reset();
    return dcmt;
}

std::string Text(const CZarnelDcmt& dcmt) {
    std::optional<std::string> text = WriteDesignText(dcmt);
    EXPECT_TRUE(text.has_value());
    return text.value_or("");
}

CElmnt& Place(CZarnelDcmt& dcmt, ElmntKind kind, double x, float length = 350.0f) {
    Revision r = dcmt.NewRevision();
    auto elmnt = std::make_unique<CElmnt>(dcmt.GetIdSource(), r, kind, 2, length, 0.0f);
    elmnt->placement.translation = {x, 0.0, 25.0};
    return dcmt.AddElement(std::move(elmnt));
}

// One line per state alive at r, in list order: what the user sees at that revision.
std::vector<std::string> AliveAt(const CZarnelDcmt& dcmt, Revision r) {
    std::vector<std::string> alive;
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        if (elmnt.IsAliveAt(r) && elmnt.kind != ElmntKind::FloorGrid) {
            std::string line;
            CFileWrite writer;
            writer.OpenBuffer(nullptr, 0, "state", 0, 0);
            writer.SetCallback([&line](int c) {
                line += static_cast<char>(c);
                return 0;
            });
            // The interval differs between an original and a copy; what is drawn does not.
            CElmnt copy(elmnt);
            copy.firstRevision = 0;
            copy.endRevision = RevisionOpen;
            copy.WriteElement(writer);
            alive.push_back(line);
        }
    }
    return alive;
}

int CountFloorGrids(const CZarnelDcmt& dcmt) {
    int count = 0;
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        if (elmnt.kind == ElmntKind::FloorGrid) {
            ++count;
            EXPECT_EQ(elmnt.firstRevision, 0u);
            EXPECT_EQ(elmnt.endRevision, RevisionOpen);
        }
    }
    return count;
}

// Loading text into a fresh document.
struct SLoaded {
    std::unique_ptr<CZarnelDcmt> dcmt;
    bool ok = false;
};

SLoaded Load(const std::string& text) {
    SLoaded loaded{NewDocument(), false};
    loaded.ok = LoadDesignText(*loaded.dcmt, text, "Design");
    return loaded;
}

} // namespace

TEST(DesignFileWrite, NewDocumentByteExact) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    EXPECT_EQ(Text(*dcmt), kNewDesign);
}

TEST(DesignFileWrite, LocaleFreeNumbersAndEndRevisions) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    CElmnt& tube = Place(*dcmt, ElmntKind::Tube, 1234.5, 437.25f);
    tube.correction = -0.125f;
    tube.endRevision = 7;
    const std::string text = Text(*dcmt);
    EXPECT_EQ(text.substr(0, 6), "1, 1;\r");
    EXPECT_NE(text.find("\r\ntube2{2, {4., 0., 0., 0., 1234.5, 0., 25.}, 1, 437.25, -0.125, 1, "
                        "7}\r\n"),
              std::string::npos)
        << text;
}

TEST(DesignFileWrite, FloatingStatesAndTheFloorGridAreNotWritten) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    Place(*dcmt, ElmntKind::Slide, 0.0).floating = true;
    Place(*dcmt, ElmntKind::Bag, 0.0);
    const std::string text = Text(*dcmt);
    EXPECT_EQ(text.find("slide2{"), std::string::npos);
    EXPECT_NE(text.find("bag2{"), std::string::npos);
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(CountFloorGrids(*loaded.dcmt), 1);
}

// Pasted elements float until they are deselected; a save finishes them first, so the file
// holds them, linked to couplings, and nothing pasted is lost.
TEST(DesignFileSave, FloatingElementsAreFinishedFirst) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    ASSERT_TRUE(PasteText(*dcmt, "tube2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 0}\r\n"));
    const CElmnt* tube = dcmt->GetElmntList().GetTail();
    ASSERT_TRUE(tube->floating);
    EXPECT_EQ(WriteDesignText(*dcmt).value().find("tube2{"), std::string::npos);

    const std::string text = SaveDesignText(*dcmt, 1, CouplingSnap::NormalSq).value();
    EXPECT_FALSE(tube->floating);
    EXPECT_FALSE(tube->selected);
    EXPECT_NE(text.find("\r\ntube2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 1}\r\n"),
              std::string::npos);
    // The start coupling holds it on +X, and a new coupling at its far end on -X.
    EXPECT_NE(text.find("\r\nconnector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 1, 62, 4095, 1}"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\nconnector3{1, {4., 0., 0., 0., 400., 0., 0.}, 1, 0, 2, 61, 4095, 1}"),
              std::string::npos)
        << text;

    TempFolder folder;
    ASSERT_TRUE(PasteText(*dcmt, "slide2{6, {4., 0., 0., 0., 0., 0., 900.}, 1, 0}\r\n"));
    ASSERT_TRUE(dcmt->SaveFile(folder.File("Entwurf.zdf"), 1, CouplingSnap::NormalSq));
    EXPECT_NE(TempFolder::Read(folder.File("Entwurf.zdf")).find("\r\nslide2{6, "),
              std::string::npos);
    EXPECT_EQ(dcmt->GetPathName(), folder.File("Entwurf.zdf"));
}

TEST(DesignFileRoundTrip, NewDocument) {
    SLoaded loaded = Load(kNewDesign);
    ASSERT_TRUE(loaded.ok);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(Text(*loaded.dcmt), kNewDesign);
    // The floor grid comes first, then the records in file order; nothing else is added.
    ASSERT_EQ(loaded.dcmt->GetElmntList().Size(), 2u);
    EXPECT_EQ(loaded.dcmt->GetElmntList().GetHead()->kind, ElmntKind::FloorGrid);
    EXPECT_EQ(loaded.dcmt->GetElmntList().GetTail()->kind, ElmntKind::Connector);
    EXPECT_FALSE(loaded.dcmt->IsModified());
}

// Place, undo, place again (which cuts the first placement away), delete: every revision shows
// the same states after saving and loading.
TEST(DesignFileRoundTrip, WholeHistory) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    Place(*dcmt, ElmntKind::Tube, 100.0);
    dcmt->OnEditUndo(1, CouplingSnap::NormalSq);
    Place(*dcmt, ElmntKind::Panel, 200.0);
    CElmnt& tube = Place(*dcmt, ElmntKind::Tube, 300.0, 500.0f);
    Place(*dcmt, ElmntKind::HoleConnector, 400.0).turnVariant = 3;
    const Revision deletion = dcmt->NewRevision();
    tube.endRevision = deletion;
    dcmt->OnEditUndo(1, CouplingSnap::NormalSq);
    ASSERT_EQ(dcmt->GetCurrentRevision(), 3u);
    ASSERT_EQ(dcmt->GetNewestRevision(), 4u);

    const std::string text = Text(*dcmt);
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.dcmt->GetCurrentRevision(), 3u);
    EXPECT_EQ(loaded.dcmt->GetNewestRevision(), 4u);
    EXPECT_TRUE(loaded.dcmt->CanUndo());
    EXPECT_TRUE(loaded.dcmt->CanRedo());
    for (Revision r = 0; r <= 4; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(AliveAt(*loaded.dcmt, r), AliveAt(*dcmt, r));
    }
    EXPECT_EQ(AliveAt(*loaded.dcmt, 4).size(), 3u);
    EXPECT_EQ(AliveAt(*loaded.dcmt, 3).size(), 4u);
    EXPECT_EQ(Text(*loaded.dcmt), text);
}

TEST(DesignFileRoundTrip, EveryKindAndItsFields) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    double x = 0.0;
    for (const SKindInfo& info : GetKindCatalogue()) {
        if (info.writeVersion == 0) {
            continue;
        }
        CElmnt& elmnt = Place(*dcmt, info.kind, x += 10.0, 600.0f);
        elmnt.secondSize = 450.0f;
        elmnt.correction = 1.5f;
        elmnt.secondCorrection = -2.5f;
        elmnt.turnVariant = 1;
        elmnt.fixed = false;
        elmnt.placement.rotation = CMatrix3::FromColumns({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
        elmnt.SetDirections(4);
        elmnt.SetOccupiedArms(1);
        elmnt.SetFreeArms(62);
        elmnt.SetFreeCornerSlots(0x7FF);
    }
    const std::string text = Text(*dcmt);
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(Text(*loaded.dcmt), text);
    EXPECT_EQ(AliveAt(*loaded.dcmt, dcmt->GetCurrentRevision()),
              AliveAt(*dcmt, dcmt->GetCurrentRevision()));
}

TEST(DesignFileLoad, MaterialsAndCamerasTheFileDoesNotName) {
    const std::string text =
        "0, 0;\r\n"
        "material3{2,\"Holz\", 3, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "material3{30,\"Kork\", 2, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "camera2{500, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
        "1.000000, 40.000000, 0, 1.000000, 1.000000}\r\n";
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    CZarnelDcmt& dcmt = *loaded.dcmt;
    ASSERT_NE(dcmt.GetMaterial(2), nullptr);
    EXPECT_EQ(dcmt.GetMaterial(2)->GetName(), "Holz");
    EXPECT_EQ(dcmt.GetMaterial(2)->GetSlot(), 2);
    ASSERT_NE(dcmt.GetMaterial(3), nullptr);
    EXPECT_EQ(dcmt.GetMaterial(3)->GetName(), "grün"); // a default the file did not replace
    EXPECT_EQ(dcmt.GetMaterial(30)->GetName(), "Kork");
    EXPECT_EQ(dcmt.GetSlotsUsed(), 31);
    EXPECT_EQ(dcmt.GetCamera(0).cameraDistance, 500);
    EXPECT_EQ(dcmt.GetCamera(1).cameraDistance, 320);
    // No start coupling on loading: the file has no element.
    ASSERT_EQ(dcmt.GetElmntList().Size(), 1u);
    EXPECT_EQ(CountFloorGrids(dcmt), 1);
}

// Other writers may name slots beyond the table: such a record is skipped, the rest loads.
TEST(DesignFileLoad, MaterialSlotsBeyondTheTableAreIgnored) {
    const std::string text =
        "0, 0;\r\n"
        "material3{100,\"Fremd\", 3, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "material3{21,\"Kork\", 2, 0.5,0.25,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\r\n"
        "material3{4000000,\"Fremd\", 3, 0.,0.,0., 0.,0.,0.,0., 0.,0.,0.,0., \"\", 0}\r\n"
        "tube2{21, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 0}\r\n";
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_TRUE(TestUi().Boxes().empty());
    CZarnelDcmt& dcmt = *loaded.dcmt;
    ASSERT_NE(dcmt.GetMaterial(21), nullptr);
    EXPECT_EQ(dcmt.GetMaterial(21)->GetName(), "Kork");
    EXPECT_EQ(dcmt.GetSlotsUsed(), 22);
    ASSERT_EQ(dcmt.GetElmntList().Size(), 2u);
    EXPECT_EQ(dcmt.GetElmntList().GetTail()->GetMaterial(), 21);
}

TEST(DesignFileLoad, TokensMayBeSpreadOverLines) {
    SLoaded loaded = Load("\n 2 ,\n 5\n ;\n"
                          "tube2{1,{4.,0.,0.,0.,0.,0.,0.}\n,\n1,\n350.,\n0.,\n1,\n4}");
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.dcmt->GetCurrentRevision(), 2u);
    ASSERT_EQ(loaded.dcmt->GetElmntList().Size(), 2u);
    EXPECT_EQ(loaded.dcmt->GetElmntList().GetTail()->endRevision, 4u);
}

TEST(DesignFileLoad, WindowsTextIsDecoded) {
    // "weiß" as Windows-1252 bytes.
    const std::string text = "0, 0;\r\nmaterial3{2,\"wei\xDF\", 3, 0.5,0.25,0., 0.5,1.,1.,7.5, "
                             "0.3,0.,0.,7.5, \"\", 0}\r\n";
    SLoaded loaded = Load(text);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.dcmt->GetMaterial(2)->GetName(), "weiß");
}

TEST(DesignFileLoad, FromAFileAndBack) {
    TempFolder folder;
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    Place(*dcmt, ElmntKind::Tube, 50.0);
    const std::string path = folder.File("Entwurf.zdf");
    ASSERT_TRUE(SaveDesignFile(*dcmt, path, 1, CouplingSnap::NormalSq));
    EXPECT_FALSE(dcmt->IsModified());
    EXPECT_EQ(TempFolder::Read(path), Text(*dcmt));

    std::unique_ptr<CZarnelDcmt> other = NewDocument();
    ASSERT_TRUE(LoadDesignFile(*other, path));
    EXPECT_EQ(Text(*other), Text(*dcmt));
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DesignFileLoad, MissingFileIsReported) {
    TempFolder folder;
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    EXPECT_FALSE(LoadDesignFile(*dcmt, folder.File("fehlt.zdf")));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("Quelle konnte nicht geöffnet werden"),
              std::string::npos);
    EXPECT_EQ(Text(*dcmt), kNewDesign);
}

// Every file that cannot be read completely is refused with one report naming the source and
// the line, and the document keeps what it had.
TEST(DesignFileDamaged, RefusedWithSourceAndLine) {
    const std::string head = NewDesignHead();
    const std::string tube = "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 0}\r\n";
    const std::string camera = "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, "
                               "40, 33, 3000, 10, 10, 1.000000, 40.000000, 0, 1.000000, 1.000000}"
                               "\r\n";
    struct Row {
        const char* what;
        std::string text;
        std::string message;
        int line;
    };
    const std::string range = "Lesefehler: Wert liegt außerhalb des zulässigend Bereichs !\n";
    const std::string format = "Lesefehler: Formatfehler !\n";
    const Row rows[] = {
        {"unknown keyword", head + tube + "rohr2{1, 2}\r\n" + tube,
         "Elementtypenbezeichnung erwartet\n", 21},
        {"fifth camera", NewDesignHead() + camera + tube, "Elementtypenbezeichnung erwartet\n", 20},
        {"old tube", head + "tube1{1, 3, 0, 0, 0, 350, 0, 0}\r\n",
         "Fehler bei Konvertierung vom alten Datenformat 1!\n", 20},
        {"old panel", head + tube + "panel1{1, 7, 0, 0, 0, 350, 300, 0}\r\n",
         "Fehler bei Konvertierung vom alten Datenformat 2!\n", 21},
        {"missing comma", head + "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 350. 0., 0}\r\n",
         format, 20},
        {"decimal comma", head + "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 350,5, 0., 0}\r\n",
         format, 20},
        {"cut off", head + "tube2{1, {4., 0., 0., 0., 0., 0.", "Lesefehler: ", 20},
        {"header", "0; 0;\r\n", format, 1},
        {"material record slot negative",
         "0, 0;\r\nmaterial3{-1,\"x\", 3, 0.,0.,0., "
         "0.,0.,0.,0., 0.,0.,0.,0., \"\", 0}\r\n",
         range, 2},
        {"element material", head + "tube2{100, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 0}",
         range, 20},
        {"arm mask", head + "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 64, 63, 4095, 0}",
         range, 20},
        {"direction mask",
         head + "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 65, 0, 63, 4095, 0}", range, 20},
        {"corner slots", head + "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 0, 63, 4096, 0}",
         range, 20},
        {"current above newest", "3, 2;\r\n", range, 1},
        {"newest at the open end", "0, 4294967295;\r\n", range, 1},
        {"state after the newest",
         HeadOf(kNewDesign, "1, 2;") + tube +
             "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 3}",
         range, 21},
        {"infinite placement",
         head + "tube2{1, {4., 0., 0., 0., 1" + std::string(400, '0') + ", 0., 0.}, 1, 0., 0., 0}",
         range, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
        Place(*dcmt, ElmntKind::Tube, 10.0);
        const std::string before = Text(*dcmt);
        dcmt->SetModified(false);

        EXPECT_FALSE(LoadDesignText(*dcmt, row.text, "Design"));
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        const RecordedBox& box = TestUi().Boxes()[0];
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text.rfind(row.message, 0), 0u) << box.text;
        EXPECT_NE(box.text.find("String: Design, Zeile: " + std::to_string(row.line) + ","),
                  std::string::npos)
            << box.text;
        EXPECT_EQ(Text(*dcmt), before);
        EXPECT_FALSE(dcmt->IsModified());
    }
}

TEST(DesignFileDamaged, ReportNamesTheFile) {
    TempFolder folder;
    const std::string path =
        folder.Write("kaputt.zdf", NewDesignHead() + "tube2{1, {4., 0., 0., 0., 0., 0., 0.}}\r\n");
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    EXPECT_FALSE(LoadDesignFile(*dcmt, path));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("Datei: " + path + ", Zeile: 20,"), std::string::npos)
        << TestUi().Boxes()[0].text;
    EXPECT_EQ(Text(*dcmt), kNewDesign);
}

TEST(DesignFileSave, NonFiniteValueFailsAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.Write("alt.zdf", "the old design");
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    Place(*dcmt, ElmntKind::Tube, std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(WriteDesignText(*dcmt).has_value());
    EXPECT_FALSE(SaveDesignFile(*dcmt, path, 1, CouplingSnap::NormalSq));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text.rfind("Fehler beim Speichern des Dokuments.\n" + path, 0),
              0u);
    EXPECT_EQ(TempFolder::Read(path), "the old design");
    EXPECT_TRUE(dcmt->IsModified());
}

// A disk that fills up while the file is written: the write fails, the old file stays.
TEST(DesignFileSave, FailedWriteKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.Write("alt.zdf", "the old design");
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    for (int i = 0; i < 50; ++i) {
        Place(*dcmt, ElmntKind::Tube, i * 100.0);
    }
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveDesignFile(*dcmt, path, 1, CouplingSnap::NormalSq);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text.rfind("Fehler beim Speichern des Dokuments.\n" + path, 0),
              0u);
    EXPECT_GT(TestUi().Boxes()[0].text.size(),
              std::string("Fehler beim Speichern des Dokuments.\n\n").size() + path.size());
    EXPECT_EQ(TempFolder::Read(path), "the old design");
    // Nothing is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(dcmt->IsModified());
}

TEST(DesignFileSave, FolderThatTakesNoFile) {
    std::unique_ptr<CZarnelDcmt> dcmt = NewDocument();
    EXPECT_FALSE(SaveDesignFile(*dcmt, "/proc/zarnel-design.zdf", 1, CouplingSnap::NormalSq));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text.rfind("Fehler beim Speichern des Dokuments.\n", 0), 0u);
}
