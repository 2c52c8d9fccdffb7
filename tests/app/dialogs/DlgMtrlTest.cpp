// The surface dialog on a virtual display: it opens on the element's category with the
// materials usable for it, remembers a choice per category, edits the copy of the chosen
// material and shows it in the view at once, refuses an unusable material on OK, creates new
// materials up to a full table, and hands back its copy on OK only.
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/slider.h>
#include <wx/textctrl.h>

#include "app/dialogs/DlgMtrl.h"
#include "model/Elmnt.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_mtrl_tests"), true);

using D = CDlgMtrl;

constexpr CMtrlChoice::CategorySlots kViewSlots{4, 6, 2, 1, 7, 8, 9, 11, 10};

wxComboBox& Materials(wxWindow& dialog) {
    return *static_cast<wxComboBox*>(dialog.FindWindow(D::IdMaterial));
}

std::vector<std::string> Names(wxWindow& dialog) {
    std::vector<std::string> names;
    for (unsigned i = 0; i < Materials(dialog).GetCount(); ++i) {
        names.push_back(Materials(dialog).GetString(i).utf8_string());
    }
    return names;
}

void ChooseCategory(wxWindow& dialog, int category) {
    auto* list = static_cast<wxChoice*>(dialog.FindWindow(D::IdCategory));
    list->SetSelection(category);
    wxCommandEvent event(wxEVT_CHOICE, D::IdCategory);
    event.SetEventObject(list);
    event.SetInt(category);
    list->GetEventHandler()->ProcessEvent(event);
}

void ChooseMaterial(wxWindow& dialog, const std::string& name) {
    wxComboBox& list = Materials(dialog);
    const int index = list.FindString(wxString::FromUTF8(name), true);
    ASSERT_NE(index, wxNOT_FOUND) << name;
    list.SetSelection(index);
    wxCommandEvent event(wxEVT_COMBOBOX, D::IdMaterial);
    event.SetEventObject(&list);
    event.SetInt(index);
    list.GetEventHandler()->ProcessEvent(event);
}

void MoveSlider(wxWindow& dialog, int id, int position) {
    auto* slider = static_cast<wxSlider*>(dialog.FindWindow(id));
    slider->SetValue(position);
    wxCommandEvent event(wxEVT_SLIDER, id);
    event.SetEventObject(slider);
    event.SetInt(position);
    slider->GetEventHandler()->ProcessEvent(event);
}

struct SMtrlFixture {
    CZarnelDcmt dcmt;
    CElmntIdSource& ids = dcmt.GetIdSource();
    CElmnt tube{ids, 0, ElmntKind::Tube, 3, 350.0f, 0.0f}; // green metal
    std::vector<CMtrlChoice> previews;

    CMtrlChoice Choice(bool check = true) {
        return CMtrlChoice(dcmt, &tube, tube.kind, kViewSlots, check);
    }
    CDlgMtrl::Preview Recorder() {
        return [this](const CMtrlChoice& shown) { previews.push_back(shown); };
    }
};

} // namespace

TEST(DlgMtrl, OpensOnTheCategoryAndKeepsAChoicePerCategory) {
    SMtrlFixture f;
    CDlgMtrl dialog(nullptr, f.Choice(), f.Recorder());
    dialog.InitDialog();
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Oberflächenauswahl");
    auto* category = static_cast<wxChoice*>(dialog.FindWindow(D::IdCategory));
    EXPECT_EQ(category->GetStringSelection().utf8_string(), "Rohre");
    EXPECT_EQ(category->GetCount(), 9u);
    EXPECT_EQ(Names(dialog),
              (std::vector<std::string>{"schwarz", "rot", "grün", "blau", "gelb", "Alu", "weiß"}));
    EXPECT_EQ(Materials(dialog).GetValue().utf8_string(), "grün");
    EXPECT_TRUE(static_cast<wxCheckBox*>(dialog.FindWindow(D::IdMetal))->GetValue());
    EXPECT_FALSE(static_cast<wxCheckBox*>(dialog.FindWindow(D::IdPlastic))->GetValue());
    EXPECT_EQ(static_cast<wxSlider*>(dialog.FindWindow(D::IdGreen))->GetValue(), 127);
    EXPECT_EQ(static_cast<wxSlider*>(dialog.FindWindow(D::IdOutDiffuse))->GetValue(), 20);

    ChooseCategory(dialog, 1);
    EXPECT_EQ(Names(dialog), (std::vector<std::string>{"rot", "grün", "blau", "gelb", "Spiegel",
                                                       "schwarz", "weiß"}));
    EXPECT_EQ(Materials(dialog).GetValue().utf8_string(), "rot") << "the view's panel material";
    ChooseMaterial(dialog, "Spiegel");
    ChooseCategory(dialog, 0);
    EXPECT_EQ(Materials(dialog).GetValue().utf8_string(), "grün");
    ChooseCategory(dialog, 1);
    EXPECT_EQ(Materials(dialog).GetValue().utf8_string(), "Spiegel");
    EXPECT_EQ(dialog.GetChoice().GetSelectedSlot(), 10);
}

TEST(DlgMtrl, EditsTheCopyAndShowsItAtOnce) {
    SMtrlFixture f;
    CDlgMtrl dialog(nullptr, f.Choice(), f.Recorder());
    dialog.InitDialog();
    MoveSlider(dialog, D::IdRed, 255);
    ASSERT_EQ(f.previews.size(), 1u);
    EXPECT_EQ(f.previews.back().GetMaterial(3)->GetRed(), 1.0f);
    EXPECT_EQ(f.dcmt.GetMaterial(3)->GetRed(), 0.0f) << "the document is the caller's";
    MoveSlider(dialog, D::IdInShininess, 10);
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetInside().shininess, 5.0f);

    // Without redraw at once the view is not shown the change.
    Click(dialog, D::IdRedraw);
    MoveSlider(dialog, D::IdOutAmbient, 10);
    EXPECT_EQ(f.previews.size(), 2u);
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetOutside().ambient, 0.5f);

    // The texture: chosen through the file dialog with the bitmap filter, then deleted.
    TestUi().QueueFileChoice("/tmp/wood.bmp");
    Click(dialog, D::IdChooseTexture);
    ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
    EXPECT_EQ(TestUi().FileDialogs()[0].filter, "Windows Bitmap Dateien (*.bmp)|*.bmp");
    EXPECT_EQ(FieldText(dialog, D::IdTextureFile), "/tmp/wood.bmp");
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetTextureFile(), "/tmp/wood.bmp");
    Click(dialog, D::IdDeleteTexture);
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetTextureFile(), "");

    // Text typed into the material field renames the chosen material.
    Materials(dialog).SetValue("Hellgrün");
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetName(), "Hellgrün");
    EXPECT_EQ(dialog.GetChoice().GetMaterial(4)->GetName(), "blau");
    ChooseMaterial(dialog, "blau");
    EXPECT_EQ(dialog.GetChoice().GetSelectedSlot(), 4);
    EXPECT_EQ(dialog.GetChoice().GetMaterial(3)->GetName(), "Hellgrün");
    EXPECT_NE(Materials(dialog).FindString("Hellgrün", true), wxNOT_FOUND);
}

// A design file may hold values far beyond what the controls show: they stand at the end they
// passed, and the swatch shows the colour held to full strength.
TEST(DlgMtrl, ValuesFarOutOfRangeStandAtTheControlsEnds) {
    SMtrlFixture f;
    CMtrl& green = *f.dcmt.GetMaterial(3);
    green.SetColor(3.0e38f, 0.5f, -2.0e9f);
    SLightFactors outside = green.GetOutside();
    outside.ambient = 1.0e9f;
    green.SetOutside(outside);
    CDlgMtrl dialog(nullptr, f.Choice(), f.Recorder());
    dialog.InitDialog();
    const auto position = [&dialog](int id) {
        return static_cast<wxSlider*>(dialog.FindWindow(id))->GetValue();
    };
    EXPECT_EQ(position(D::IdRed), 255);
    EXPECT_EQ(position(D::IdGreen), 127);
    EXPECT_EQ(position(D::IdBlue), 0);
    EXPECT_EQ(position(D::IdOutAmbient), 20);
    const wxColour swatch = dialog.FindWindow(D::IdSwatch)->GetBackgroundColour();
    EXPECT_EQ(swatch.Red(), 255);
    EXPECT_EQ(swatch.Green(), 127);
    EXPECT_EQ(swatch.Blue(), 0);
}

TEST(DlgMtrl, OkRefusesAnUnusableMaterialAndTheFullTable) {
    SMtrlFixture f;
    CMtrlChoice choice = f.Choice();
    const std::size_t boxes = TestUi().Boxes().size(); // the new document's list questions
    WhenShown<CDlgMtrl>([boxes](CDlgMtrl& dialog) {
        Click(dialog, D::IdMetal); // usable for nothing now
        Click(dialog, wxID_OK);
        ASSERT_EQ(TestUi().Boxes().size(), boxes + 1);
        EXPECT_EQ(TestUi().Boxes().back().text,
                  "Das ausgewählte Material ist für dieses Objekt nicht verwendbar! Wählen Sie "
                  "ein anderes Material aus oder markieren sie den Objekttyp unter \"Verwendbar "
                  "für\".\n");
        EXPECT_TRUE(dialog.IsModal());
        Click(dialog, D::IdPlastic);
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal()) << "a panel material for a tube";
        Click(dialog, D::IdMetal);
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgMtrl::Edit(nullptr, choice, f.Recorder()));
    EXPECT_EQ(choice.GetMaterial(3)->GetUsability(), 511);

    // "Neu" on a table with 99 slots used makes slot 99; the next one is refused.
    ASSERT_TRUE(f.dcmt.SetMaterial(98, CMtrl::CreateDefault(2)));
    choice = f.Choice();
    WhenShown<CDlgMtrl>([](CDlgMtrl& dialog) {
        Click(dialog, D::IdNewMaterial);
        EXPECT_EQ(Materials(dialog).GetValue().utf8_string(), "Neues Material");
        Click(dialog, D::IdNewMaterial);
        EXPECT_EQ(TestUi().Boxes().back().text,
                  "Es können keine weiteren Materialien mehr angelegt werden");
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgMtrl::Edit(nullptr, choice, f.Recorder()));
    EXPECT_EQ(choice.GetSelectedSlot(), 99);
    EXPECT_EQ(choice.GetSlotsUsed(), 100);
}

TEST(DlgMtrl, CancelChangesNothingAndTheViewsEntryAppliesOk) {
    SMtrlFixture f;
    const CMtrlChoice opened = f.Choice();
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "close box");
        CMtrlChoice choice = opened;
        f.previews.clear();
        WhenShown<CDlgMtrl>([escape](CDlgMtrl& dialog) {
            MoveSlider(dialog, D::IdBlue, 200);
            Click(dialog, D::IdNewMaterial);
            escape ? PressEscape(dialog) : PressCloseBox(dialog);
        });
        EXPECT_FALSE(CDlgMtrl::Edit(nullptr, choice, f.Recorder()));
        EXPECT_EQ(choice.GetSlotsUsed(), 20);
        EXPECT_EQ(choice.GetMaterial(3)->GetBlue(), opened.GetMaterial(3)->GetBlue());
        ASSERT_FALSE(f.previews.empty());
        EXPECT_EQ(f.previews.back().GetMaterial(3)->GetBlue(), opened.GetMaterial(3)->GetBlue())
            << "the view shows the material as it was";
    }

    // The view's entry: shown in the document while open, taken back on Cancel ...
    CMtrlChoice::CategorySlots slots = kViewSlots;
    int repaints = 0;
    WhenShown<CDlgMtrl>([&f](CDlgMtrl& dialog) {
        MoveSlider(dialog, D::IdBlue, 255);
        EXPECT_EQ(f.dcmt.GetMaterial(3)->GetBlue(), 1.0f);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgMtrl::Run(nullptr, f.dcmt, &f.tube, f.tube.kind, slots, true,
                               [&repaints] { ++repaints; }));
    EXPECT_EQ(f.dcmt.GetMaterial(3)->GetBlue(), 0.1f);
    EXPECT_FALSE(f.dcmt.IsModified());
    EXPECT_GT(repaints, 0);
    // ... and applied with OK: the chosen slot, the slots per category, a modified document.
    WhenShown<CDlgMtrl>([](CDlgMtrl& dialog) {
        MoveSlider(dialog, D::IdBlue, 255);
        ChooseCategory(dialog, 1);
        ChooseMaterial(dialog, "gelb");
        ChooseCategory(dialog, 0);
        ChooseMaterial(dialog, "Alu");
        Click(dialog, wxID_OK);
    });
    CMtrlChoice::CategorySlots toolSlots = kViewSlots;
    EXPECT_EQ(CDlgMtrl::Run(nullptr, f.dcmt, &f.tube, f.tube.kind, slots, true, {}), 11);
    EXPECT_EQ(f.dcmt.GetMaterial(3)->GetBlue(), 1.0f);
    EXPECT_TRUE(f.dcmt.IsModified());
    EXPECT_EQ(slots, kViewSlots) << "a surface for one element leaves the tools' slots";
    WhenShown<CDlgMtrl>([](CDlgMtrl& dialog) {
        ChooseCategory(dialog, 1);
        ChooseMaterial(dialog, "gelb");
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(
        CDlgMtrl::Run(nullptr, f.dcmt, nullptr, ElmntKind::None, slots, false, {}, &toolSlots));
    EXPECT_EQ(toolSlots[1], 9);
}

TEST(DlgMtrl, Screenshot) {
    SMtrlFixture f;
    CMtrlChoice choice = f.Choice();
    WhenShown<CDlgMtrl>([](CDlgMtrl& dialog) {
        EXPECT_FALSE(Screenshot(dialog, "dialog-surface.png").empty());
        PressEscape(dialog);
    });
    CDlgMtrl::Edit(nullptr, choice, {});
}
