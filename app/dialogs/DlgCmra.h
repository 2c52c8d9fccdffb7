// Dialog 208 "Kamera / Perspektive": the camera through which a 3D view shows the design (camera
// and model positions, visible area, field of view or focal length, the eye before the picture,
// the picture format), field by field. Each change recomputes what follows from it and, while
// "3D-Bild sofort neu zeichnen" is ticked, is shown in the view at once. The dialog works on a
// copy of the camera; the caller applies it (ApplyCamera) when the dialog is confirmed.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/dialogs/DialogEx.h"
#include "model/Cmra.h"
#include "model/CmraEdit.h"

class CZarnelDcmt;
class wxSpinButton;
class wxSpinEvent;

class CDlgCmra : public CDialogEx {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdRedraw = 1017,
        IdFormatScreen = 1050, // format group in order: 1050, 1051, 1060, 1052, 1053, 1056, 1054
        IdRatioWidth = 1055,
        IdRatioHeight = 1057,
        IdCameraHeight = 1061,
        IdCameraDistance = 1062,
        IdCameraTurn = 1063,
        IdCameraTilt = 1064,
        IdCameraLeftRight = 1069,
        IdVisibleWidth = 1071,
        IdVisibleHeight = 1072,
        IdFovHorizontal = 1075,
        IdFovVertical = 1076,
        IdFocalLength = 1079,
        IdModelHeight = 1081,
        IdModelDistance = 1082,
        IdModelTurn = 1083,
        IdModelTilt = 1084,
        IdModelLeftRight = 1089,
        IdEyeUp = 1094,
        IdEyeAcross = 1095,
        IdFixSize = 1098,
        IdFixAngles = 1099,
        IdStandard = 1100,
    };

    // Shows the camera in the 3D view while the dialog is open.
    using Preview = std::function<void(const CCmra& camera)>;

    // The dialog on a copy of camera (derived values recomputed); preview may be empty.
    CDlgCmra(wxWindow* parent, const CCmra& camera, Preview preview);

    const CCmra& GetCamera() const { return m_camera; }
    // True: a new camera distance keeps the field of view ("Fix" beside the angles); false: it
    // keeps the visible size.
    bool KeepsAngles() const { return m_fixed == 1; }
    // Whether a camera has been shown in the view.
    bool HasPreviewed() const { return m_previewed; }

    // Shows the dialog modally. OK stores the edited camera in camera and answers true. Cancel
    // (Escape or the close box) leaves camera as it was, shows it again when a change was
    // previewed, and answers false.
    static bool Edit(wxWindow* parent, CCmra& camera, Preview preview);

    // The 3D view's camera command (32834): the dialog on the camera the view shows, each change
    // shown in it in place while the dialog is open (repaint sets the view's viewport and redraws
    // at once). Afterwards the camera is as it was; OK then applies the edited one (ApplyCamera:
    // the document is marked modified when it is one of its cameras and anything changed).
    static bool Run(wxWindow* parent, CZarnelDcmt& dcmt, CCmra& camera,
                    const std::function<void()>& repaint);

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;

private:
    // What a change of a field does.
    enum class Reaction {
        Position,  // taken over and shown; nothing follows from it
        Recompute, // the field of view follows from it (CmraFieldChanged)
    };
    // One int field with its edit and spin button.
    struct SIntField {
        int editId;
        int spinId;
        int CCmra::*member;
        int min, max, step;
        Reaction reaction;
        CmraField cmraField; // for Recompute
    };

    void CreateControls();
    wxSizer* AddFields(wxWindow* parent, const std::vector<int>& editIds,
                       const std::vector<wxWindow*>& besides);
    const SIntField* FindField(int editId) const;
    void Redraw();
    void OnFieldChanged(const SIntField& field);
    void OnSpin(const SIntField& field, int direction);
    void FollowWithSpin(const SIntField& field);
    void OnFormat();
    void OnRatio(const double* member);
    void OnFix();
    void OnRedrawBox();
    void OnStandard();

    CCmra m_camera;
    Preview m_preview;
    int m_fixed = 1;
    bool m_redraw = true;
    bool m_previewed = false;
    std::vector<SIntField> m_fields;
    std::unique_ptr<CRadioGroup> m_fixGroup;
    std::unique_ptr<CRadioGroup> m_formatGroup;
};
