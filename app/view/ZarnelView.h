// The 3D design view: one window on a design, drawing it with OpenGL through one of the design's
// four cameras (or a private copy of one), in the tool mode that decides what the mouse does.
// It owns its GL context and its interaction state (CViewState); the design, its cameras and
// elements and the render-quality profiles are borrowed. Elements are held by identity and
// looked up again whenever they are used, so that no update of the design leaves the view with
// a freed record.
//
// The view's logic runs without a window (ViewState, ViewCamera, the command tables of
// ViewCommand); this class turns wx events into calls of it and carries out the SViewChange that
// comes back. Its parts: ZarnelView.cpp (creation, updates, carrying out changes, the one
// command handler pair), ZarnelViewCommands.cpp (the table of the commands that need the
// window), ZarnelViewCamera.cpp (camera, viewport, matrices), ZarnelViewDraw.cpp (drawing,
// off-screen rendering), ZarnelViewExport.cpp (image export, printing), ZarnelViewMouse.cpp
// (the mouse on the GL window: picking, placing, selecting, the pan drag, element dialogs).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include <wx/weakref.h>

#include "app/frame/ZarnelWxView.h"
#include "app/render/MergedScene.h"
#include "app/render/VrmlViewer.h"
#include "app/view/SceneDraw.h"
#include "app/view/ViewCamera.h"
#include "app/view/ViewCommand.h"
#include "app/view/ViewMouse.h"
#include "app/view/ViewState.h"
#include "app/view/ZarnelViewKeptPicture.h"
#include "model/Cmra.h"

class CDIB;
class CElmnt;
class CRndrQult;
class CZarnelGlCanvas;
class wxGLContext;
class wxKeyEvent;
class wxMouseCaptureLostEvent;
class wxMouseEvent;
class wxPrintout;
class wxSetCursorEvent;

class CZarnelView : public CZarnelWxView {
public:
    CZarnelView();
    ~CZarnelView() override;

    // ---- Framework ---------------------------------------------------------------------------

    // Makes the GL window in the view's frame with its pixel format and context and binds the
    // design's camera 0. False when the view has no frame or design; a display without a
    // suitable pixel format is reported (4196, 4197) and leaves the view without a context.
    bool OnCreate(wxDocument* document, long flags) override;
    // Draws the picture into the window (the screen path): the context made current, the scene,
    // the frame around a viewport smaller than the window, the buffers swapped. Nothing without
    // a context or before the window is on the screen. dc is the window's paint DC (unused).
    void OnDraw(wxDC* dc) override;
    // How many times OnDraw has drawn the design into the window so far (a paint with nothing
    // new to show copies the kept picture instead and does not count).
    int GetPictureCount() const { return m_pictureCount; }
    // Printing and print preview of the 3D view (CZarnelPrintout).
    wxPrintout* OnCreatePrintout() override;
    // The material slot of the category "Verbinder".
    std::optional<int32_t> GetCouplingMaterial() const override;

    // From the GL window.
    void OnSize();
    void OnCanvasDestroyed();

    // ---- Tools -------------------------------------------------------------------------------

    // The tool mode, kind, sizes, material slots, display flags, selection box, move options,
    // pan drag and walk boxes. Commands change them here and redraw (Invalidate) themselves.
    CViewState& GetState() { return m_state; }
    const CViewState& GetState() const { return m_state; }
    ToolMode GetToolMode() const { return m_state.toolMode; }
    // The one way to change the tool mode: the state's changes, then the application's 15 cm
    // snap option switched off, the design's selection cleared when leaving the select and box
    // modes (all windows on the design are told, hint 5), and a redraw where the change asks for
    // one. The caller sets the tool kind and sizes afterwards.
    void SetTool(ToolMode mode);
    // Everything a command of this view runs on, for one call.
    SViewContext MakeContext();
    // Does what the view's logic asked: the snap option, the selection, the viewport, the
    // picture, the other windows, the status text and the beep, in that order.
    void CarryOut(const SViewChange& change);
    // The application's options as the view's logic takes them (defaults without an application
    // that keeps them, as in tests of the view alone).
    static SAppOptions GetAppOptions();
    // The material slot for the category of the kind (0 for kinds without one).
    int32_t GetToolMaterial(ElmntKind kind) const { return m_state.GetToolMaterial(kind); }
    // The material slot of category 0 to 8.
    int32_t GetCategoryMaterial(int category) const {
        return m_state.GetCategoryMaterial(category);
    }
    // The render-quality profile in force: the application's edit profile, or its photo profile
    // while photo quality is on.
    const CRndrQult* GetQuality() const;

    // What the view's passes draw for picking and placing: the two-click panel's state and the
    // slide model's viewer, valid while the view and its first tube are.
    SDrawView MakeDrawView();

    // Elements the tools hold, looked up in the design; nullptr when there is none or it is no
    // longer alive.
    CElmnt* GetPlacingElement() const;
    CElmnt* GetFirstTube() const;
    CElmnt* GetPanElement() const;

    // ---- Camera and viewport -----------------------------------------------------------------

    // The camera in use: the design's camera of the index, or the view's own copy (index -1);
    // nullptr when none is bound. Valid until the next SelectCamera or the design's end.
    CCmra* GetCamera() const;
    int GetCameraIndex() const { return m_camera.GetIndex(); }
    // n = 0 to 3. The camera in force becomes a private copy (the design's camera is no longer
    // changed by this view; no redraw); another is bound and the view drawn again with it.
    void SelectCamera(int n);
    // Recomputes the viewport from the window's client area and the camera's picture format,
    // sets it in GL when the window can draw, and gives the camera its size. Nothing without a
    // context; a client area without pixels (a minimised window) keeps the last viewport and
    // leaves the camera alone. Also for the camera dialog after every change.
    void SetViewport();
    // The camera in use as this window draws it: with this window's viewport, so that the
    // screen picture format has this window's aspect even when another window shows the same
    // camera. Nothing without a camera.
    std::optional<CCmra> GetShownCamera() const;
    // The viewport of the last SetViewport, pixels from the client area's lower left.
    const SViewport& GetViewport() const { return m_viewport; }
    // The client area in framebuffer pixels at the last SetViewport.
    wxSize GetClientPixels() const { return m_clientPixels; }
    // The camera's model placement loaded into the current GL matrix, or its projection
    // multiplied onto it (ViewScene); nothing without a camera. Used by drawing, picking and
    // placing.
    void SetModelTransform() const;
    void SetProjection() const;

    // ---- GL and window -----------------------------------------------------------------------

    bool HasContext() const { return m_context != nullptr; }
    // Makes the view's context current on its window and sets the viewport; false when the view
    // has no context or the window cannot draw yet (not on the screen).
    bool MakeCurrent();
    // The window; nullptr once it is gone.
    CZarnelGlCanvas* GetCanvas() const;
    // Draws the view again at the next opportunity, or at once.
    void Invalidate();
    void RepaintNow();
    // A mouse point of the window (logical coordinates) as an OpenGL window point: framebuffer
    // pixels, y counted from the bottom row of the client area.
    wxPoint ToGlWindowPoint(const wxPoint& mouse) const;
    // Distance in pixels from (x, y) to the segment x1, y1, x2, y2 (window pixels).
    static double SegmentDistance(const float segment[4], double x, double y);

    // ---- Off-screen rendering ----------------------------------------------------------------

    // The scene as a new bitmap of width x height pixels (the caller owns it), drawn in photo
    // quality without tool highlights or frame, under the wait cursor, in a framebuffer of the
    // view's own context. The view's tool mode and quality are as before afterwards, and no
    // context is current. nullptr (after telling the user what failed) when it cannot be
    // rendered: no context, a window not on the screen, or what RenderOffscreen refuses.
    std::unique_ptr<CDIB> RenderToBitmap(int width, int height);

protected:
    void OnDesignUpdate(wxView* sender, ViewHint hint) override;

private:
    void CreateContext();
    void DestroyContext();
    void ClearDesignSelection(const SAppOptions& options);
    // The picture of the view with its present state: the scene's borrowed parts.
    void DrawPicture(const std::array<double, 16>* projectionPrefix, DrawFlags drawFlags);
    CElmnt* FindAlive(ElmntId id) const;

    // Commands: every row of the view's tables and of the window's own table goes through
    // this one pair.
    void BindCommands();
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);

    // The commands that need the window (ZarnelViewCommands.cpp).
    struct SWindowCommand {
        uint32_t command;
        void (CZarnelView::*run)();
        ViewCommandRule isEnabled = nullptr; // nullptr: always enabled
        ViewCommandRule isChecked = nullptr; // nullptr: a plain command
    };
    static std::span<const SWindowCommand> GetWindowCommands();
    static const SWindowCommand* FindWindowCommand(uint32_t command);
    void ShowSystemInfo();
    void PrintWithDialog();
    void PrintDirect();
    void ShowPrintPreview();
    void SaveImage();
    void EditToolMaterials();
    void ChooseSameSurface();
    // The surface dialog for the tools (no element): OK takes the chosen slot per category.
    void RunToolMaterialDialog(ElmntKind kind, bool checkUsability);
    void Print(bool prompt);
    // "?cm Rohr" and "Sonderplatte": the tool's dialog first; the tool changes only on OK.
    void ChooseFreeTube();
    void ChooseSpecialPanel();
    // The camera dialog on the camera in use, each change shown in every window showing it.
    void ShowCameraDialog();
    // "Kollisionstest" (in the view's GL context, the slide model drawn by the view's viewer)
    // and "Kopffallentest": the findings selected and reported.
    void CheckCollisions();
    void CheckHeadTraps();

    // Every window on the design that shows the camera in use (this one included) computes its
    // viewport again and is drawn again.
    void RedrawCameraViews();

    // The mouse on the GL window (ZarnelViewMouse.cpp): the window's events turned into the
    // view's mouse rules (ViewMouse.h) on the GL passes, the dialogs they ask for, the pan
    // drag's capture and line, and the pan cursor.
    void BindMouse();
    SMouseEvent MakeMouseEvent(const wxMouseEvent& event) const;
    // Runs a rule with the picker of the view's passes, the context current; nothing without
    // a context.
    template <class Rule> void RunMouseRule(Rule&& rule);
    void OnMouseLeftDown(wxMouseEvent& event);
    void OnMouseLeftUp(wxMouseEvent& event);
    void OnMouseMotion(wxMouseEvent& event);
    void OnMouseLeftDoubleClick(wxMouseEvent& event);
    void OnMouseRightDown(wxMouseEvent& event);
    void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);
    void OnMouseSetCursor(wxSetCursorEvent& event);
    void OnMouseKeyDown(wxKeyEvent& event);
    void EndPanDrag(const SViewChange& change);
    // The dialog a click asked for, on the element; click in the window's client pixels.
    void OpenMouseDialog(const SMouseResult& result, const wxPoint& click);
    void EditProperties(ElmntId id, const wxPoint& click);
    // The surface dialog on the element; OK gives it the chosen slot in place.
    void EditSurface(ElmntId id);
    // The pan drag's line over the picture, from the drag start to the pointer.
    void DrawPanLine() const;

    wxWeakRef<CZarnelGlCanvas> m_canvas; // owned by the frame
    std::unique_ptr<wxGLContext> m_context;
    wxSize m_clientPixels;
    SViewport m_viewport;
    CViewCamera m_camera;
    CViewState m_state;
    CVrmlViewer m_vrmlViewer;   // the slide model, read on its first drawing
    CKeptPicture m_keptPicture; // the last picture drawn, in the context
    CMergedScene m_mergedScene; // the elements gathered for drawing, kept between pictures
    int m_pictureCount = 0;

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(CZarnelView);
};
