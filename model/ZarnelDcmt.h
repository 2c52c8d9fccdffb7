// The design document: everything one design consists of (every element state of the design and
// its whole undo history, the material table, four cameras, the parts table and the two
// revision counters), the revisions in which it changes, undo and redo, and the list of views
// that show it. It lives in model/ and knows no window: the application wraps it in the
// framework's document class, forwards the modified flag, path and title, routes the commands
// to the operations below and registers its views as observers. The commands that need a window
// stay there: the render-quality dialogs end with UpdateAllViews(ViewHint::Everything) whatever
// they return, and the parts-list window is a second view of the same document.
//
// Ownership: the document creates and deletes all elements, materials, cameras and parts-table
// entries. Views, drawing code and dialogs borrow them. An element pointer stays valid across
// CElmnt::BeginChange (the record keeps the newest state), but undo, redo, a history cut,
// deleting the history and loading may free records or leave them not alive: whoever keeps an
// element across such an operation keeps its identity and looks it up with FindElement.
//
// Every change is a document or element operation inside a new revision: open the revision
// (NewRevision, or a CRevisionScope when the operation may turn out to change nothing), change
// the elements through CElmnt::BeginChange and the list, recount the parts table, and update
// all views with the hint of what happened (FinishChange does the last three).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/Cmra.h"
#include "model/DcmtObserver.h"
#include "model/Elmnt.h"
#include "model/ElmntId.h"
#include "model/ElmntList.h"
#include "model/ListFile.h"
#include "model/PartsTable.h"
#include "model/Selection.h"
#include "model/SolveSvd.h"
#include "support/Box3.h"

class CMtrl;
class CRevisionScope;
struct SDesignContents;

// The highest revision that can exist: RevisionOpen marks an open end.
inline constexpr Revision MaxRevision = RevisionOpen - 1;

class CZarnelDcmt {
public:
    static constexpr int kCameraCount = 4;
    // Slots used of a new document: the default materials and room up to slot 19; materials
    // that the user adds go to slot 20 and up.
    static constexpr int32_t kInitialSlotsUsed = 20;

    // A new design: the fourteen default materials in slots 1 to 14, a start coupling at the
    // origin and the floor grid (both alive from revision 0), four default cameras, both
    // revisions 0; then the default price and stock lists, which may ask the user for a file.
    CZarnelDcmt();
    CZarnelDcmt(const CZarnelDcmt&) = delete;
    CZarnelDcmt& operator=(const CZarnelDcmt&) = delete;
    ~CZarnelDcmt();

    // ---- Elements ----------------------------------------------------------------------

    // Every element state, alive or not, in the order of creation. Element operations take it
    // as their list; new records for it take their identities from GetIdSource.
    CElmntList& GetElmntList() { return m_elmnts; }
    const CElmntList& GetElmntList() const { return m_elmnts; }
    CElmntIdSource& GetIdSource() { return m_ids; }
    // Appends the record at the tail; it must have taken its identity from GetIdSource.
    CElmnt& AddElement(std::unique_ptr<CElmnt> elmnt);
    // Unlinks the record and deletes it; false when it is not in the element list. This erases
    // the state from the history as well; ending an element in a revision sets its end revision
    // instead.
    bool RemoveElement(CElmnt& elmnt);
    // Unlinks and deletes every element state, from the head (loading starts with this).
    void DeleteAllElements();

    // Alive at the current revision: what the user sees, what is drawn and counted.
    bool IsAlive(const CElmnt& elmnt) const { return elmnt.IsAliveAt(m_currentRevision); }
    // The states alive at the current revision, in list order.
    CElmntList::AliveRange<CElmnt> GetAliveElements() {
        return m_elmnts.AliveAt(m_currentRevision);
    }
    CElmntList::AliveRange<const CElmnt> GetAliveElements() const {
        return m_elmnts.AliveAt(m_currentRevision);
    }
    // The element with the identity when it is alive at the current revision; nullptr when no
    // state has the identity or the state is not alive (undone, deleted, cut away).
    CElmnt* FindElement(ElmntId id) const;
    // The state with the identity, alive or not; nullptr when there is none.
    CElmnt* FindState(ElmntId id) const { return m_elmnts.Find(id); }

    // ---- Materials ---------------------------------------------------------------------

    // Slots 0 to GetMaterialCapacity() - 1; slot 0 and the others not set are empty.
    static constexpr int32_t GetMaterialCapacity() { return MtrlSlotCount; }
    // One more than the highest slot that may hold a material; never below 20.
    int32_t GetSlotsUsed() const { return m_slotsUsed; }
    // nullptr for an empty slot and for a slot outside the table.
    CMtrl* GetMaterial(int64_t slot) const;
    // Puts the material into the slot, deleting the one there, and sets its slot number; the
    // slots used grow to include it. nullptr empties the slot. false (and nothing changed) for
    // a slot outside the table.
    bool SetMaterial(int64_t slot, std::unique_ptr<CMtrl> mtrl);

    // ---- Cameras -----------------------------------------------------------------------

    // Camera 0 to 3; always present, at a fixed address for the document's life. Throws
    // std::out_of_range for another index.
    CCmra& GetCamera(int index) { return m_cameras.at(static_cast<std::size_t>(index)); }
    const CCmra& GetCamera(int index) const {
        return m_cameras.at(static_cast<std::size_t>(index));
    }

    // ---- Parts table, price list and stock list ----------------------------------------

    CPartsTable& GetPartsTable() { return m_partsTable; }
    const CPartsTable& GetPartsTable() const { return m_partsTable; }
    // Recounts the articles of the elements alive at the current revision, with the names of
    // the document's materials. Called after every change that can alter the articles. When
    // memory runs out, std::bad_alloc comes through with the table as it was.
    void UpdatePartsList();
    // The price list and the stock list named in the settings, read into the parts table; when
    // one cannot be read the user is asked whether to choose another file.
    ListReadStatus LoadDefaultPriceList();
    ListReadStatus LoadDefaultStockList();
    // A price list in place of the parts table (order numbers and prices in the order of the
    // file, no stock); then the design is recounted into it and all views are updated with
    // ViewHint::Everything. A read that fails leaves the table and the views as they were.
    // storePath: the path of a list that is taken becomes the default price list.
    SListReadResult ReadPriceList(const std::string& path, bool storePath);
    // Counts in stock from a stock list, replacing them or (add) added to them. A read that
    // fails changes no count. The views are not updated: the caller refills the one that asked.
    SListReadResult ReadStockList(const std::string& path, bool storePath, bool add);

    // ---- Revisions, undo and redo ------------------------------------------------------

    // The revision the user sees and edits, and the highest that exists (redo goes up to it);
    // 0 <= current <= newest <= MaxRevision.
    Revision GetCurrentRevision() const { return m_currentRevision; }
    Revision GetNewestRevision() const { return m_newestRevision; }
    // Both counters as a design file gives them; false (nothing changed) unless
    // current <= newest <= MaxRevision.
    bool SetRevisions(Revision current, Revision newest);

    // Opens a new revision and returns it (the new current revision); marks the document
    // modified. After an undo this cuts the redo branch away for good. When the revisions are
    // used up, the history is deleted first (as OnDeleteHistory), so that counting goes on.
    Revision NewRevision();
    // Cuts the history after revision r: every state that begins after r is unlinked and
    // deleted, and every state that ends after r is alive again with an open end. So nothing
    // exists beyond r, and what was alive at r is alive from then on.
    static void CutHistory(Revision r, CElmntList& list);

    // Command "Rückgängig" (57643): one revision back. Floating elements are finished first
    // (FinishFloating, with the coupling material and the squared snap radius in mm²), so
    // that none is lost to the revision left behind. Marks the document modified, recounts the
    // parts table and updates all views with ViewHint::UndoRedo. Other selection flags stay.
    // All or nothing: when memory runs out on the way, std::bad_alloc comes through with the
    // revision, the elements, the parts table and the modified flag as they were (the views
    // told so again).
    bool CanUndo() const { return m_currentRevision > 0; }
    void OnEditUndo(int32_t couplingMaterial, double snapRadiusSq);
    // Command "Wiederherstellen" (57644): one revision forward, likewise.
    bool CanRedo() const { return m_currentRevision < m_newestRevision; }
    void OnEditRedo(int32_t couplingMaterial, double snapRadiusSq);
    // Command "Vergangenheit löschen" (32976): every state alive at the current revision lives
    // in [0, open), every other state is deleted, both counters become 0. The drawing stays as
    // it was, so the document is not marked modified and the parts table is not recounted; the
    // views are updated with ViewHint::Everything so that they drop what they held.
    void OnDeleteHistory();

    // ---- Selection, groups, moving and adjusting -------------------------------------

    // couplingMaterial is the material slot that couplings created by linking receive (the 3D
    // view's slot of the category "Verbinder"); snapRadiusSq the squared radius in mm² within
    // which couplings are found (CouplingSnap). Both belong to the application and are passed
    // in by the caller.
    //
    // Selection steps. They work in the current revision and open none; the command that uses
    // them updates the views once with ViewHint::Selection. Deselecting links a floating element
    // to couplings in the current revision, which can change the articles: then the document is
    // marked modified and the parts table recounted, and the result is true.
    //
    // Deselects every element state, alive or not, finishing the floating ones that are alive.
    bool ClearSelection(int32_t couplingMaterial, double snapRadiusSq);
    // Applies the mode to every element alive at the current revision that lies in the box
    // (faces included, CElmnt::IsInsideBox).
    bool SelectInBox(const CBox3& box, SelectionMode mode, int32_t couplingMaterial,
                     double snapRadiusSq);
    // Applies the mode to every element alive at the current revision whose group mark is not 0.
    bool SelectMarked(SelectionMode mode, int32_t couplingMaterial, double snapRadiusSq);
    // Runs the selection steps of one user action (deselecting, then selecting the element
    // clicked, a box or a group) as one: when memory runs out in any of them, std::bad_alloc
    // comes through with the elements, the parts table and the modified flag as before the
    // first (the views told so again). The steps' result.
    bool RunSelectionSteps(const std::function<bool()>& steps);
    // Group mark 0 on every element state.
    void ClearMarks();
    // The number of connected groups among the elements alive at the current revision; marks
    // each group's elements with its number (from 1, in the order of their first element in the
    // list). Elements of kind None and the floor grid start no group. Marks of every other
    // state are 0 afterwards.
    int CountGroups();
    // The box over the positions of the plain couplings with group mark n (valid right after
    // CountGroups); a reset, empty box when there is none.
    CBox3 GetGroupBox(int32_t n) const;
    // Finishes every floating element state: one alive at the current revision that lives on
    // is linked and deselected, as deselecting would; any other (a history state of an element
    // that was moved or deleted while it floated) just stops floating and is deselected, kept
    // as it was seen. So no floating state is left out of a save or lost to the history. Marks
    // the document modified, recounts and updates the views with ViewHint::Change when anything
    // changed; true then. Undo and redo do this before they move; call it before saving. All or
    // nothing: when memory runs out on the way, std::bad_alloc comes through with the elements,
    // the parts table and the modified flag as they were (the views told so again). The
    // selection steps above are all or nothing likewise.
    bool FinishFloating(int32_t couplingMaterial, double snapRadiusSq);

    // Editing operations. Each opens a new revision (none when it changes nothing), marks the
    // document modified, recounts the parts table and updates the views with its hint; true
    // when a revision was kept. The view does not update the views again. All or nothing: when
    // memory runs out on the way, std::bad_alloc comes through with the document as it was,
    // revisions, redo branch, elements, parts table and modified flag (the views told so again).
    //
    // Moves the selection by the world offsets (mm), under the wait cursor. copy: each selected
    // element but the couplings leaves a linked copy behind and moves on, selected and floating
    // (linked when deselected). Else adapt: the selected elements but the couplings are unlinked
    // at the old place and linked at the new one. Else: every selected element, couplings
    // included, moves as one rigid block; arms are not touched. ViewHint::Change.
    bool MoveSelection(double dx, double dy, double dz, int32_t couplingMaterial,
                       double snapRadiusSq, bool adapt, bool copy);
    // Turns every selected element one step (CElmnt::TurnElement, no beep); kinds that do not
    // turn stay as they are. ViewHint::Change.
    bool TurnSelection(int32_t couplingMaterial, double snapRadiusSq);
    // Ends every selected element but the couplings and frees the arms they held; couplings
    // left without arms end with them. Couplings themselves are deleted only one by one by the
    // view. ViewHint::Deletion.
    bool DeleteSelection(int32_t couplingMaterial);
    // Runs the position adjustment from every element alive at the current revision that still
    // carries the adjust-pending flag, inside the current revision: a step of the operation that
    // opened it (placing or deleting by mouse), which recounts and updates the views itself.
    // Marks the document modified and returns true when anything was written. A connected part
    // whose system has no solution (the solver's bound of maxSweeps iterations, the program's
    // by default, reached) does not move, and a message says so once for the whole pass.
    bool AdjustPending(int32_t couplingMaterial, double snapRadiusSq,
                       int maxSweeps = kSvdMaxSweeps);
    // Command "Automatischer Positionsausgleich" switched on: every unfixed element alive at the
    // current revision becomes adjust-pending and is adjusted, in a new revision of its own,
    // which is not kept when nothing moved. ViewHint::Change.
    bool AdjustAll(int32_t couplingMaterial, double snapRadiusSq, int maxSweeps = kSvdMaxSweeps);

    // ---- Views -------------------------------------------------------------------------

    // The observer is borrowed: it removes itself before it goes. Adding one twice adds it once.
    void AddObserver(CDcmtObserver& observer);
    void RemoveObserver(CDcmtObserver& observer);
    // Every observer but the sender, in the order they were added. Observers may add and
    // remove observers while they are told.
    void UpdateAllViews(ViewHint hint, const CDcmtObserver* sender = nullptr);
    // The end of every change to what a save writes: marks the document modified, recounts the
    // parts table and updates all views with the hint of what happened.
    void FinishChange(ViewHint hint);

    // ---- What the framework's document keeps -------------------------------------------

    // Unsaved changes. The callback hears every change of the flag, with the new value.
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);
    void SetModifiedCallback(std::function<void(bool modified)> callback) {
        m_modifiedCallback = std::move(callback);
    }
    // The design file's path (empty for a new design) and the window title.
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(std::string path) { m_pathName = std::move(path); }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(std::string title) { m_title = std::move(title); }
    // The design file: false when it cannot be read or written completely, after the error has
    // been reported. A failed load leaves the document as it was; a failed save leaves the old
    // file as it was.
    bool LoadFile(const std::string& path);
    // Saving finishes the floating elements first, linking them with the coupling material and
    // the squared snap radius in mm² (SaveDesignFile).
    bool SaveFile(const std::string& path, int32_t couplingMaterial, double snapRadiusSq);
    // Replaces the design with one read from a file (DesignFile.h, LoadDesignFile), all or
    // nothing: the elements and one floor grid alive in every revision, the materials and
    // cameras the contents name, both revision counters; then the parts table is recounted, the
    // modified flag cleared and all views updated with ViewHint::Everything. The contents are
    // used up. When memory runs out on the way, std::bad_alloc comes through with the document
    // as it was (the views told so again).
    void TakeDesign(SDesignContents& contents);

    // ---- Clipboard (Clipboard.cpp) ------------------------------------------------------

    // Puts the selection's text on the clipboard (CopySelectionText); false when there was
    // nothing to write it with, the clipboard took no text or memory ran out.
    bool CopyToClipboard() const;
    // Pastes the clipboard's text (PasteText); the caller clears the selection first. False when
    // the clipboard held no text or not all of it could be pasted (memory that ran out is
    // reported with the system's reason, and nothing is pasted).
    bool PasteFromClipboard();

private:
    friend class CRevisionScope;

    // A revision opened by a CRevisionScope that is not decided yet, with what it takes to
    // undo its opening.
    struct SPendingRevision {
        CRevisionScope* scope = nullptr;
        Revision revision = 0;
        Revision currentBefore = 0;
        Revision newestBefore = 0;
        uint64_t listChangeCount = 0;                       // of the list right after the opening
        std::vector<CElmntList::STakenOut> cut;             // the redo branch
        std::vector<std::pair<CElmnt*, Revision>> reopened; // states and their former ends
    };

    void CreateDefaultContents();
    // Whether any element state floats.
    bool HasFloatingStates() const;
    // The recount of the parts table at revision r, worked out aside (CPartsTable::PrepareRecount).
    SPartsRecount PrepareRecountAt(Revision r);
    // Undo and redo: the current revision becomes to.
    void MoveToRevision(Revision to, int32_t couplingMaterial, double snapRadiusSq);
    // An edit of the selection in a revision of its own, all or nothing (MoveSelection.cpp):
    // body(r) changes the elements in the new revision r; true when the revision was kept.
    template <class Body> bool RunSelectionEdit(ViewHint hint, Body body);
    // After a failed change whose elements are back as they were: the parts table (exchanged
    // with partsBefore) and the modified flag as they were, and the views told again.
    void RecoverAfterFailure(CPartsTable& partsBefore, bool modifiedBefore,
                             ViewHint hint) noexcept;
    // FinishFloating without the recount and the views' update, for undo and redo, which do
    // both themselves.
    bool FinishFloatingStates(int32_t couplingMaterial, double snapRadiusSq);
    // The adjustments of AdjustPending in the current revision; true when any wrote.
    bool RunPendingAdjustments(int32_t couplingMaterial, double snapRadiusSq, int maxSweeps);
    // Folds the history into revision 0 when no further revision can be opened.
    void MakeRoomForRevision();
    void DeleteHistory();
    Revision OpenPendingRevision(CRevisionScope& scope);
    // Keeps the pending revision when anything was changed in it, else undoes its opening.
    void SettlePendingRevision();
    // Whether anything was changed in the pending revision.
    bool PendingRevisionChanged() const;
    // Undoes the opening of the pending revision whatever was done in it; the elements must be
    // as they were right after the opening.
    void AbandonPendingRevision() noexcept;
    void GiveUpOpening(SPendingRevision& pending) noexcept;

    // Declared first so that it outlives every record that took an identity from it.
    CElmntIdSource m_ids;
    CElmntList m_elmnts;
    std::optional<SPendingRevision> m_pending;
    CPartsTable m_partsTable;
    std::array<std::unique_ptr<CMtrl>, MtrlSlotCount> m_materials;
    int32_t m_slotsUsed = kInitialSlotsUsed;
    std::array<CCmra, kCameraCount> m_cameras;
    Revision m_currentRevision = 0;
    Revision m_newestRevision = 0;

    std::vector<CDcmtObserver*> m_observers; // entries become nullptr while being told
    int m_notifyDepth = 0;

    bool m_modified = false;
    std::function<void(bool)> m_modifiedCallback;
    std::string m_pathName;
    std::string m_title;
};

// Opens a revision for one operation that may turn out to change nothing, so that it neither
// cuts the redo branch nor marks the document modified for nothing:
//
//     CRevisionScope scope(dcmt);
//     Revision r = scope.GetRevision();
//     ... change elements in r ...
//     if (scope.Close()) { recount, update the views }
//
// The revision is kept when a state began or ended in it or the element list was changed
// otherwise; else the counters, the redo branch (the same records, in their places) and the
// modified flag are restored. Opening another revision, undo, redo, deleting the history or the
// elements settles a scope that is still open first. One scope at a time per document.
class CRevisionScope {
public:
    explicit CRevisionScope(CZarnelDcmt& dcmt);
    CRevisionScope(const CRevisionScope&) = delete;
    CRevisionScope& operator=(const CRevisionScope&) = delete;
    // Closes the scope if it is still open.
    ~CRevisionScope();

    Revision GetRevision() const { return m_revision; }
    // Decides and ends the scope; true when the revision was kept. Later calls return the same.
    bool Close();

private:
    friend class CZarnelDcmt;

    CZarnelDcmt& m_dcmt;
    Revision m_revision = 0;
    bool m_open = true;
    bool m_kept = false;
};
