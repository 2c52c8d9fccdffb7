// Copy and paste of a design's selection as design-file text: the material records of the
// materials in use, then the element records of the selected elements except the plain
// couplings, which linking recreates where the pasted elements come to rest. The functions work
// on text so that they run without a clipboard; CZarnelDcmt::CopyToClipboard and
// PasteFromClipboard carry the text through the user-interface seam.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class CZarnelDcmt;

// The clipboard text of the elements alive at the current revision that are selected and not
// plain couplings (floating ones included), in list order, after the records of the materials
// they use (with the copying document's slot numbers). Lines end in CR LF. Nothing when a value
// cannot be written (a non-finite number).
std::optional<std::string> CopySelectionText(const CZarnelDcmt& dcmt);

// Pastes clipboard text into the document in a new revision (kept only when elements arrive).
// Each material of the text is matched to an equal material of the table or added in the next
// slot after the slots used; a full table stops the paste before the elements. The elements
// arrive at the tail of the list, alive from the new revision, selected and floating (linked to
// couplings when they are deselected), with the materials they were matched to; an element
// whose material has no record in the text keeps its slot when the table has a material there,
// else it takes the table's first material. A text that is no design text, or a damaged record,
// is reported by the reader with the source "Clipboard" and its line, and ends the paste there:
// what was read before arrives. The parts table is recounted and the views are updated with
// ViewHint::Insertion; added materials mark the document modified. Memory that runs out is
// refused as a whole, with the system's reason in a box: the document stays as it was. True
// when every record was read; pasted counts the elements that arrived.
bool PasteText(CZarnelDcmt& dcmt, std::string_view text, int* pasted = nullptr);
