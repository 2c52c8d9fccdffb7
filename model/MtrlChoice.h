// The choice the surface dialog makes: a material slot for an element or a colour tool, one slot
// per material category, and the edits of the document's materials that come with it (colour,
// light factors, texture, name, usability, new materials copied from others). Everything is
// done on a copy of the document's material table, so that cancelling costs nothing; the copy
// goes back into the document as one change when the dialog is confirmed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/ElmntKind.h"

class CElmnt;
class CMtrl;
class CZarnelDcmt;

// True when elements of the kind take their material from the category (0 to 8). The tube
// category also takes the aluminium profiles, which have a category of their own as well.
bool IsKindOfMtrlCategory(ElmntKind kind, int category);
// The category the surface dialog opens on for a kind: tubes (and aluminium profiles, whose
// usability group is the same), panels, connectors, caps, the three slide categories, pool
// liners; tubes for any other kind.
int GetOpeningMtrlCategory(ElmntKind kind);

class CMtrlChoice {
public:
    using CategorySlots = std::array<int32_t, MtrlCategoryCount>;

    // Usability groups of the dialog's two check boxes.
    static constexpr int kMetalGroup = 141;   // "Rohre, Verb. ..."
    static constexpr int kPlasticGroup = 370; // "Platten, Rutschen"

    // elmnt: the element whose material is chosen, or nullptr for a tool; kind: its kind or the
    // tool's. viewSlots: the view's current material slot per category. Each category's slot is
    // the element's when the element's kind belongs to it, else the view's. checkUsability: the
    // material chosen must be usable for the opening category.
    CMtrlChoice(const CZarnelDcmt& dcmt, const CElmnt* elmnt, ElmntKind kind,
                const CategorySlots& viewSlots, bool checkUsability);
    CMtrlChoice(const CMtrlChoice& other);
    CMtrlChoice& operator=(const CMtrlChoice& other);
    ~CMtrlChoice();

    // The copy of the material table: slots 0 to GetSlotsUsed() - 1, nullptr where empty.
    int32_t GetSlotsUsed() const { return m_slotsUsed; }
    CMtrl* GetMaterial(int32_t slot);
    const CMtrl* GetMaterial(int32_t slot) const;

    // The category of the edited element or tool, fixed when the choice is made.
    int GetOpeningCategory() const { return m_openingCategory; }
    // The category whose materials are offered.
    int GetCurrentCategory() const { return m_currentCategory; }
    // Another category is offered; the selection becomes that category's slot. A category
    // outside 0 to 8 is ignored.
    void SetCurrentCategory(int category);
    // The chosen slot: the current category's slot.
    int32_t GetSelectedSlot() const;
    void SelectSlot(int32_t slot);
    const CategorySlots& GetCategorySlots() const { return m_categorySlots; }
    // The chosen material; nullptr when its slot is empty.
    CMtrl* GetSelected() { return GetMaterial(GetSelectedSlot()); }
    const CMtrl* GetSelected() const { return GetMaterial(GetSelectedSlot()); }

    // The slots of the materials usable for the current category, in slot order.
    std::vector<int32_t> GetUsableSlots() const;

    // The chosen material's usability as the two groups: any bit of each group counts.
    bool IsInMetalGroup() const;
    bool IsInPlasticGroup() const;
    // The chosen material's usability becomes the groups ticked (nothing without a material).
    void SetUsabilityGroups(bool metal, bool plastic);

    // A copy of the chosen material, named "Neues Material", in the next free slot, which
    // becomes the chosen one. False, and nothing changed, when the table is full or nothing is
    // chosen.
    bool NewMaterial();

    // Whether the choice may be confirmed: without the usability check always; with it only a
    // material usable for the opening category.
    bool IsAcceptable() const;

private:
    std::vector<std::unique_ptr<CMtrl>> m_materials;
    int32_t m_slotsUsed = 0;
    CategorySlots m_categorySlots{};
    int m_openingCategory = 0;
    int m_currentCategory = 0;
    bool m_checkUsability = false;
};

// Confirms the choice: every material of the copy that differs from the document's (or is new)
// goes into the document's table. When anything changed, the document is marked modified, the
// parts table recounted (it names materials) and every view updated; true then.
bool ApplyMtrlChoice(CZarnelDcmt& dcmt, const CMtrlChoice& choice);
// Shows the edits while the dialog is open: the materials that the document has already take the
// copy's values, without marking the document modified; new materials stay out of it. Called
// again with the choice as it was opened, it takes the edits back.
void ShowMtrlChoice(CZarnelDcmt& dcmt, const CMtrlChoice& choice);
