// The order form of a parts list window as a print job: a page head with the maker's logo, the
// title "Bestellung", the date and the contact lines, the delivery and billing address boxes on
// page 1, one row per article to order, a carry-over row "Übertrag" at the foot of every page
// but the last and the sum row "Summe" at the end. Serves printing and the print preview.
//
// The printout keeps its own copy of the order lines, taken when it is made, so that a preview
// left open while the design changes (or closes) never reads the parts table again. It draws
// with one logical unit per screen pixel at the paper's real size, so that fonts given in
// points print at their size in the preview and on any printer resolution.
#pragma once

#include <vector>

#include <wx/font.h>
#include <wx/prntbase.h>

#include "app/partlist/OrderFormLayout.h"
#include "model/PartsSummary.h"

class wxDC;

class COrderFormPrintout : public wxPrintout {
public:
    // tableHasEntries: false prints no page (a parts table without any entry).
    COrderFormPrintout(const wxString& title, std::vector<SOrderLine> lines, bool tableHasEntries);

    // Measures the fonts on the print job's device and breaks the order into pages.
    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    // The pages of the job; empty before the job's device is known.
    const std::vector<SOrderFormPage>& GetPages() const { return m_pages; }
    const SOrderFormMetrics& GetMetrics() const { return m_metrics; }

private:
    enum class Align { Left, Right };

    // Sets the device's scale (logical units = screen pixels, origin at the printable area)
    // and, once per job, measures and paginates. False without a device.
    bool PrepareDevice();
    wxFont MakeFont(int points) const;

    void PrintLogo(wxDC& dc) const;
    void PrintText(wxDC& dc, const wxString& text, int left, int right, int top, Align align) const;
    // text from left in the current font, made smaller (or cut) to end within width.
    void PrintFitted(wxDC& dc, const wxString& text, int left, int top, int width) const;
    // The six columns of one row at top: position, article, order number, quantity, unit
    // price, total.
    void PrintRow(wxDC& dc, int top, const wxString& position, const wxString& article,
                  const wxString& orderNumber, const wxString& quantity, const wxString& unitPrice,
                  const wxString& total) const;
    void PrintHeader(wxDC& dc, bool firstPage) const;
    // Lines separated by line feeds in the 12-point font from top, between left and right.
    void PrintTextBlock(wxDC& dc, const wxString& text, int left, int right, int top) const;
    void PrintAddressBox(wxDC& dc, const wxString& caption, int left, int right) const;
    void PrintSumRow(wxDC& dc, int rowsEnd, const wxString& caption, int64_t pieces,
                     double amount) const;
    void PrintRule(wxDC& dc, int left, int right, int top) const;

    std::vector<SOrderLine> m_lines;
    bool m_tableHasEntries;
    bool m_prepared = false;
    SOrderFormMetrics m_metrics;
    std::vector<SOrderFormPage> m_pages;
    wxString m_fontFace;
    wxString m_date;
};
