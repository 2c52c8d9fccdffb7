// Dialog 208 "Kamera / Perspektive": the camera through which a 3D view shows the design (camera
// and model positions, visible area, field of view or focal length, the eye before the picture,
// the picture format), field by field. Each change recomputes what follows from it and, while
// "3D-Bild sofort neu zeichnen" is ticked, is shown in the view at once. The dialog works on the
// camera in place: a change reaches it as it is typed, and cancelling keeps what has reached it.
#pragma once

#include <functional>
#include <memory>
#include <set>
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

    // Shows the edited camera in the 3D view at once; called after a change while "3D-Bild
    // sofort neu zeichnen" is ticked.
    using Preview = std::function<void(const CCmra& camera)>;

    // The dialog on camera in place, which must outlive it (derived values recomputed at once);
    // preview may be empty.
    CDlgCmra(wxWindow* parent, CCmra& camera, Preview preview);

    const CCmra& GetCamera() const { return m_camera; }
    // True: a new camera distance keeps the field of view ("Fix" beside the angles); false: it
    // keeps the visible size.
    bool KeepsAngles() const { return m_fixed == 1; }

    // Shows the dialog modally on camera. Each change reaches camera as it is typed, except that
    // the camera and model positions and the eye typed while "3D-Bild sofort neu zeichnen" is
    // cleared wait for OK. OK takes over every field and answers true; Escape or the close box
    // keep what has reached camera so far and answer false.
    static bool Edit(wxWindow* parent, CCmra& camera, Preview preview);

    // The 3D view's camera command (32834): the dialog on the camera the view shows, each change
    // shown in it at once (repaint sets the view's viewport and redraws at once). However the
    // dialog is closed, the result is applied as one change of the document (ApplyCamera: the
    // document is marked modified when it is one of its cameras and anything changed).
    static bool Run(wxWindow* parent, CZarnelDcmt& dcmt, CCmra& camera,
                    const std::function<void()>& repaint);

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;

private:
    // What a change of a field does.
    enum class Reaction {
        Position,  // nothing follows from it; with redraw at once cleared it waits for OK
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
    void FollowWithSpin(const SIntField& field, int value);
    void OnFormat();
    void OnRatio(const double* member);
    void OnFix();
    void OnRedrawBox();
    void OnStandard();

    CCmra& m_camera;
    Preview m_preview;
    int m_fixed = 1;
    bool m_redraw = true;
    // Edits of position fields typed while redraw at once was cleared: checked, but kept from the
    // camera until OK; their text is not rewritten by what other fields recompute.
    std::set<int> m_waitingEdits;
    std::vector<SIntField> m_fields;
    std::unique_ptr<CRadioGroup> m_fixGroup;
    std::unique_ptr<CRadioGroup> m_formatGroup;
};
