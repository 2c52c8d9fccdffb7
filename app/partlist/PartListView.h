// The parts list window of a design (template 102): the report list of the articles the design
// uses, refilled after every change of the design; a double-click on an article edits its
// stock count, order number and price in place; the list file commands of the menu
// "Import/Export", "Alles anzeigen", and printing the order form.
//
// The window borrows the design through its document and holds no parts-table entry across an
// update: its rows name articles by table position, renewed at every refill, and an edit looks
// its article up again by designation before it changes it.
#pragma once

#include <cstddef>

#include <wx/docview.h>

#include "app/frame/ZarnelWxView.h"
#include "app/partlist/DlgPrtList.h"

class CPartListCtrl;
class wxListEvent;

class CPartListView : public CZarnelWxView {
public:
    CPartListView();

    // Makes the list in the view's frame.
    bool OnCreate(wxDocument* document, long flags) override;
    void OnDraw(wxDC*) override {}
    // The order form of the articles missing from stock (every article under "Alles
    // anzeigen"); nullptr, so that nothing is printed, when the parts table has no entry.
    wxPrintout* OnCreatePrintout() override;

    CPartListCtrl* GetListCtrl() const { return m_list; }
    // Also list the articles that the design does not use.
    bool IsShowAll() const { return m_showAll; }
    // A stock count was changed in the entry dialog of this window.
    bool IsStockEdited() const { return m_stockEdited; }

    // Edits the article of a row with the entry dialog; rows without an article do nothing.
    void EditRow(long row);
    // Applies the entry dialog's values to the article with values.designation, if the table
    // still holds it, and updates every window on the design. False when it is gone.
    bool ApplyEntryValues(const SPrtListValues& values);

protected:
    void OnDesignUpdate(wxView* sender, ViewHint hint) override;

private:
    void Refill();

    void OnItemActivated(wxListEvent& event);
    void OnExportPartsList(wxCommandEvent& event);
    void OnLoadPriceList(wxCommandEvent& event);
    void OnSavePriceList(wxCommandEvent& event);
    void OnLoadStockList(wxCommandEvent& event);
    void OnAddStockList(wxCommandEvent& event);
    void OnSaveStockList(wxCommandEvent& event);
    void OnViewShowAll(wxCommandEvent& event);
    void OnUpdateViewShowAll(wxUpdateUIEvent& event);
    void OnFilePrintDirect(wxCommandEvent& event);
    void OnUpdateEnabled(wxUpdateUIEvent& event);

    CPartListCtrl* m_list = nullptr; // owned by the frame
    bool m_stockEdited = false;
    bool m_showAll = false;

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(CPartListView);
};
