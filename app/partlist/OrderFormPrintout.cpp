// Drawing the order form. Every measure is in tenths of an inch (COrderFormLayout); the texts
// come from the string table, numbers follow the user's locale.
#include "app/partlist/OrderFormPrintout.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <iterator>
#include <string>

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/pen.h>

#include "app/dialogs/LangTextWx.h"
#include "support/LocaleNumber.h"
#include "support/Resources.h"

namespace {

constexpr uint32_t kPositionCaption = 4128; // "Pos."
constexpr uint32_t kArticleCaption = 4129;
constexpr uint32_t kOrderNumberCaption = 4130;
constexpr uint32_t kQuantityCaption = 4131;
constexpr uint32_t kUnitPriceCaption = 4132;
constexpr uint32_t kTotalCaption = 4133;
constexpr uint32_t kFontFace = 4134; // "Arial"
constexpr uint32_t kTitle = 4154;    // "Bestellung"
constexpr uint32_t kContact = 4155;
constexpr uint32_t kDeliveryAddress = 4156;
constexpr uint32_t kBillingAddress = 4157;
constexpr uint32_t kCarryOver = 4158; // "Übertrag"
constexpr uint32_t kSum = 4159;       // "Summe"
constexpr uint32_t kLogo = 608;

constexpr int kFormPoints = 11;
constexpr int kTitlePoints = 24;
constexpr int kContactPoints = 12;
// A text that would run into the next column shrinks to no less than this part of its size.
constexpr double kSmallestScale = 0.6;

// Columns of every row, in tenths of an inch: from, to.
struct SColumn {
    int from;
    int to;
};
constexpr SColumn kPosition{10, 14};
constexpr SColumn kArticle{15, 45};
constexpr SColumn kOrderNumber{45, 51};
constexpr SColumn kQuantity{51, 55};
constexpr SColumn kUnitPrice{55, 62};
constexpr SColumn kTotal{62, 70};

wxString FromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.c_str());
}

wxString Price(double value) {
    return FromUtf8(FormatFixed(value, 2, LocaleDecimalChar()));
}
wxString Count(int64_t value) {
    return FromUtf8(std::to_string(value));
}

// Today in the locale's short form ("%x").
wxString TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[128] = {};
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(text, sizeof text, "%x", &local) == 0) {
        return {};
    }
    return wxString(text, wxConvLibc);
}

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The logo as the resources keep it (a BMP without its file header); an invalid image when it
// is missing or damaged.
wxImage LogoImage() {
    uint32_t size = 0;
    const unsigned char* dib = FindResourceData(ResourceType::Bitmap, kLogo, &size);
    if (dib == nullptr || size < 40) {
        return {};
    }
    const uint32_t infoSize = ReadLittleEndian32(dib);
    const unsigned bitCount = dib[14] | dib[15] << 8;
    const uint32_t colours = ReadLittleEndian32(dib + 32);
    if (infoSize < 40 || infoSize > size) {
        return {};
    }
    const uint32_t tableBytes = bitCount <= 8 ? 4 * (colours != 0 ? colours : 1u << bitCount) : 0;
    constexpr uint32_t kFileHeader = 14;
    const uint32_t bitsOffset = kFileHeader + infoSize + tableBytes;
    std::string file(kFileHeader, '\0');
    file[0] = 'B';
    file[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        file[2 + i] = static_cast<char>((kFileHeader + size) >> (8 * i));
        file[10 + i] = static_cast<char>(bitsOffset >> (8 * i));
    }
    file.append(reinterpret_cast<const char*>(dib), size);
    wxMemoryInputStream stream(file.data(), file.size());
    wxLogNull noLog; // a damaged picture only leaves the logo out
    wxImage image;
    if (!image.LoadFile(stream, wxBITMAP_TYPE_BMP)) {
        return {};
    }
    return image;
}

} // namespace

COrderFormPrintout::COrderFormPrintout(const wxString& title, std::vector<SOrderLine> lines,
                                       bool tableHasEntries)
    : wxPrintout(title), m_lines(std::move(lines)), m_tableHasEntries(tableHasEntries),
      m_fontFace(LangTextWx(kFontFace)), m_date(TodayText()) {}

wxFont COrderFormPrintout::MakeFont(int points) const {
    return wxFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).FaceName(m_fontFace));
}

bool COrderFormPrintout::PrepareDevice() {
    wxDC* dc = GetDC();
    if (dc == nullptr) {
        return false;
    }
    MapScreenSizeToPage();
    if (m_prepared) {
        return true;
    }
    int ppiX = 0;
    int ppiY = 0;
    GetPPIScreen(&ppiX, &ppiY);
    m_metrics.resolutionX = ppiX;
    m_metrics.resolutionY = ppiY;
    m_metrics.printableHeight = GetLogicalPageRect().GetHeight();
    wxCoord width = 0;
    dc->SetFont(MakeFont(kFormPoints));
    dc->GetTextExtent("m", &width, &m_metrics.lineHeight);
    dc->SetFont(MakeFont(kTitlePoints));
    dc->GetTextExtent("m", &width, &m_metrics.titleLineHeight);
    dc->SetFont(wxNullFont);
    m_pages = PaginateOrderForm(m_lines, m_tableHasEntries, COrderFormLayout(m_metrics));
    m_prepared = true;
    return true;
}

void COrderFormPrintout::OnPreparePrinting() {
    PrepareDevice();
}

void COrderFormPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    if (!m_prepared) {
        PrepareDevice();
    }
    const int count = static_cast<int>(m_pages.size());
    *minPage = count > 0 ? 1 : 0;
    *maxPage = count;
    *pageFrom = *minPage;
    *pageTo = count;
}

bool COrderFormPrintout::HasPage(int page) {
    return page >= 1 && static_cast<std::size_t>(page) <= m_pages.size();
}

bool COrderFormPrintout::OnPrintPage(int page) {
    if (!PrepareDevice() || !HasPage(page)) {
        return false;
    }
    wxDC& dc = *GetDC();
    const SOrderFormPage& current = m_pages[static_cast<std::size_t>(page - 1)];
    const bool firstPage = page == 1;
    const COrderFormLayout layout(m_metrics);
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetPen(wxPen(*wxBLACK, 1));

    PrintLogo(dc);
    dc.SetFont(MakeFont(kTitlePoints));
    PrintText(dc, LangTextWx(kTitle), layout.X(50), layout.X(70), layout.TitleTop(), Align::Left);
    dc.SetFont(MakeFont(kFormPoints));
    PrintText(dc, m_date, layout.X(50), layout.X(70), layout.DateTop(), Align::Left);
    PrintTextBlock(dc, LangTextWx(kContact), layout.X(10), layout.X(38), layout.Y(15));
    dc.SetFont(MakeFont(kFormPoints));
    if (firstPage) {
        PrintAddressBox(dc, LangTextWx(kDeliveryAddress), layout.X(10), layout.X(38));
        PrintAddressBox(dc, LangTextWx(kBillingAddress), layout.X(42), layout.X(70));
    }
    PrintHeader(dc, firstPage);

    int top = layout.FirstRowTop(firstPage);
    int64_t position = current.firstPosition;
    for (std::size_t i = current.firstLine; i < current.endLine; ++i, ++position) {
        const SOrderLine& line = m_lines[i];
        PrintRow(dc, top, Count(position) + ".", FromUtf8(line.designation),
                 FromUtf8(line.orderNumber), Count(line.quantity), Price(line.unitPrice),
                 Price(line.amount));
        top += layout.LineHeight();
    }
    PrintSumRow(dc, top, LangTextWx(current.last ? kSum : kCarryOver), current.pieces, current.amount);
    dc.SetFont(wxNullFont);
    return true;
}

void COrderFormPrintout::PrintLogo(wxDC& dc) const {
    const wxImage image = LogoImage();
    if (!image.IsOk() || image.GetWidth() <= 0) {
        return;
    }
    const COrderFormLayout layout(m_metrics);
    const int width = layout.X(20);
    const int height =
        static_cast<int>(static_cast<int64_t>(layout.Y(20)) * image.GetHeight() / image.GetWidth());
    wxBitmap bitmap(image);
    wxMemoryDC source(bitmap);
    dc.StretchBlit(layout.X(50), layout.Y(5), width, height, &source, 0, 0, image.GetWidth(),
                   image.GetHeight());
}

void COrderFormPrintout::PrintText(wxDC& dc, const wxString& text, int left, int right, int top,
                                   Align align) const {
    if (text.empty()) {
        return;
    }
    int x = left;
    if (align == Align::Right) {
        x = right - dc.GetTextExtent(text).GetWidth();
    }
    dc.DrawText(text, x, top);
}

void COrderFormPrintout::PrintFitted(wxDC& dc, const wxString& text, int left, int top,
                                     int width) const {
    // The same baseline in a smaller font, so that the text ends before the next one; what
    // still does not fit is cut off rather than drawn over its neighbour.
    const wxFont font = dc.GetFont();
    wxCoord fullWidth = 0;
    wxCoord fullHeight = 0;
    wxCoord fullDescent = 0;
    dc.GetTextExtent(text, &fullWidth, &fullHeight, &fullDescent);
    // Text widths do not shrink in proportion to the font (glyphs snap to whole pixels), so
    // the size is lowered in steps until the text fits.
    double scale = std::max(kSmallestScale, static_cast<double>(width) / fullWidth);
    wxCoord smallWidth = 0;
    wxCoord smallHeight = 0;
    wxCoord smallDescent = 0;
    while (true) {
        dc.SetFont(font.Scaled(static_cast<float>(scale)));
        dc.GetTextExtent(text, &smallWidth, &smallHeight, &smallDescent);
        if (smallWidth <= width || scale <= kSmallestScale) {
            break;
        }
        scale = std::max(kSmallestScale, scale - 0.05);
    }
    const int baseline = top + fullHeight - fullDescent;
    const bool clip = smallWidth > width;
    if (clip) {
        dc.SetClippingRegion(left, top, std::max(width, 0), fullHeight);
    }
    dc.DrawText(text, left, baseline - (smallHeight - smallDescent));
    if (clip) {
        dc.DestroyClippingRegion();
    }
    dc.SetFont(font);
}

void COrderFormPrintout::PrintRow(wxDC& dc, int top, const wxString& position,
                                  const wxString& article, const wxString& orderNumber,
                                  const wxString& quantity, const wxString& unitPrice,
                                  const wxString& total) const {
    const COrderFormLayout layout(m_metrics);
    struct SCell {
        const wxString& text;
        SColumn column;
        Align align;
        int left = 0;
        int width = 0;
    };
    SCell cells[] = {{position, kPosition, Align::Right},      {article, kArticle, Align::Left},
                     {orderNumber, kOrderNumber, Align::Left}, {quantity, kQuantity, Align::Right},
                     {unitPrice, kUnitPrice, Align::Right},    {total, kTotal, Align::Right}};
    for (SCell& cell : cells) {
        cell.width = cell.text.empty() ? 0 : dc.GetTextExtent(cell.text).GetWidth();
        cell.left = cell.align == Align::Right ? layout.X(cell.column.to) - cell.width
                                               : layout.X(cell.column.from);
    }
    // A left-aligned text may run on into the next columns while they are empty (as a long
    // designation does); it must end a little before the next text of the row.
    const int gap = layout.X(1) / 2;
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        const SCell& cell = cells[i];
        if (cell.text.empty()) {
            continue;
        }
        int limit = layout.X(kTotal.to);
        for (std::size_t j = i + 1; j < std::size(cells); ++j) {
            if (!cells[j].text.empty()) {
                limit = cells[j].left - gap;
                break;
            }
        }
        if (cell.align == Align::Left && cell.left + cell.width > limit) {
            PrintFitted(dc, cell.text, cell.left, top, limit - cell.left);
        } else {
            dc.DrawText(cell.text, cell.left, top);
        }
    }
}

void COrderFormPrintout::PrintHeader(wxDC& dc, bool firstPage) const {
    const COrderFormLayout layout(m_metrics);
    PrintRow(dc, layout.HeaderTop(firstPage), LangTextWx(kPositionCaption), LangTextWx(kArticleCaption),
             LangTextWx(kOrderNumberCaption), LangTextWx(kQuantityCaption), LangTextWx(kUnitPriceCaption),
             LangTextWx(kTotalCaption));
    PrintRule(dc, layout.X(10), layout.X(70), layout.HeaderRuleTop(firstPage));
}

void COrderFormPrintout::PrintTextBlock(wxDC& dc, const wxString& text, int left, int right,
                                        int top) const {
    dc.SetFont(MakeFont(kContactPoints));
    const int lineHeight = dc.GetTextExtent("m").GetHeight();
    for (const wxString& line : wxSplit(text, '\n', '\0')) {
        PrintText(dc, line, left, right, top, Align::Left);
        top += lineHeight;
    }
}

void COrderFormPrintout::PrintAddressBox(wxDC& dc, const wxString& caption, int left,
                                         int right) const {
    const COrderFormLayout layout(m_metrics);
    PrintText(dc, caption, left, right, layout.TitleBottom(), Align::Left);
    for (int rule = 1; rule <= 4; ++rule) {
        PrintRule(dc, left, right, layout.AddressRuleTop(rule));
    }
}

void COrderFormPrintout::PrintSumRow(wxDC& dc, int rowsEnd, const wxString& caption, int64_t pieces,
                                     double amount) const {
    const COrderFormLayout layout(m_metrics);
    for (int rule = 1; rule <= 2; ++rule) {
        const int top = layout.SumRuleTop(rowsEnd, rule);
        PrintRule(dc, layout.X(50), layout.X(55), top); // over the pieces
        PrintRule(dc, layout.X(62), layout.X(70), top); // over the amount
    }
    PrintRow(dc, layout.SumRowTop(rowsEnd), wxString(), caption, wxString(), Count(pieces),
             wxString(), Price(amount));
}

void COrderFormPrintout::PrintRule(wxDC& dc, int left, int right, int top) const {
    dc.DrawLine(left, top, right, top);
}
