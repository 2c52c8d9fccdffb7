#include "app/checks/TrnglList.h"

#include <algorithm>

void STrngl::CalcBox() {
    const CVector3& first = vertices[0];
    minX = maxX = first.x;
    minY = maxY = first.y;
    minZ = maxZ = first.z;
    for (std::size_t k = 1; k < vertices.size(); ++k) {
        const CVector3& v = vertices[k];
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
        minZ = std::min(minZ, v.z);
        maxZ = std::max(maxZ, v.z);
    }
}

void CTrnglList::SortByMinX() {
    std::stable_sort(m_trngls.begin(), m_trngls.end(),
                     [](const STrngl& a, const STrngl& b) { return a.minX < b.minX; });
}

void CTrnglList::DeleteAll() {
    m_trngls.clear();
    m_trngls.shrink_to_fit();
}
