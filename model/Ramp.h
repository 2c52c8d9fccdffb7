// The geometry of the ramp, slide and rotation dialog: an element (typically a coupling that is to
// carry a ramp or a slide) is tilted by an angle about one of its local axes. The user gives two
// of the four measures of the drawing (h rise, l length, t run, w angle) and the other two
// follow. Here are the values, their solution, the placement they give, the axes an element may
// be turned about, the standard geometries, the dialog's last values in the settings, and the
// document operation that applies the result.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/Transform.h"

class CElmnt;
class CZarnelDcmt;

// The four measures, in the order of their check boxes.
enum class RampMeasure : int { Height = 0, Length = 1, Run = 2, Angle = 3 };
inline constexpr int RampMeasureCount = 4;

namespace RampType {
// The ramp itself is tilted: l is the slope length, h the rise, t the run (sin a = h / l,
// cos a = t / l, tan a = h / t).
inline constexpr int RampOnly = 0;
// The whole model is tilted: l is the horizontal length and h the rise (tan a = h / l); t is
// not used.
inline constexpr int WholeModel = 1;
} // namespace RampType

// Axis codes: -1 none, 0 to 5 the local axes X+, X-, Y+, Y-, Z+, Z- (side numbers; the side bit
// of axis n is 1 << n).
inline constexpr int RampNoAxis = -1;

// The dialog's values; the settings keep them from one use to the next.
struct SRampValues {
    int type = RampType::RampOnly;
    double angle = 0.0;  // w, degrees, 0 to 90
    double height = 0.0; // h, cm, 0 to 1000
    double length = 0.0; // l, cm, 0 to 1000
    double run = 0.0;    // t, cm, 0 to 1000
    int axis = RampNoAxis;
    int absolute = 1; // 1: start from the nearest world axes; 0: from the element's own turn
    // The two measures the user gave; the others are computed.
    std::array<bool, RampMeasureCount> selected{true, true, false, false};

    bool IsSelected(RampMeasure m) const { return selected[static_cast<std::size_t>(m)]; }
    double& Measure(RampMeasure m);

    friend bool operator==(const SRampValues&, const SRampValues&) = default;
};

// Computes the measures that were not given from the two that were (the first rule of the
// ramp type whose two measures are both selected); with no rule the angle becomes 0. A result
// that is not finite (a zero divisor, a rise longer than the slope) is not taken: that measure
// keeps its value.
void SolveRamp(SRampValues& values);

// The placement of the element for the values: the saved placement, turned to the nearest world
// axes when absolute, then turned by the angle about the axis (none: no turn).
CTransform RampPlacement(const CTransform& saved, const SRampValues& values);

// The side bits of the axes the element may be turned about: a bent tube and a bolt about X; the
// hole, flexible and bearing couplings about Y when they sit across a tube (turn variant bit 32),
// else about X; a plain or 45° coupling about an axis on which every occupied arm lies; any
// other kind about its occupied arms.
uint32_t RampAllowedAxes(const CElmnt& elmnt);
// The axis the dialog opens with: the stored one when allowed, else the first allowed of X+, Y+
// and Z+, else none.
int RampInitialAxis(int storedAxis, uint32_t allowedAxes);

// Keeps two measures selected. The order holds the measures least recently chosen first.
class CRampSelection {
public:
    // The user clicked the measure's check box, whose new state is in values. Clearing a box is
    // refused: it is set again and the result is false (the caller beeps). Setting one clears
    // the least recently chosen of the others while more than two are selected.
    bool Click(SRampValues& values, RampMeasure clicked);
    const std::array<RampMeasure, RampMeasureCount>& GetOrder() const { return m_order; }

private:
    std::array<RampMeasure, RampMeasureCount> m_order{RampMeasure::Height, RampMeasure::Length,
                                                      RampMeasure::Run, RampMeasure::Angle};
};

// One standard geometry: the texts of its cells w, h, l and t (an empty text for an empty cell).
struct SRampRow {
    std::string angle, height, length, run;
};
// The standard geometries of the ramp type (fourteen for the ramp alone, six for the whole
// model; none for another type).
const std::vector<SRampRow>& GetRampRows(int type);
// Takes a row: h and l where given, t where given while fewer than two measures were taken; only
// those are selected. Then SolveRamp.
void TakeRampRow(SRampValues& values, const SRampRow& row);

// The settings key of the dialog's last values (under the current user).
inline constexpr const char* kRampSettingsKey = "Software\\Zarnel\\Zarnel\\DlgRamp";
// The last values; a value that is missing, of another type or not finite keeps its default,
// and a type, axis or flag that no dialog writes is taken as the default too. Creates nothing.
SRampValues LoadRampValues();
// Stores all eleven values, creating the key when missing; false (nothing stored) when the
// settings cannot be written.
bool StoreRampValues(const SRampValues& values);

// The document operation behind the dialog's OK. saved is the element's placement when the
// dialog opened (the element must be back at it). When the placement of the values differs from
// it: a new revision in which the element (unlinked from and linked again to its couplings for
// the bent tube and the hole, flexible and bearing couplings) takes the new placement; a fixed
// element tilted as a ramp alone gets the four arm directions across the axis; the parts table is
// recounted and the views are told of the change. couplingMaterial is the slot that couplings
// created by linking receive, snapRadiusSq the squared snap radius in mm². False, and no
// revision, when the placement would not change.
bool ApplyRamp(CZarnelDcmt& dcmt, CElmnt& elmnt, const CTransform& saved, const SRampValues& values,
               int32_t couplingMaterial, double snapRadiusSq);
