// The parts list window: refill, the entry dialog, the commands and printing.
#include "app/partlist/PartListView.h"

#include <memory>

#include <wx/print.h>

#include "app/frame/CommandIds.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/partlist/OrderFormPrintout.h"
#include "app/partlist/PartListCommands.h"
#include "app/partlist/PartListCtrl.h"
#include "model/PartsSummary.h"
#include "model/ZarnelDcmt.h"

wxIMPLEMENT_DYNAMIC_CLASS(CPartListView, wxView);

CPartListView::CPartListView() {
    namespace Id = CommandId;
    Bind(wxEVT_MENU, &CPartListView::OnExportPartsList, this, WxCommandId(Id::ExportPartsList));
    Bind(wxEVT_MENU, &CPartListView::OnLoadPriceList, this, WxCommandId(Id::LoadPriceList));
    Bind(wxEVT_MENU, &CPartListView::OnSavePriceList, this, WxCommandId(Id::SavePriceList));
    Bind(wxEVT_MENU, &CPartListView::OnLoadStockList, this, WxCommandId(Id::LoadStockList));
    Bind(wxEVT_MENU, &CPartListView::OnAddStockList, this, WxCommandId(Id::AddStockList));
    Bind(wxEVT_MENU, &CPartListView::OnSaveStockList, this, WxCommandId(Id::SaveStockList));
    Bind(wxEVT_MENU, &CPartListView::OnViewShowAll, this, WxCommandId(Id::ShowAllParts));
    Bind(wxEVT_MENU, &CPartListView::OnFilePrintDirect, this, WxCommandId(Id::FilePrintDirect));
    for (uint32_t command :
         {Id::ExportPartsList, Id::LoadPriceList, Id::SavePriceList, Id::LoadStockList,
          Id::AddStockList, Id::SaveStockList, Id::FilePrintDirect}) {
        Bind(wxEVT_UPDATE_UI, &CPartListView::OnUpdateEnabled, this, WxCommandId(command));
    }
    Bind(wxEVT_UPDATE_UI, &CPartListView::OnUpdateViewShowAll, this, WxCommandId(Id::ShowAllParts));
}

bool CPartListView::OnCreate(wxDocument*, long) {
    wxWindow* frame = GetFrame();
    if (frame == nullptr || GetDcmt() == nullptr) {
        return false;
    }
    m_list = new CPartListCtrl(frame);
    m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CPartListView::OnItemActivated, this);
    m_list->SetFocus();
    return true;
}

void CPartListView::OnDesignUpdate(wxView*, ViewHint) {
    Refill();
}

void CPartListView::Refill() {
    if (CZarnelDcmt* dcmt = GetDcmt(); dcmt != nullptr && m_list != nullptr) {
        m_list->Fill(dcmt->GetPartsTable(), m_showAll);
    }
}

void CPartListView::OnItemActivated(wxListEvent& event) {
    EditRow(event.GetIndex());
}

void CPartListView::EditRow(long row) {
    CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr || m_list == nullptr) {
        return;
    }
    const std::optional<std::size_t> index = m_list->GetEntryIndex(row);
    const SPartEntry* entry = index ? dcmt->GetPartsTable().GetAt(*index) : nullptr;
    if (entry == nullptr) {
        return;
    }
    SPrtListValues values{entry->designation, entry->available, entry->orderNumber, entry->price};
    CDlgPrtList dialog(GetFrame(), values);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    ApplyEntryValues(dialog.GetValues());
}

bool CPartListView::ApplyEntryValues(const SPrtListValues& values) {
    CZarnelWxDocument* document = GetZarnelDocument();
    if (document == nullptr) {
        return false;
    }
    CPartsTable& table = document->GetDcmt().GetPartsTable();
    // The table may have been rebuilt while the dialog was open: find the article again.
    const std::size_t index = table.IndexOf(values.designation);
    const SPartEntry* entry = table.GetAt(index);
    if (entry == nullptr) {
        return false;
    }
    if (values.available != entry->available) {
        m_stockEdited = true;
    }
    table.SetEntryValues(index, values.available, values.orderNumber, values.price);
    document->UpdateAllViews(ViewHint::Everything);
    return true;
}

wxPrintout* CPartListView::OnCreatePrintout() {
    const CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr || dcmt->GetPartsTable().IsEmpty()) {
        return nullptr;
    }
    const CPartsTable& table = dcmt->GetPartsTable();
    return new COrderFormPrintout(wxString::FromUTF8(dcmt->GetTitle().c_str()),
                                  CollectOrderLines(table, m_showAll), !table.IsEmpty());
}

void CPartListView::OnExportPartsList(wxCommandEvent&) {
    if (const CZarnelDcmt* dcmt = GetDcmt()) {
        ExportPartsList(*dcmt);
    }
}

void CPartListView::OnLoadPriceList(wxCommandEvent&) {
    if (CZarnelDcmt* dcmt = GetDcmt()) {
        ::LoadPriceList(*dcmt, m_stockEdited);
    }
}

void CPartListView::OnSavePriceList(wxCommandEvent&) {
    if (const CZarnelDcmt* dcmt = GetDcmt()) {
        ::SavePriceList(*dcmt);
    }
}

void CPartListView::OnLoadStockList(wxCommandEvent&) {
    if (CZarnelDcmt* dcmt = GetDcmt()) {
        ::LoadStockList(*dcmt, false);
    }
}

void CPartListView::OnAddStockList(wxCommandEvent&) {
    if (CZarnelDcmt* dcmt = GetDcmt()) {
        ::LoadStockList(*dcmt, true);
    }
}

void CPartListView::OnSaveStockList(wxCommandEvent&) {
    if (const CZarnelDcmt* dcmt = GetDcmt()) {
        ::SaveStockList(*dcmt);
    }
}

void CPartListView::OnViewShowAll(wxCommandEvent&) {
    m_showAll = !m_showAll;
    Refill();
}

void CPartListView::OnUpdateViewShowAll(wxUpdateUIEvent& event) {
    event.Enable(true);
    event.Check(m_showAll);
}

void CPartListView::OnFilePrintDirect(wxCommandEvent&) {
    std::unique_ptr<wxPrintout> printout(OnCreatePrintout());
    wxDocManager* manager = GetDocumentManager();
    if (!printout || manager == nullptr) {
        return;
    }
    wxPrintDialogData data(manager->GetPageSetupDialogData().GetPrintData());
    wxPrinter printer(&data);
    printer.Print(GetFrame(), printout.get(), false);
}

void CPartListView::OnUpdateEnabled(wxUpdateUIEvent& event) {
    event.Enable(true);
}
