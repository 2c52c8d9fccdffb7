// The mouse on the 3D view's GL window: the window's events turned into the view's mouse rules
// (ViewMouse.h) on the GL passes, the dialogs they ask for, the pan drag's capture and line, and
// the pan cursor. One per view; the events are bound to it, so that they end with it.
#pragma once

#include <wx/event.h>

#include "app/view/ViewMouse.h"

class CViewState;
class CZarnelGlCanvas;
class CZarnelView;
class wxKeyEvent;
class wxMouseCaptureLostEvent;
class wxMouseEvent;
class wxSetCursorEvent;
struct SViewport;

class CZarnelViewMouse : public wxEvtHandler {
public:
    explicit CZarnelViewMouse(CZarnelView& view) : m_view(view) {}

    // Takes the canvas's mouse buttons and moves, lost captures, cursor requests and keys.
    void BindTo(CZarnelGlCanvas* canvas);
    // The pan drag's line over the picture, from the drag start to the pointer, while the state
    // shows it; the viewport is set back afterwards. The view's context is current.
    static void DrawPanLine(const CViewState& state, const wxSize& clientPixels,
                            const SViewport& viewport);

private:
    SMouseEvent MakeMouseEvent(const wxMouseEvent& event) const;
    // Runs a rule with the picker of the view's passes, the context current; nothing without
    // a context.
    template <class Rule> void RunMouseRule(Rule&& rule);
    // A button pressed in a window that is not the active one makes it active before the click
    // acts, so that what the click shows (the article in the status bar) stays.
    void ActivateWindow();
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

    CZarnelView& m_view;
};
