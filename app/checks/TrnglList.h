// The triangles that the collision test gathers from the surfaces of a design, in model
// millimetres, each tagged with the element that drew it, and the list that holds them for the
// sort and the sweep on x.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "model/ElmntId.h"
#include "support/Vector3.h"

struct STrngl {
    // The element that drew the triangle; no identity (not valid) when the surfaces named none
    // before it.
    ElmntId element;
    std::array<CVector3, 3> vertices;
    // Bounds of the three vertices (mm), set by CalcBox.
    double minX = 0.0;
    double minY = 0.0;
    double minZ = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    double maxZ = 0.0;

    void CalcBox();
};

// The triangles of one test, kept in the order appended until SortByMinX. Freed when the test
// ends (DeleteAll or the destructor).
class CTrnglList {
public:
    // Copies the triangle to the end.
    void Append(const STrngl& trngl) { m_trngls.push_back(trngl); }
    // Ascending by minimum x; triangles of equal minimum x keep their order (stable).
    void SortByMinX();
    void DeleteAll();

    int GetCount() const { return static_cast<int>(m_trngls.size()); }
    std::size_t Size() const { return m_trngls.size(); }
    const STrngl& operator[](std::size_t index) const { return m_trngls[index]; }
    std::vector<STrngl>::const_iterator begin() const { return m_trngls.begin(); }
    std::vector<STrngl>::const_iterator end() const { return m_trngls.end(); }

private:
    // Kept contiguous rather than as linked nodes: the sweep walks it in order many times.
    std::vector<STrngl> m_trngls;
};
