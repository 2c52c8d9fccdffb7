// Painted with the dialog's own colours, so that it fits the theme at any size; the measure
// names are the dialog's column texts.
#include "app/dialogs/RampDrawing.h"

#include <cmath>

#include <wx/dcbuffer.h>
#include <wx/dcgraph.h>
#include <wx/settings.h>

#include "app/dialogs/LangTextWx.h"
#include "model/Ramp.h"

namespace {

// The names of the measures w, h, l, t (the list's column texts).
constexpr uint32_t kTextAngle = 2100008;
constexpr uint32_t kTextHeight = 2100009;
constexpr uint32_t kTextLength = 2100010;
constexpr uint32_t kTextRun = 2100011;

// The angle the drawing shows, degrees.
constexpr double kShownAngle = 30.0;

} // namespace

CRampDrawing::CRampDrawing(wxWindow* parent, int type)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, parent->FromDIP(wxSize(230, 150))),
      m_type(type) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CRampDrawing::OnPaint, this);
}

void CRampDrawing::SetType(int type) {
    if (type != m_type) {
        m_type = type;
        Refresh();
    }
}

void CRampDrawing::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC paintDc(this);
    wxGCDC dc(paintDc);
    const wxColour background = GetParent()->GetBackgroundColour();
    const wxColour ink = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
    dc.SetBackground(wxBrush(background));
    dc.Clear();
    dc.SetTextForeground(ink);
    dc.SetFont(GetFont().Bold());

    const wxSize size = GetClientSize();
    const double margin = FromDIP(24);
    const double left = margin;
    const double right = size.x - margin;
    const double bottom = size.y - margin;
    const double rise = (right - left) * std::tan(kShownAngle * M_PI / 180.0);
    const wxPoint foot(static_cast<int>(left), static_cast<int>(bottom));
    const wxPoint base(static_cast<int>(right), static_cast<int>(bottom));
    const wxPoint top(static_cast<int>(right), static_cast<int>(bottom - rise));
    const int gap = FromDIP(4);

    auto label = [&dc](const wxString& text, double x, double y) {
        const wxSize extent = dc.GetTextExtent(text);
        dc.DrawText(text, static_cast<int>(x - extent.x / 2.0),
                    static_cast<int>(y - extent.y / 2.0));
    };

    // The angle's arc at the foot of the slope.
    const int radius = FromDIP(34);
    dc.SetPen(wxPen(ink, FromDIP(1)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawEllipticArc(foot.x - radius, foot.y - radius, 2 * radius, 2 * radius, 0.0, kShownAngle);
    const double half = kShownAngle / 2.0 * M_PI / 180.0;
    label(LangTextWx(kTextAngle), foot.x + (radius + 9) * std::cos(half),
          foot.y - (radius + 9) * std::sin(half));

    // The rise, at the high end.
    dc.SetPen(wxPen(ink, FromDIP(1), wxPENSTYLE_SHORT_DASH));
    dc.DrawLine(base, top);
    label(LangTextWx(kTextHeight), top.x + gap * 3, (top.y + base.y) / 2.0);

    if (m_type == RampType::WholeModel) {
        // The horizontal length under the tilted model.
        dc.SetPen(wxPen(ink, FromDIP(1)));
        dc.DrawLine(foot, base);
        label(LangTextWx(kTextLength), (foot.x + base.x) / 2.0, bottom + gap * 3.5);
        // The model: a table standing square on the slope.
        const double ux = std::cos(kShownAngle * M_PI / 180.0);
        const double uy = -std::sin(kShownAngle * M_PI / 180.0);
        const double nx = -uy;
        const double ny = ux;
        const double length = std::hypot(top.x - foot.x, top.y - foot.y);
        const double legs = FromDIP(26);
        auto at = [&](double along, double up) {
            return wxPoint(static_cast<int>(foot.x + ux * along - nx * up),
                           static_cast<int>(foot.y + uy * along - ny * up));
        };
        dc.SetPen(wxPen(ink, FromDIP(3)));
        dc.DrawLine(at(0.0, legs), at(length, legs));
        dc.DrawLine(at(length * 0.08, 0.0), at(length * 0.08, legs));
        dc.DrawLine(at(length * 0.92, 0.0), at(length * 0.92, legs));
        dc.SetPen(wxPen(ink, FromDIP(1)));
        dc.DrawLine(foot, top);
    } else {
        // The ramp's slope over its run.
        dc.SetPen(wxPen(ink, FromDIP(1)));
        dc.DrawLine(foot, base);
        label(LangTextWx(kTextRun), (foot.x + base.x) / 2.0, bottom + gap * 3.5);
        dc.SetPen(wxPen(ink, FromDIP(4)));
        dc.DrawLine(foot, top);
        const double nx = std::sin(kShownAngle * M_PI / 180.0);
        const double ny = -std::cos(kShownAngle * M_PI / 180.0);
        label(LangTextWx(kTextLength), (foot.x + top.x) / 2.0 + nx * gap * 4,
              (foot.y + top.y) / 2.0 + ny * gap * 4);
    }
}
