// The document's parts table and the default price and stock lists.
#include "model/ZarnelDcmt.h"

void CZarnelDcmt::UpdatePartsList() {
    // Articles are not counted yet: the table stays as it is.
}

void CZarnelDcmt::LoadDefaultPriceList() {
    // No price list is read yet: the table starts empty.
}

void CZarnelDcmt::LoadDefaultStockList() {
    // No stock list is read yet: nothing is in stock.
}
