// The element list as it was before a step that must be all or nothing: a step that fails half
// way (memory that runs out while history states or couplings are made) leaves no element
// changed and others not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/Elmnt.h"

class CElmntList;

class CElmntListRestore {
public:
    // Remembers every record's fields when needed (a step that can change nothing has nothing
    // to take back). May throw std::bad_alloc, before anything changed.
    CElmntListRestore(CElmntList& list, bool needed);
    CElmntListRestore(const CElmntListRestore&) = delete;
    CElmntListRestore& operator=(const CElmntListRestore&) = delete;

    // Puts the list back as it was remembered: the records appended since go, the fields of the
    // others come back. Valid while records were only appended and changed in place since;
    // allocates nothing.
    void Restore() noexcept;

private:
    // Every field of a record that an edit changes in place.
    struct SFields {
        CTransform placement;
        float secondSize;
        float length;
        float secondCorrection;
        float correction;
        int32_t material;
        ElmntKind kind;
        uint32_t occupiedArms;
        uint32_t freeArms;
        uint32_t freeCornerSlots;
        Revision firstRevision;
        Revision endRevision;
        int32_t turnVariant;
        uint32_t directions;
        bool fixed;
        bool selected;
        bool floating;
        bool adjustPending;
        int32_t groupMark;
    };

    CElmntList& m_list;
    std::size_t m_size;
    std::vector<SFields> m_fields;
};
