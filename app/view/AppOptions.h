// What the 3D view takes from the application: options that hold for every window. The view's
// logic gets them as values (SAppOptions); the window asks the application for them through
// CAppOptionsHost, which the application object implements, so that no view code depends on the
// application's class.
#pragma once

class CRndrQult;

// Print margins in hundredths of a millimetre.
struct SPrintMargins {
    int left = 2500;
    int top = 1500;
    int right = 1500;
    int bottom = 1500;
};

struct SAppOptions {
    // The option "Fangradius=15cm": couplings are searched within 150 mm instead of 40 mm.
    bool wideSnap = false;
    // The render-quality profiles "RndrQultLow" and "RndrQultHigh"; null when they could not be
    // made. Owned by the application.
    const CRndrQult* editQuality = nullptr;
    const CRndrQult* photoQuality = nullptr;
    SPrintMargins printMargins;
};

class CAppOptionsHost {
public:
    virtual SAppOptions GetAppOptions() const = 0;
    virtual void SetWideSnap(bool wide) = 0;

protected:
    ~CAppOptionsHost() = default;
};
