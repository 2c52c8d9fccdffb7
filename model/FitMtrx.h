// Dense matrix and vector of doubles for the least-squares position adjustment: the system
// A x = b, its singular value decomposition and its solution. Values own their storage.
#pragma once

#include <cstddef>
#include <vector>

// A matrix of rows x columns doubles stored row by row, zero-filled when made or resized.
// A[r][c] is the entry in row r and column c; nothing checks the indices.
class CFitMtrx {
public:
    CFitMtrx() = default;
    // Throws std::invalid_argument when either count is negative.
    CFitMtrx(int rows, int columns);

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }

    // Replaces the storage by rows x columns zeros. Throws std::invalid_argument when either
    // count is negative.
    void Resize(int rows, int columns);

    double* operator[](int row) { return m_values.data() + Offset(row); }
    const double* operator[](int row) const { return m_values.data() + Offset(row); }

    // True when no entry is a NaN or an infinity.
    bool AllFinite() const;

private:
    std::size_t Offset(int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns);
    }

    int m_rows = 0;
    int m_columns = 0;
    std::vector<double> m_values;
};

// A vector of count doubles, zero-filled when made or resized; nothing checks the indices.
class CFitVctr {
public:
    CFitVctr() = default;
    // Throws std::invalid_argument when count is negative.
    explicit CFitVctr(int count);

    int Count() const { return static_cast<int>(m_values.size()); }

    // Replaces the storage by count zeros. Throws std::invalid_argument when count is negative.
    void Resize(int count);

    double& operator[](int index) { return m_values[static_cast<std::size_t>(index)]; }
    double operator[](int index) const { return m_values[static_cast<std::size_t>(index)]; }

    // The largest entry; NaN when any entry is NaN, so that a broken value is never hidden
    // behind a larger one; 0.0 for an empty vector.
    double Max() const;

    // True when no entry is a NaN or an infinity.
    bool AllFinite() const;

private:
    std::vector<double> m_values;
};
