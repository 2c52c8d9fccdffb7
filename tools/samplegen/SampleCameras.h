// The cameras of the sample designs: each shows the whole design in the middle of the picture,
// large enough to see, in any window from 4 : 3 to wide.
#pragma once

class CZarnelDcmt;

// Sets the document's four cameras: from the front at an angle and from above (the one a
// window opens with), straight from the front, from the side, and from high above. frontTurn
// is the model turn (degrees) that shows the design's front. The design's outline is taken from
// its couplings and from the boxes its roofs and slides are drawn in.
void FrameCameras(CZarnelDcmt& dcmt, int frontTurn);
