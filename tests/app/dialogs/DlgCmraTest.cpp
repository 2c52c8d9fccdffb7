// The camera dialog on a virtual display: it opens with the camera's values, recomputes what
// follows from a typed field or a spin click and shows it in the view at once, refuses values
// out of range, and edits the camera in place: Escape and the close box keep what has reached
// it, OK takes every field.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "app/dialogs/DlgCmra.h"
#include "model/ZarnelDcmt.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/WindowWait.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_cmra_tests"), true);

using D = CDlgCmra;

bool Editable(wxWindow& dialog, int id) {
    return static_cast<wxTextCtrl*>(dialog.FindWindow(id))->IsEditable();
}

void Spin(wxWindow& dialog, int spinId, bool up) {
    auto* spin = static_cast<wxSpinButton*>(dialog.FindWindow(spinId));
    wxSpinEvent event(up ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, spinId);
    event.SetEventObject(spin);
    event.SetPosition(spin->GetValue() + (up ? 1 : -1));
    spin->GetEventHandler()->ProcessEvent(event);
}

struct SCmraFixture {
    CCmra camera; // the defaults: distance 320, height 130, 40°
    std::vector<CCmra> previews;
    CDlgCmra::Preview Recorder() {
        return [this](const CCmra& shown) { previews.push_back(shown); };
    }
};

} // namespace

TEST(DlgCmra, OpensWithTheCamerasValues) {
    SCmraFixture f;
    f.camera.modelTurn = 10;
    CDlgCmra dialog(nullptr, f.camera, f.Recorder());
    dialog.InitDialog();
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Kamera / Perspektive");
    EXPECT_EQ(FieldText(dialog, D::IdCameraHeight), "130");
    EXPECT_EQ(FieldText(dialog, D::IdCameraDistance), "320");
    EXPECT_EQ(FieldText(dialog, D::IdModelTurn), "10");
    EXPECT_EQ(FieldText(dialog, D::IdVisibleHeight), "233");
    EXPECT_EQ(FieldText(dialog, D::IdFovVertical), "40");
    EXPECT_EQ(FieldText(dialog, D::IdFocalLength), "33");
    EXPECT_EQ(FieldText(dialog, D::IdEyeUp), "55");
    EXPECT_EQ(FieldText(dialog, D::IdRatioWidth), "1");
    EXPECT_TRUE(static_cast<wxRadioButton*>(dialog.FindWindow(D::IdFormatScreen))->GetValue());
    EXPECT_TRUE(static_cast<wxRadioButton*>(dialog.FindWindow(D::IdFixAngles))->GetValue());
    EXPECT_TRUE(static_cast<wxCheckBox*>(dialog.FindWindow(D::IdRedraw))->GetValue());
    // With the angles fixed, the visible size follows and cannot be typed.
    EXPECT_FALSE(Editable(dialog, D::IdVisibleWidth) || Editable(dialog, D::IdVisibleHeight));
    EXPECT_TRUE(Editable(dialog, D::IdFovHorizontal) && Editable(dialog, D::IdFocalLength));
    EXPECT_TRUE(f.previews.empty()) << "nothing changed yet";
}

TEST(DlgCmra, FieldsRecomputeAndShowTheCameraAtOnce) {
    SCmraFixture f;
    CDlgCmra dialog(nullptr, f.camera, f.Recorder());
    dialog.InitDialog();

    Type(dialog, D::IdCameraDistance, "640"); // the angles stay, the visible area grows
    EXPECT_EQ(FieldText(dialog, D::IdVisibleHeight), "466");
    EXPECT_EQ(FieldText(dialog, D::IdFovVertical), "40");
    ASSERT_EQ(f.previews.size(), 1u);
    EXPECT_EQ(f.previews.back().cameraDistance, 640);

    Click(dialog, D::IdFixSize); // now the visible size stays and the angles follow
    EXPECT_TRUE(Editable(dialog, D::IdVisibleHeight));
    EXPECT_FALSE(Editable(dialog, D::IdFovVertical));
    Type(dialog, D::IdCameraDistance, "320");
    EXPECT_EQ(FieldText(dialog, D::IdFovVertical), "72");
    EXPECT_EQ(FieldText(dialog, D::IdVisibleHeight), "466");

    dialog.FindWindow(D::IdFixAngles)->Enable();
    Click(dialog, D::IdFixAngles);
    Type(dialog, D::IdFocalLength, "33");
    EXPECT_EQ(FieldText(dialog, D::IdFovVertical), "40");
    Click(dialog, 1052); // "Kino (16 zu 9)"
    EXPECT_EQ(FieldText(dialog, D::IdFovHorizontal), "66");
    EXPECT_EQ(dialog.GetCamera().pictureFormat, PictureFormat::Cinema);

    // One spin click: 10 cm for the distance, 5 degrees for the turn.
    Spin(dialog, 1066, true);
    EXPECT_EQ(FieldText(dialog, D::IdCameraDistance), "330");
    EXPECT_EQ(dialog.GetCamera().cameraDistance, 330);
    Spin(dialog, 1067, true);
    EXPECT_EQ(dialog.GetCamera().cameraTurn, 5);
    Spin(dialog, 1067, false);
    Spin(dialog, 1067, false);
    EXPECT_EQ(dialog.GetCamera().cameraTurn, 0) << "not below the range";

    // Without redraw at once, a position waits for OK, and nothing is shown.
    Click(dialog, D::IdRedraw);
    const std::size_t shown = f.previews.size();
    Type(dialog, D::IdCameraHeight, "200");
    EXPECT_EQ(dialog.GetCamera().cameraHeight, 130);
    EXPECT_EQ(f.previews.size(), shown);

    Click(dialog, D::IdStandard);
    EXPECT_EQ(FieldText(dialog, D::IdCameraHeight), "130");
    EXPECT_EQ(dialog.GetCamera().pictureFormat, PictureFormat::Screen);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DlgCmra, ValuesOutOfRangeAreRefusedAtOnce) {
    SCmraFixture f;
    CDlgCmra dialog(nullptr, f.camera, f.Recorder());
    dialog.InitDialog();
    Click(dialog, D::IdFixSize);
    Type(dialog, D::IdVisibleWidth, "1");
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Geben Sie eine ganze Zahl zwischen 10 und 2000 ein.");
    EXPECT_EQ(dialog.GetCamera().visibleWidth, 233);
    Type(dialog, D::IdCameraTilt, "5,5");
    EXPECT_EQ(TestUi().Boxes().back().text, "Geben Sie eine ganze Zahl ein.");
    Type(dialog, D::IdRatioHeight, "0");
    EXPECT_EQ(TestUi().Boxes().back().text,
              "Geben Sie eine Zahl zwischen " + Local("0.001") + " und 10000 ein.");
    EXPECT_EQ(dialog.GetCamera().userRatioHeight, 1.0);
}

TEST(DlgCmra, OkTakesEveryFieldCancelKeepsWhatReachedTheCamera) {
    SCmraFixture f;
    CCmra camera = f.camera;
    WhenShown<CDlgCmra>([](CDlgCmra& dialog) {
        Click(dialog, D::IdRedraw);
        Type(dialog, D::IdCameraHeight, "250");
        Type(dialog, D::IdModelTilt, "15");
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgCmra::Edit(nullptr, camera, f.Recorder()));
    EXPECT_EQ(camera.cameraHeight, 250);
    EXPECT_EQ(camera.modelTilt, 15);

    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "close box");
        camera = f.camera;
        f.previews.clear();
        WhenShown<CDlgCmra>([escape](CDlgCmra& dialog) {
            Type(dialog, D::IdCameraDistance, "500");
            Type(dialog, D::IdCameraHeight, "20");
            escape ? PressEscape(dialog) : PressCloseBox(dialog);
        });
        EXPECT_FALSE(CDlgCmra::Edit(nullptr, camera, f.Recorder()));
        EXPECT_EQ(camera.cameraDistance, 500);
        EXPECT_EQ(camera.cameraHeight, 20);
        ASSERT_FALSE(f.previews.empty());
        EXPECT_EQ(f.previews.back().cameraHeight, 20) << "the view keeps showing the change";
    }
}

TEST(DlgCmra, WithoutRedrawEscapeKeepsTheDistanceButNotTheTypedHeight) {
    SCmraFixture f;
    CCmra camera = f.camera;
    WhenShown<CDlgCmra>([](CDlgCmra& dialog) {
        Click(dialog, D::IdRedraw);
        Type(dialog, D::IdCameraHeight, "200");
        Type(dialog, D::IdCameraDistance, "640");
        EXPECT_EQ(FieldText(dialog, D::IdCameraHeight), "200") << "still typed, for OK";
        EXPECT_EQ(FieldText(dialog, D::IdVisibleHeight), "466");
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgCmra::Edit(nullptr, camera, f.Recorder()));
    EXPECT_EQ(camera.cameraHeight, 130);
    EXPECT_EQ(camera.cameraDistance, 640);
    EXPECT_EQ(camera.visibleHeight, 466);
    EXPECT_TRUE(f.previews.empty());
}

TEST(DlgCmra, TheViewsCommandMarksOnlyAChangedDocumentCamera) {
    CZarnelDcmt dcmt;
    CCmra& camera = dcmt.GetCamera(0);
    WhenShown<CDlgCmra>([](CDlgCmra& dialog) { Click(dialog, wxID_OK); });
    EXPECT_TRUE(CDlgCmra::Run(nullptr, dcmt, camera, [] {}));
    EXPECT_FALSE(dcmt.IsModified()) << "nothing changed";

    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "OK");
        dcmt.SetModified(false);
        const int distance = escape ? 400 : 500;
        int repaints = 0;
        WhenShown<CDlgCmra>([&](CDlgCmra& dialog) {
            Type(dialog, D::IdCameraDistance, std::to_string(distance));
            EXPECT_EQ(camera.cameraDistance, distance) << "shown in place";
            escape ? PressEscape(dialog) : Click(dialog, wxID_OK);
        });
        EXPECT_EQ(CDlgCmra::Run(nullptr, dcmt, camera, [&repaints] { ++repaints; }), !escape);
        EXPECT_EQ(camera.cameraDistance, distance);
        EXPECT_TRUE(dcmt.IsModified());
        EXPECT_GE(repaints, 2);
    }
}

// Real clicks through the display server: each click on a spin button steps its field once
// (a spin button that fed itself would never let the toolkit become idle), and OK answers.
TEST(DlgCmra, SpinButtonsStepOncePerClickAndOkAnswers) {
    SCmraFixture f;
    CCmra camera = f.camera;
    WhenShown<CDlgCmra>([](CDlgCmra& dialog) {
        ASSERT_TRUE(WaitUntilPainted(dialog));
        wxUIActionSimulator input;
        // At a fraction of the control's width: the toolkit shows "-" left and "+" right.
        const auto click = [&](int id, double across) {
            const wxRect r = dialog.FindWindow(id)->GetScreenRect();
            input.MouseMove(r.x + static_cast<int>(r.width * across), r.y + r.height / 2);
            return WaitForInput(input) && input.MouseClick();
        };
        ASSERT_TRUE(click(1066, 0.75) && WaitForInput(input)); // camera distance +10
        ASSERT_TRUE(click(1068, 0.25) && WaitForInput(input)); // camera height -10, twice
        ASSERT_TRUE(click(1068, 0.25) && WaitForInput(input));
        EXPECT_EQ(FieldText(dialog, D::IdCameraDistance), "330");
        EXPECT_EQ(FieldText(dialog, D::IdCameraHeight), "110");
        EXPECT_EQ(FieldText(dialog, D::IdVisibleHeight), "240") << "the visible size follows";
        ASSERT_TRUE(click(wxID_OK, 0.5));
        ASSERT_TRUE(WaitUntil([&] { return !dialog.IsModal(); }, "OK to close the dialog"));
    });
    ASSERT_TRUE(CDlgCmra::Edit(nullptr, camera, f.Recorder()));
    EXPECT_EQ(camera.cameraDistance, 330);
    EXPECT_EQ(camera.cameraHeight, 110);
}

TEST(DlgCmra, Screenshot) {
    CCmra camera;
    WhenShown<CDlgCmra>([](CDlgCmra& dialog) {
        EXPECT_FALSE(Screenshot(dialog, "dialog-camera.png").empty());
        PressEscape(dialog);
    });
    CDlgCmra::Edit(nullptr, camera, {});
}
