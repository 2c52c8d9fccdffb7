// One line of a design's parts table: an article with its order number and unit price from the
// price list, how many the design uses at the current revision and how many are in stock.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

struct SPartEntry {
    // Sort key of an article that the price list does not name: after all that it names.
    static constexpr int32_t NotInPriceList = 0x7fffffff;

    // An article found in the design: counted once, nothing known of it yet.
    explicit SPartEntry(std::string designationValue) : designation(std::move(designationValue)) {}

    int32_t sortKey = NotInPriceList; // index of the article's line in the price list, from 0
    int32_t count = 1;                // elements alive at the current revision
    int32_t available = 0;            // in stock; 0 when no stock list names it
    std::string designation;          // German article designation, the key of the table
    std::string orderNumber;          // empty when the price list does not name the article
    double unitPrice = 0.0;
};
