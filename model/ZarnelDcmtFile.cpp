// The document's design file: loading and saving on a path through the design file's reader and
// writer (DesignFile.h), which report every failure themselves, and the all-or-nothing
// take-over of a design read.
#include <new>

#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"

bool CZarnelDcmt::LoadFile(const std::string& path) {
    // The new path is made before the design is replaced, so that nothing can fail after.
    std::string pathName;
    try {
        pathName = path;
    } catch (const std::bad_alloc&) {
        ReportLoadOutOfMemory(path);
        return false;
    }
    if (!LoadDesignFile(*this, path)) {
        return false;
    }
    m_pathName.swap(pathName);
    return true;
}

bool CZarnelDcmt::SaveFile(const std::string& path, int32_t couplingMaterial, double snapRadiusSq) {
    if (!SaveDesignFile(*this, path, couplingMaterial, snapRadiusSq)) {
        return false;
    }
    SetPathName(path);
    return true;
}

void CZarnelDcmt::TakeDesign(SDesignContents& contents) {
    // What allocates is made while the document is untouched: the new list, with the floor grid
    // first, and the copy of the parts table that a failure puts back.
    CElmntList taken;
    taken.Reserve(contents.elements.size() + 1);
    taken.Append(std::make_unique<CElmnt>(m_ids, 0, ElmntKind::FloorGrid, 1, 0.0f, 0.0f));
    for (std::unique_ptr<CElmnt>& elmnt : contents.elements) {
        taken.Append(std::move(elmnt));
    }
    contents.elements.clear();
    CPartsTable partsBefore = m_partsTable;

    // From here on the old design is exchanged for the new one, nothing allocating, so that
    // exchanging again puts it back: the elements, the materials the file names and the
    // cameras it holds (the view's viewport is no part of the file) go into the contents.
    SettlePendingRevision();
    const Revision currentBefore = m_currentRevision;
    const Revision newestBefore = m_newestRevision;
    const int32_t slotsUsedBefore = m_slotsUsed;
    const bool modifiedBefore = m_modified;
    std::array<bool, MtrlSlotCount> slotTaken{};
    auto exchange = [&] {
        m_elmnts.Swap(taken);
        for (int slot = 0; slot < MtrlSlotCount; ++slot) {
            if (slotTaken[static_cast<size_t>(slot)]) {
                std::swap(m_materials[static_cast<size_t>(slot)],
                          contents.materials[static_cast<size_t>(slot)]);
            }
        }
        for (int i = 0; i < kCameraCount; ++i) {
            std::optional<CCmra>& camera = contents.cameras[static_cast<size_t>(i)];
            if (camera) {
                CCmra& target = m_cameras[static_cast<size_t>(i)];
                std::swap(camera->viewportWidth, target.viewportWidth);
                std::swap(camera->viewportHeight, target.viewportHeight);
                std::swap(*camera, target);
            }
        }
    };
    for (int slot = 0; slot < MtrlSlotCount; ++slot) {
        if (std::unique_ptr<CMtrl>& material = contents.materials[static_cast<size_t>(slot)]) {
            material->SetSlot(slot);
            m_slotsUsed = std::max(m_slotsUsed, slot + 1);
            slotTaken[static_cast<size_t>(slot)] = true;
        }
    }
    exchange();
    m_currentRevision = contents.currentRevision;
    m_newestRevision = contents.newestRevision;
    try {
        UpdatePartsList();
        SetModified(false);
        UpdateAllViews(ViewHint::Everything);
    } catch (const std::bad_alloc&) {
        exchange();
        m_slotsUsed = slotsUsedBefore;
        m_currentRevision = currentBefore;
        m_newestRevision = newestBefore;
        m_partsTable = std::move(partsBefore);
        try {
            SetModified(modifiedBefore);
            UpdateAllViews(ViewHint::Everything);
        } catch (const std::bad_alloc&) {
        }
        throw;
    }
}
