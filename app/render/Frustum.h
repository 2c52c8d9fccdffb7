// The view volume as six planes in model coordinates, and the sphere that holds everything an
// element's drawing sends, so that a pass can leave out the elements that cannot reach the view.
#pragma once

#include <array>

#include "model/Elmnt.h"
#include "support/Vector3.h"

// GL's current projection times model-view matrix (column-major): model coordinates to clip
// coordinates.
std::array<double, 16> GetGlClipMatrix();

class CFrustum {
public:
    // The volume of a combined matrix (projection times model view, column-major): the points
    // whose clip coordinates lie inside -w..w on every axis.
    explicit CFrustum(const std::array<double, 16>& clip);
    // The volume of GL's current projection and model-view matrices.
    static CFrustum FromGl();

    // True when the whole sphere lies outside one of the planes: nothing in it can be seen
    // (exact for each plane, conservative near the edges and corners of the volume).
    bool IsSphereOutside(const CVector3& centre, double radius) const;

private:
    // a x + b y + c z + d >= 0 inside, (a, b, c) of unit length; all zero for a plane that
    // does not bound anything.
    std::array<std::array<double, 4>, 6> m_planes{};
};

// The radius about the element's origin (mm, in the design's frame) of a sphere that holds every
// vertex its drawing sends in any pass, tool mode and display (explosion included); negative
// for an element whose extent is not known in advance (the floor grid, a model read from a
// file), which must always be sent.
double GetDrawRadius(const CElmnt& elmnt);
// False only when the element's drawing surely lies outside the volume (an element whose extent
// is not known always may reach it): the one test by which a pass leaves an element out.
bool MayReach(const CFrustum& volume, const CElmnt& elmnt);
