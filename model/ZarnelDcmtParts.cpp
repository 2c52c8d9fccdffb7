// The document's parts table and its default price and stock lists.
#include <string_view>

#include "model/Mtrl.h"
#include "model/PriceList.h"
#include "model/StockList.h"
#include "model/ZarnelDcmt.h"

void CZarnelDcmt::UpdatePartsList() {
    m_partsTable.Recount(m_elmnts, m_currentRevision, [this](int32_t slot) {
        const CMtrl* mtrl = GetMaterial(slot);
        return mtrl != nullptr ? std::string_view(mtrl->GetName()) : std::string_view();
    });
}

SPartsRecount CZarnelDcmt::PrepareRecountAt(Revision r) {
    return m_partsTable.PrepareRecount(m_elmnts, r, [this](int32_t slot) {
        const CMtrl* mtrl = GetMaterial(slot);
        return mtrl != nullptr ? std::string_view(mtrl->GetName()) : std::string_view();
    });
}

ListReadStatus CZarnelDcmt::LoadDefaultPriceList() {
    return ::LoadDefaultPriceList(m_partsTable);
}

ListReadStatus CZarnelDcmt::LoadDefaultStockList() {
    return ::LoadDefaultStockList(m_partsTable);
}

SListReadResult CZarnelDcmt::ReadPriceList(const std::string& path, bool storePath) {
    SListReadResult result = ::ReadPriceList(m_partsTable, path, storePath);
    if (result.IsLoaded()) {
        UpdatePartsList();
        UpdateAllViews(ViewHint::Everything);
    }
    return result;
}

SListReadResult CZarnelDcmt::ReadStockList(const std::string& path, bool storePath, bool add) {
    return ::ReadStockList(m_partsTable, path, storePath, add);
}
