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
// command handler pair), ZarnelViewCamera.cpp (camera, viewport, matrices), ZarnelViewDraw.cpp
// (drawing, off-screen rendering). The commands that need the window are the rows of its own
// table (ZarnelViewCommands.h, with image export and printing in ZarnelViewExport.cpp); the
// mouse on the GL window is CZarnelViewMouse (picking, placing, selecting, the pan drag,
// element dialogs).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include <wx/weakref.h>

#include "app/frame/ZarnelWxView.h"
#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/render/VrmlViewer.h"
#include "app/view/SceneDraw.h"
#include "app/view/ViewCamera.h"
#include "app/view/ViewCommand.h"
#include "app/view/ViewMouse.h"
#include "app/view/ViewState.h"
#include "app/view/ZarnelViewKeptPicture.h"
#include "app/view/ZarnelViewMouse.h"
#include "model/Cmra.h"

class CDIB;
class CElmnt;
class CRndrQult;
class CZarnelGlCanvas;
class wxGLContext;
class wxPrintout;

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
    ToolMode GetToolMode() const { return m_state.tool.mode; }
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
    // The render-quality profile in force: the application's edit profile, or its photo profile
    // while photo quality is on.
    const CRndrQult* GetQuality() const;
    // The tessellations this view's drawing and picking keep.
    CMeshCache* GetMeshCache() { return &m_meshCache; }

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
    // Every window on the design that shows the camera in use (this one included) computes its
    // viewport again and is drawn again.
    void RedrawCameraViews();
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

    wxWeakRef<CZarnelGlCanvas> m_canvas; // owned by the frame
    std::unique_ptr<wxGLContext> m_context;
    wxSize m_clientPixels;
    SViewport m_viewport;
    CViewCamera m_camera;
    CViewState m_state;
    CVrmlViewer m_vrmlViewer;   // the slide model, read on its first drawing
    CKeptPicture m_keptPicture; // the last picture drawn, in the context
    CMeshCache m_meshCache;     // the shapes tessellated for drawing, kept between pictures
    CMergedScene m_mergedScene; // the elements gathered for drawing, kept between pictures
    CZarnelViewMouse m_mouse{*this};
    int m_pictureCount = 0;

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(CZarnelView);
};
