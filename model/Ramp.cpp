// Ramp geometry: the solution of the right triangle (or of the tilted model), the turned
// placement, the allowed axes by kind and arms, the standard geometries, the settings and the
// revision that applies the result.
#include "model/Ramp.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "model/Elmnt.h"
#include "model/ElmntKind.h"
#include "model/ZarnelDcmt.h"
#include "support/AngleConstants.h"
#include "support/Registry.h"
#include "support/SettingsStore.h"

namespace {

// Side bits of the axes.
constexpr uint32_t kAxisX = 1 | 2;
constexpr uint32_t kAxisY = 4 | 8;
constexpr uint32_t kAxisZ = 16 | 32;
// Bit of the hole, flexible and bearing couplings' turn variant: placed across a tube.
constexpr int32_t kAcrossTube = 32;

// Stores a computed measure only when it is a number.
void Take(double& measure, double computed) {
    if (std::isfinite(computed)) {
        measure = computed;
    }
}

bool Both(const SRampValues& v, RampMeasure a, RampMeasure b) {
    return v.IsSelected(a) && v.IsSelected(b);
}

void SolveRampOnly(SRampValues& v) {
    using M = RampMeasure;
    const double h = v.height;
    const double l = v.length;
    const double t = v.run;
    const double r = v.angle * DEG2RAD;
    if (Both(v, M::Run, M::Height)) {
        Take(v.angle, std::atan(h / t) * RAD2DEG);
        Take(v.length, std::sqrt(t * t + h * h));
    } else if (Both(v, M::Length, M::Height)) {
        Take(v.angle, std::asin(h / l) * RAD2DEG);
        Take(v.run, std::sqrt(l * l - h * h));
    } else if (Both(v, M::Length, M::Run)) {
        Take(v.angle, std::acos(t / l) * RAD2DEG);
        Take(v.height, std::sqrt(l * l - t * t));
    } else if (Both(v, M::Angle, M::Height)) {
        Take(v.length, h / std::sin(r));
        Take(v.run, h / std::tan(r));
    } else if (Both(v, M::Angle, M::Run)) {
        Take(v.length, t / std::cos(r));
        Take(v.height, t * std::tan(r));
    } else if (Both(v, M::Angle, M::Length)) {
        Take(v.run, l * std::cos(r));
        Take(v.height, l * std::sin(r));
    } else {
        v.angle = 0.0;
    }
}

void SolveWholeModel(SRampValues& v) {
    using M = RampMeasure;
    const double r = v.angle * DEG2RAD;
    if (Both(v, M::Length, M::Height)) {
        Take(v.angle, std::atan(v.height / v.length) * RAD2DEG);
    } else if (Both(v, M::Angle, M::Length)) {
        Take(v.height, std::tan(r) * v.length);
    } else if (Both(v, M::Angle, M::Height)) {
        Take(v.length, v.height / std::tan(r));
    } else {
        v.angle = 0.0;
    }
}

// The axis pair that RotateDeg turns for each axis code, so that a positive angle turns the
// element right-handed about that axis.
struct SAxisPair {
    int a, b;
};
constexpr std::array<SAxisPair, 6> kAxisPairs{{{1, 2}, {2, 1}, {2, 0}, {0, 2}, {0, 1}, {1, 0}}};

bool RelinksEnds(ElmntKind kind) {
    return kind == ElmntKind::RoundTube || kind == ElmntKind::HoleConnector ||
           kind == ElmntKind::FlexiConnector || kind == ElmntKind::BearingConnector;
}

// The four arm directions across the axis: 60 for X, 51 for Y, 15 for Z.
uint32_t DirectionsAcross(int axis) {
    switch (axis / 2) {
    case 0:
        return 60;
    case 1:
        return 51;
    default:
        return 15;
    }
}

const std::vector<SRampRow> kRampOnlyRows = {
    {" 0.00°", " 0", "40", ""},      {"41.81°", "40", "60", ""},   {"34.85°", "40", "70", ""},
    {"30.00°", "40", "80", ""},      {"29.75°", "40", "", "70"},   {"36.87°", "60", "100", "80"},
    {"30.00°", "60", "120", ""},     {"41.81°", "80", "120", ""},  {"34.85°", "80", "140", ""},
    {"30.00°", "80", "160", ""},     {"63.43°", "80", "", "40"},   {"29.75°", "80", "", "140"},
    {"36.87°", "120", "200", "160"}, {"30.00°", "120", "240", ""},
};
const std::vector<SRampRow> kWholeModelRows = {
    {" 0.00°", " 0", "40", ""}, {"45.00°", "40", "40", ""},  {"33.69°", "40", "60", ""},
    {"26.57°", "40", "80", ""}, {"21.80°", "40", "100", ""}, {"18.43°", "40", "120", ""},
};
const std::vector<SRampRow> kNoRows;

// The names of the stored values.
constexpr const char* kNameHeight = "h";
constexpr const char* kNameLength = "l";
constexpr const char* kNameRun = "t";
constexpr const char* kNameAngle = "a";
constexpr const char* kNameAxis = "axis";
constexpr const char* kNameType = "type";
constexpr const char* kNameAbsolute = "absl";
constexpr std::array<const char*, RampMeasureCount> kNameSelected{"slcth", "slctl", "slctt",
                                                                  "slcta"};

void ReadDouble(const SettingsStore& store, const char* name, double& value) {
    SettingValue stored;
    if (!store.ReadValue(kRampSettingsKey, name, stored) || stored.type != SettingType::Binary ||
        stored.bytes.size() != sizeof(double)) {
        return;
    }
    double read = 0.0;
    std::memcpy(&read, stored.bytes.data(), sizeof read);
    if (std::isfinite(read)) {
        value = read;
    }
}

bool ReadDword(const SettingsStore& store, const char* name, uint32_t& value) {
    SettingValue stored;
    if (!store.ReadValue(kRampSettingsKey, name, stored) || stored.type != SettingType::Dword) {
        return false;
    }
    value = stored.dword;
    return true;
}

} // namespace

double& SRampValues::Measure(RampMeasure m) {
    switch (m) {
    case RampMeasure::Height:
        return height;
    case RampMeasure::Length:
        return length;
    case RampMeasure::Run:
        return run;
    case RampMeasure::Angle:
        return angle;
    }
    return angle;
}

void SolveRamp(SRampValues& values) {
    if (values.type == RampType::RampOnly) {
        SolveRampOnly(values);
    } else if (values.type == RampType::WholeModel) {
        SolveWholeModel(values);
    } else {
        values.angle = 0.0;
    }
}

CTransform RampPlacement(const CTransform& saved, const SRampValues& values) {
    CTransform placement = saved;
    if (values.absolute != 0) {
        placement.RoundToAxes();
    }
    if (values.axis >= 0 && values.axis < static_cast<int>(kAxisPairs.size())) {
        const SAxisPair pair = kAxisPairs[static_cast<std::size_t>(values.axis)];
        placement.RotateDeg(values.angle, pair.a, pair.b);
    }
    return placement;
}

uint32_t RampAllowedAxes(const CElmnt& elmnt) {
    const uint32_t arms = elmnt.GetOccupiedArms();
    switch (elmnt.kind) {
    case ElmntKind::RoundTube:
    case ElmntKind::Bolt:
        return kAxisX;
    case ElmntKind::BearingConnector:
    case ElmntKind::HoleConnector:
    case ElmntKind::FlexiConnector:
        return (elmnt.turnVariant & kAcrossTube) != 0 ? kAxisY : kAxisX;
    case ElmntKind::Connector:
    case ElmntKind::Connector45: {
        uint32_t allowed = 0;
        if ((arms & (kAxisX | kAxisY)) == 0) {
            allowed |= kAxisZ;
        }
        if ((arms & (kAxisX | kAxisZ)) == 0) {
            allowed |= kAxisY;
        }
        if ((arms & (kAxisY | kAxisZ)) == 0) {
            allowed |= kAxisX;
        }
        return allowed;
    }
    default:
        return arms;
    }
}

int RampInitialAxis(int storedAxis, uint32_t allowedAxes) {
    if (storedAxis >= 0 && storedAxis < 6 && (allowedAxes & (1u << storedAxis)) != 0) {
        return storedAxis;
    }
    for (int axis : {0, 2, 4}) {
        if ((allowedAxes & (1u << axis)) != 0) {
            return axis;
        }
    }
    return RampNoAxis;
}

bool CRampSelection::Click(SRampValues& values, RampMeasure clicked) {
    auto flag = [&values](RampMeasure m) -> bool& {
        return values.selected[static_cast<std::size_t>(m)];
    };
    // The clicked measure becomes the most recently chosen.
    std::size_t at = 0;
    while (m_order[at] != clicked) {
        ++at;
    }
    for (; at + 1 < m_order.size(); ++at) {
        m_order[at] = m_order[at + 1];
    }
    m_order.back() = clicked;

    if (!flag(clicked)) {
        flag(clicked) = true;
        return false;
    }
    auto count = [&values] {
        int n = 0;
        for (bool s : values.selected) {
            n += s ? 1 : 0;
        }
        return n;
    };
    for (RampMeasure m : m_order) {
        if (count() <= 2) {
            break;
        }
        if (m != clicked && flag(m)) {
            flag(m) = false;
        }
    }
    return true;
}

const std::vector<SRampRow>& GetRampRows(int type) {
    if (type == RampType::RampOnly) {
        return kRampOnlyRows;
    }
    if (type == RampType::WholeModel) {
        return kWholeModelRows;
    }
    return kNoRows;
}

void TakeRampRow(SRampValues& values, const SRampRow& row) {
    values.selected = {false, false, false, false};
    int taken = 0;
    auto take = [&](const std::string& cell, RampMeasure m) {
        if (cell.empty() || taken >= 2) {
            return;
        }
        // The cells are whole numbers, the same in every locale.
        values.Measure(m) = std::strtod(cell.c_str(), nullptr);
        values.selected[static_cast<std::size_t>(m)] = true;
        ++taken;
    };
    take(row.height, RampMeasure::Height);
    take(row.length, RampMeasure::Length);
    take(row.run, RampMeasure::Run);
    SolveRamp(values);
}

SRampValues LoadRampValues() {
    SRampValues values;
    const SettingsStore store(SettingsRoot::CurrentUser);
    ReadDouble(store, kNameHeight, values.height);
    ReadDouble(store, kNameLength, values.length);
    ReadDouble(store, kNameRun, values.run);
    ReadDouble(store, kNameAngle, values.angle);
    uint32_t dword = 0;
    if (ReadDword(store, kNameAxis, dword)) {
        const auto axis = static_cast<int32_t>(dword);
        values.axis = axis >= 0 && axis < 6 ? axis : RampNoAxis;
    }
    if (ReadDword(store, kNameType, dword) && dword <= 1) {
        values.type = static_cast<int>(dword);
    }
    if (ReadDword(store, kNameAbsolute, dword) && dword <= 1) {
        values.absolute = static_cast<int>(dword);
    }
    for (std::size_t m = 0; m < kNameSelected.size(); ++m) {
        if (ReadDword(store, kNameSelected[m], dword)) {
            values.selected[m] = dword != 0;
        }
    }
    return values;
}

bool StoreRampValues(const SRampValues& values) {
    RegKey key;
    if (!RegKeyCreate(SettingsRoot::CurrentUser, kRampSettingsKey, key)) {
        return false;
    }
    bool stored = RegWriteDouble(key, kNameHeight, values.height) &&
                  RegWriteDouble(key, kNameLength, values.length) &&
                  RegWriteDouble(key, kNameRun, values.run) &&
                  RegWriteDouble(key, kNameAngle, values.angle) &&
                  RegWriteDword(key, kNameAxis, static_cast<uint32_t>(values.axis)) &&
                  RegWriteDword(key, kNameType, static_cast<uint32_t>(values.type)) &&
                  RegWriteDword(key, kNameAbsolute, static_cast<uint32_t>(values.absolute));
    for (std::size_t m = 0; stored && m < kNameSelected.size(); ++m) {
        stored = RegWriteDword(key, kNameSelected[m], values.selected[m] ? 1u : 0u);
    }
    RegKeyClose(key);
    return stored;
}

bool ApplyRamp(CZarnelDcmt& dcmt, CElmnt& elmnt, const CTransform& saved, const SRampValues& values,
               int32_t couplingMaterial, double snapRadiusSq) {
    elmnt.placement = saved;
    const CTransform target = RampPlacement(saved, values);
    if (target == saved) {
        return false;
    }
    CElmntList& list = dcmt.GetElmntList();
    const Revision r = dcmt.NewRevision();
    const bool relink = RelinksEnds(elmnt.kind);
    // The history copy first: releasing the ends may clear the element's fixed flag.
    elmnt.BeginChange(r, list, couplingMaterial);
    if (relink) {
        elmnt.UnlinkEnds(r, list, couplingMaterial);
    }
    const bool turned = values.angle != 0.0 && values.axis >= 0 && values.axis < 6;
    if (turned && values.type == RampType::RampOnly && elmnt.fixed) {
        elmnt.SetDirections(DirectionsAcross(values.axis));
    }
    elmnt.placement = target;
    if (relink) {
        elmnt.LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    }
    dcmt.FinishChange(ViewHint::Change);
    return true;
}
