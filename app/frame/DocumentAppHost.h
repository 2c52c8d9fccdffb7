// What the design documents take from the application object: the two render-quality profiles
// that their commands edit, the parts-list template, the main window and the 15 cm snap option.
// The application object implements it and the documents find it through wxTheApp, so that the
// frame does not depend on the application's class, which names every kind of view.
#pragma once

#include <wx/app.h>

class CMainFrm;
class CRndrQult;
class wxDocTemplate;

class CDocumentAppHost {
public:
    // "RndrQultLow" and "RndrQultHigh"; null when they could not be made.
    virtual CRndrQult* GetEditQuality() const = 0;
    virtual CRndrQult* GetPhotoQuality() const = 0;
    // The invisible template whose windows are parts lists; null before start-up.
    virtual wxDocTemplate* GetPartsListTemplate() const = 0;
    // The main window; null before start-up and after it closed.
    virtual CMainFrm* GetMainFrame() const = 0;
    virtual bool IsWideSnap() const = 0;

    // The running application's host; null when the application keeps none.
    static CDocumentAppHost* Find() { return dynamic_cast<CDocumentAppHost*>(wxTheApp); }

protected:
    ~CDocumentAppHost() = default;
};
