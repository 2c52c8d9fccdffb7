// One placed element of a design: tube, coupling, panel, wheel, slide, cap, profile, pool liner,
// roof, textile or the floor grid, decided by its kind code. A plain record without virtual
// operations; everything that differs between kinds is dispatched on the kind. A record is also
// one state of an element in the revision history: it is alive from its first revision up to,
// not including, its end revision. Lengths are millimetres (floats for sizes, doubles for the
// placement).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/ElmntId.h"
#include "model/ElmntKind.h"
#include "model/ToolMode.h"
#include "support/Transform.h"

class CBox3;
class CElmntList;
class CFileRead;
class CFileWrite;
enum class SelectionMode : int32_t;

using Revision = uint32_t;
// End revision of a state that is alive until further notice.
inline constexpr Revision RevisionOpen = 0xFFFFFFFFu;

// Size of a document's material table: valid material slots are 0 to 99 (0 means no material).
inline constexpr int32_t MtrlSlotCount = 100;
// Arm and direction masks hold one bit per side (+X 1, -X 2, +Y 4, -Y 8, +Z 16, -Z 32).
inline constexpr uint32_t ArmMaskAll = 63;
// Corner-slot masks hold one bit per edge of a coupling (1 to 2048).
inline constexpr uint32_t CornerSlotMaskAll = 0xFFF;

class CElmnt {
public:
    // Range checks for values that later index tables (material table, arm and edge tables).
    // The setters below refuse what fails them; readers use them to report a file error.
    static constexpr bool IsValidMaterialSlot(int64_t slot) {
        return slot >= 0 && slot < MtrlSlotCount;
    }
    static constexpr bool IsValidArmMask(uint64_t mask) { return mask <= ArmMaskAll; }
    static constexpr bool IsValidCornerSlotMask(uint64_t mask) { return mask <= CornerSlotMaskAll; }

    // A record as Init leaves it, for the element reader: kind None, material 0, alive from
    // revision 0 with an open end.
    explicit CElmnt(CElmntIdSource& ids);
    // A new element at the identity placement, fixed, with the default arms of its kind and an
    // open end. Throws std::invalid_argument for a material slot outside the table.
    CElmnt(CElmntIdSource& ids, Revision firstRevision, ElmntKind kind, int32_t material,
           float length, float secondSize);
    // The same at the given placement and with the given fixed flag.
    CElmnt(CElmntIdSource& ids, Revision firstRevision, ElmntKind kind, int32_t material,
           const CTransform& placement, bool fixed, float length, float secondSize);
    // A copy of every field, the revision interval and the transient flags included, with a new
    // identity from the original's source and no links: the copy belongs to no list until it
    // is appended. This is the copy that keeps an old state for the history.
    CElmnt(const CElmnt& other);
    CElmnt& operator=(const CElmnt&) = delete;
    // Hands the identity back to its source. A record in a list is deleted only by the list.
    ~CElmnt();

    // Resets everything but the kind, the material, the revision interval, the identity and the
    // list links: identity placement, sizes, corrections, masks, turn variant and group mark 0,
    // the transient flags cleared, fixed.
    void Init();
    // Occupied arms, corner slots and directions 0; free arms and corner slots by kind:
    // connector 63 and 4095, 45° coupling 1 (directions 1), flexible coupling 8, bearing coupling
    // 4, tube 2, wheel bearing 1, every other kind none.
    void SetDefaultArms();

    CTransform GetTransform() const { return placement; }
    void Select() { selected = true; }
    void MarkFloating() { floating = true; }
    // Effective length in mm: tube and tube bend length + correction + 50 (the couplings'
    // share), aluminium profile and its connector length + correction, every other kind 0.
    double GetLength() const;
    // Moves the placement by the world offsets in mm; the rotation is unchanged.
    void Translate(double dx, double dy, double dz);
    // first revision <= r < end revision.
    bool IsAliveAt(Revision r) const { return firstRevision <= r && r < endRevision; }

    // History of a state. No field changes in place across revisions: before the fields of an
    // element alive at r change in revision r, BeginChange keeps the old state as a copy at the
    // tail of the list, ending at r, deselected; the record itself then begins at r and keeps
    // its identity, its place in the list and its end, so pointers and identities held on it
    // name the newest state. A second call in the same revision does nothing. The coupling
    // material is the slot of couplings created by linking (none is created here: the copy is
    // not alive at r).
    void BeginChange(Revision r, CElmntList& list, int32_t couplingMaterial);
    // For a copying move in revision r: a copy with this record's interval stays where the
    // record is, alive before and at r, linked to couplings (within the squared snap radius,
    // mm²) when it was selected and floating, deselected, at the tail of the list; the record
    // itself (moved afterwards by the caller) begins at r.
    void LeaveCopy(Revision r, CElmntList& list, int32_t couplingMaterial, double snapRadiusSq);

    ElmntId GetId() const { return m_id; }
    // The source this record took its identity from; records made from this one (attached
    // elements, couplings at its ends) take theirs from the same source.
    CElmntIdSource& GetIdSource() const { return *m_idSource; }

    // Connection points (ElmntConn.cpp) and attaching (ElmntAttach.cpp). Frames are computed from the placement
    // on demand, in millimetres: a frame's translation is its point, its columns its local axes.
    //
    // Connection frame n: where ends meet a coupling-like element. The bolt has frames 1 and 2
    // 50 mm behind and ahead of its centre on local X; the 45° coupling has one frame at its
    // branch whatever n is; every other kind, and every other n, gives the placement.
    CTransform GetConnFrame(int n) const;
    CVector3 GetConnPoint(int n) const { return GetConnFrame(n).translation; }
    // End frame 0 or 1 of a part with ends (n other than 1 gives end 0). At the far end of a
    // tube the frame's X points back into the tube.
    CTransform GetEndFrame(int n) const;
    // Corner frame 0 to 3 of a panel: its local X and Y run along the panel's two edges into the
    // panel. Any other n gives the placement.
    CTransform GetCornerFrame(int n) const;
    // Number of ends that take couplings: 2, 1 or 0 by kind.
    int GetEndCount() const;
    // Whether the element lies in the box (faces included): panels by their four corners, tubes
    // by both ends taken 25 mm inward, the floor grid never, every other kind by its placement.
    bool IsInsideBox(const CBox3& box) const;
    // A new element of the kind attached at connection n of this element (the target), alive
    // from r with an open end, with the placement, fixed flag and sizes that the tool mode, the
    // target's kind and the new kind decide. size1 and size2 become length and second size where
    // the rule takes the caller's sizes. Nothing (nullptr) for n < 0, an index outside the
    // connection tables, a material slot outside the table, or a pair of kinds without a rule.
    // The result belongs to the caller and is in no list; it takes its identity from this
    // element's source.
    std::unique_ptr<CElmnt> CreateAttached(Revision r, ToolMode toolMode, ElmntKind newKind,
                                           int32_t newMaterial, float size1, float size2,
                                           int n) const;
    // Moves a panel placed with corner 0 at a coupling to its centre: half the second size +
    // 25 mm along local X, half the length + 25 mm along local Y.
    void SetPanelOffset();
    void MoveLocalX(double d) { placement.MoveX(d); }
    // The arm masks of a hole coupling from the arms it has: free = mask, occupied = mask with
    // both X arms (which always hold the tube it sits on), corner slots only the four of the
    // Y-Z plane. False and nothing changed for a mask above 63.
    bool SetArmMasks(uint32_t mask);

    // Automatic couplings (Coupling.cpp). A coupling is found at each tube end and panel corner
    // within the snap radius, or created there, and the arm or corner slot that the element
    // takes is marked; releasing frees it again and ends a coupling left with nothing attached.
    // Every change goes through BeginChange in revision r, so undo and redo bring couplings back
    // with the elements. couplingMaterial is the material slot of couplings created here (a
    // slot outside the table throws std::invalid_argument before anything changes);
    // snapRadiusSq is the squared search radius in mm² (CouplingSnap, Coupling.h).
    //
    // Links the ends (kinds whose ends take couplings) or the four corners (panel-like kinds,
    // the seat back included) to couplings alive at r; an unfixed element, and one that met an
    // unfixed coupling, leaves unfixed and adjust-pending. Nothing while the element floats.
    void LinkEnds(Revision r, CElmntList& list, int32_t couplingMaterial, double snapRadiusSq);
    // Frees the arms and corner slots that the element's ends and corners hold, at the couplings
    // that really hold them (found within the widest snap radius, whatever radius linked them).
    // The element's own flags change only while it is alive at r: a state that was just ended
    // stays as it was for undo. Nothing while the element floats.
    void UnlinkEnds(Revision r, CElmntList& list, int32_t couplingMaterial);
    // The coupling-like element alive at r whose connection point 0 (for a bolt also 1) is
    // nearest to the frame's point, strictly within the radius; on equal distances the earlier
    // in the list. exclude (the element whose end is searched from) is never the answer.
    static CElmnt* FindNearestCoupling(Revision r, const CElmntList& list, const CTransform& frame,
                                       double snapRadiusSq, const CElmnt* exclude = nullptr);
    // On a coupling: the arm along which the end frame's X runs becomes occupied. An end that
    // meets no arm shows message 4212 and changes no mask; hole and flexible couplings take any
    // end without marking it. An unfixed coupling becomes adjust-pending.
    void AttachToCoupling(const CTransform& endFrame);
    // On a coupling: the corner slot in which the corner frame lies is taken (message 4212 when
    // it lies in none). Returns the coupling's fixed flag.
    bool AttachCornerToCoupling(const CTransform& cornerFrame);
    // On a coupling: frees the arm that the end frame meets; a coupling that would be left with
    // nothing attached ends at r instead, its last state kept as it was.
    void ReleaseArm(const CTransform& endFrame, Revision r, CElmntList& list,
                    int32_t couplingMaterial);
    // On a coupling: frees the corner slot of the corner frame, or ends the coupling as above.
    // Returns the coupling's fixed flag.
    bool ReleaseCornerSlot(const CTransform& cornerFrame, Revision r, CElmntList& list,
                           int32_t couplingMaterial);

    // Turning (Turn.cpp). One step to the next orientation variant of a turnable kind, in
    // revision r through BeginChange (without a list the element must be a fresh record whose
    // first revision is r). Hole, flexible and bearing couplings placed on a tube are unlinked
    // and linked again around the turn when they are in a list. Returns the turn count that the
    // view hands to TurnElementTimes for the next new element. A kind that does not turn
    // changes nothing, returns 0 and beeps when asked to.
    int TurnElement(Revision r, CElmntList* list, int32_t couplingMaterial, double snapRadiusSq,
                    bool beep);
    // Clears the step count (low four bits of the turn variant) and turns n times in the
    // element's own first revision, without beeping: for an element just created, so that no
    // history copy is made.
    void TurnElementTimes(CElmntList* list, int32_t couplingMaterial, double snapRadiusSq, int n);

    // The element record of design files and the clipboard (ElmntRecord.cpp): one line in the
    // writer's version of the kind. False, and nothing written, for a kind that has no record
    // (the floor grid). A non-finite number is not written and leaves the writer's error set.
    bool WriteElement(CFileWrite& writer) const;
    // Reads one element record of version 1 to 4 (any other version: the bare record without
    // placement and kind fields) into a new record whose identity comes from ids. nullptr at the
    // end of the input (failed false) and after a reported failure (failed true): a syntax
    // error, an unknown keyword, a failed conversion of an old record, or a value out of range
    // (material slot, masks, a first revision above lastRevision). Syntax and range errors are
    // the reader's errors (ReadAbort under its abort mask); the keyword and conversion messages
    // are reported through CFileRead::ShowMessage.
    static std::unique_ptr<CElmnt> ReadElement(CFileRead& reader, CElmntIdSource& ids,
                                               Revision lastRevision, bool& failed);

    // Selection and groups (Selection.cpp, ElmntGroup.cpp). couplingMaterial and snapRadiusSq
    // are the material slot and the squared search radius (mm²) with which ends are linked.
    //
    // Ends the element's change in revision r: an element that is selected, floating and alive
    // at r stops floating and is linked to couplings; in any case it is deselected. True when it
    // was linked (couplings may have been created or changed).
    bool FinishChange(Revision r, CElmntList& list, int32_t couplingMaterial, double snapRadiusSq);
    // Select: selected; Deselect: FinishChange; Invert: FinishChange when selected, else
    // selected. True when the element was linked.
    bool SetSelection(SelectionMode mode, Revision r, CElmntList& list, int32_t couplingMaterial,
                      double snapRadiusSq);
    // Gives group mark n to this element and to every element alive at r connected to it, step
    // by step: an end meets a connection point, or a panel corner a plain coupling's position,
    // closer than 40 mm. The walk does not pass elements that carry n already, and does nothing
    // when this one does. Runs in time linear in the list, with no recursion.
    void MarkGroup(Revision r, CElmntList& list, int32_t n);

    // The position adjustment (AdjustPositions.cpp): from this element, the connected unfixed
    // tubes, panels and couplings within the snap radius get the corrections and coupling shifts
    // that make them meet in the least-squares sense, written in revision r through BeginChange.
    // Every element reached loses its adjust-pending flag, this one included; a fixed element is
    // never changed. True when anything was written; nothing is written when the solver does not
    // converge or a result is not finite. Shows the wait cursor.
    bool AdjustPositions(Revision r, CElmntList& list, int32_t couplingMaterial,
                         double snapRadiusSq);

    int32_t GetMaterial() const { return m_material; }
    bool SetMaterial(int64_t slot);
    uint32_t GetOccupiedArms() const { return m_occupiedArms; }
    bool SetOccupiedArms(uint32_t mask);
    uint32_t GetFreeArms() const { return m_freeArms; }
    bool SetFreeArms(uint32_t mask);
    uint32_t GetFreeCornerSlots() const { return m_freeCornerSlots; }
    bool SetFreeCornerSlots(uint32_t mask);
    uint32_t GetDirections() const { return m_directions; }
    bool SetDirections(uint32_t mask);

    // Neighbours in the owning list (nullptr at the ends and when in no list). A walk along
    // GetNext sees elements appended during the walk, and may remove the element it stands on
    // once it has taken the next one.
    CElmnt* GetNext() const;
    CElmnt* GetPrev() const;
    CElmntList* GetList() const { return m_list; }
    // Position in the owning list (0 = head); meaningful only while in a list.
    std::size_t GetListIndex() const { return m_listIndex; }

    // The fields in the order of the record, but for the fixed flag, which sits with the other
    // flags: so the record has no padding, and any field added changes its size, which
    // DrawKey.cpp checks (drawing must decide whether it reads the new field). Fields whose
    // values index tables are private and checked by their setters; the list links are kept by
    // the list.
    CTransform placement;          // rotation (columns = local axes) and translation
    float secondSize = 0.0f;       // width of panel-like parts (local x extent)
    float length = 0.0f;           // length of tubes, profiles, bolts; panel length (y extent)
    float secondCorrection = 0.0f; // correction of the second size of panel-like parts
    float correction = 0.0f;       // length correction ("Korrektur")

private:
    int32_t m_material = 0; // slot in the document's material table

public:
    ElmntKind kind = ElmntKind::None;

private:
    uint32_t m_occupiedArms = 0;    // coupling arms that hold a part
    uint32_t m_freeArms = 0;        // arms that may still take a part
    uint32_t m_freeCornerSlots = 0; // panel-corner slots still free (edge bits)

public:
    Revision firstRevision = 0;
    Revision endRevision = RevisionOpen;
    int32_t turnVariant = 0; // orientation variant counter of turnable kinds

private:
    uint32_t m_directions = 0; // direction mask of coupling-like kinds (side bits)

public:
    bool fixed = true; // not moved by the position adjustment
    // Transient working state, never written to a file.
    bool selected = false;
    bool floating = false;      // pasted or copied, ends not linked yet
    bool adjustPending = false; // the position adjustment still has to run from here
    int32_t groupMark = 0;      // number of the connected group; 0 none

private:
    friend class CElmntList;

    void LinkCouplingsAtEnds(Revision r, CElmntList& list, int32_t couplingMaterial,
                             double snapRadiusSq);
    void LinkCouplingsAtCorners(Revision r, CElmntList& list, int32_t couplingMaterial,
                                double snapRadiusSq);
    void ReleaseCouplingsAtEnds(Revision r, CElmntList& list, int32_t couplingMaterial);
    void ReleaseCouplingsAtCorners(Revision r, CElmntList& list, int32_t couplingMaterial);
    // Sets the element's own fixed and adjust-pending flags while its ends are linked or
    // released in revision r; the history copy is taken first when a flag changes.
    void SetOwnFlags(bool newFixed, bool newAdjustPending, Revision r, CElmntList& list,
                     int32_t couplingMaterial);
    // A plain coupling at the frame, upright to the world, appended to the list.
    CElmnt& CreateCoupling(const CTransform& frame, Revision r, CElmntList& list,
                           int32_t couplingMaterial);

    ElmntId m_id;                 // beside the group mark, where it leaves no padding
    CElmntList* m_list = nullptr; // owner; nullptr while in no list
    std::size_t m_listIndex = 0;  // position in the owner, kept by the list
    CElmntIdSource* m_idSource;
};
