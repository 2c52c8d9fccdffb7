#include "model/FitMtrx.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

bool AllFiniteValues(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

CFitMtrx::CFitMtrx(int rows, int columns) {
    Resize(rows, columns);
}

void CFitMtrx::Resize(int rows, int columns) {
    if (rows < 0 || columns < 0) {
        throw std::invalid_argument("CFitMtrx: negative size");
    }
    // A fresh vector rather than assign(), so that a smaller matrix also gives its memory back.
    std::vector<double> values(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                               0.0);
    m_values.swap(values);
    m_rows = rows;
    m_columns = columns;
}

bool CFitMtrx::AllFinite() const {
    return AllFiniteValues(m_values);
}

CFitVctr::CFitVctr(int count) {
    Resize(count);
}

void CFitVctr::Resize(int count) {
    if (count < 0) {
        throw std::invalid_argument("CFitVctr: negative size");
    }
    std::vector<double> values(static_cast<std::size_t>(count), 0.0);
    m_values.swap(values);
}

double CFitVctr::Max() const {
    if (m_values.empty()) {
        return 0.0;
    }
    double largest = m_values.front();
    for (double v : m_values) {
        if (std::isnan(v)) {
            return v;
        }
        if (v > largest) {
            largest = v;
        }
    }
    return largest;
}

bool CFitVctr::AllFinite() const {
    return AllFiniteValues(m_values);
}
