// The least-squares position adjustment ("Positionsausgleich"): real tubes and panels are not
// perfectly rigid, so a design closed into a loop rarely meets exactly. From one start element the
// connected unfixed tubes, panels and couplings are collected, one linear equation is written per
// coordinate and connection, and the system is solved by singular value decomposition with small
// singular values cut off (large independent parts of it by a sparse solver that gives the same
// solution). The unknowns are the length corrections of tubes and panels (mm) and
// the shifts of couplings divided by 10000, so that in the solution of least norm moving a
// coupling costs far less than changing a correction by the same distance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/Elmnt.h"
#include "model/ListPointGrid.h"
#include "model/SolveSvd.h"

class CElmntList;

// What an unknown stands for; the values are fixed.
enum class FitVarKind : int32_t {
    Correction = 0,            // the correction of a tube or bent tube (mm)
    PanelCorrection = 1,       // a panel's correction (mm), its corner 0 kept in place
    PanelSecondCorrection = 2, // a panel's second correction (mm), its corner 0 kept in place
    ShiftX = 3,                // a coupling's shift along world x, y or z, divided by 10000
    ShiftY = 4,
    ShiftZ = 5,
};

// Coupling shifts enter every equation with this coefficient (or its negative) and are written
// back multiplied by it.
inline constexpr double FitCouplingWeight = 10000.0;
// Moves and changes of a correction below this (mm) are rounding: writing back leaves them out,
// so that adjusting a design that already meets changes nothing and opens no revision, instead
// of copying every element of the connected part for a change in the twelfth decimal.
inline constexpr double FitNegligibleMove = 1e-7;
// Singular values below this share of the largest are cut off.
inline constexpr double FitSingularCut = 1e-8;
// Independent blocks of up to this many unknowns are solved by the dense decomposition (a few
// milliseconds), larger ones by the sparse solver, whose time grows about linearly with the
// block instead of with the cube of its unknowns.
inline constexpr int FitDenseColumns = 200;
// A block for the sparse solver with a singular value near the cut is decomposed densely up to
// this many unknowns (a few seconds); a larger one is not solved.
inline constexpr int FitDenseFallbackColumns = 1500;

// One unknown: a column of the system.
struct SFitVar {
    FitVarKind kind;
    CElmnt* elmnt;
    int index;            // its column: the number of unknowns before it
    int linkedIndex = -1; // tubes and panels: the first of the three shift unknowns of the coupling
                          // at end 0 or corner 0, which the element's position follows; -1 none

    // Writes the solution's value into the element in revision r (CElmnt::BeginChange first),
    // unless nothing would change. True when it wrote.
    bool WriteBack(const CFitVctr& x, Revision r, CElmntList& list, int32_t couplingMaterial) const;
};

// One equation: the sum of its terms equals its right-hand side.
struct SFitEqtn {
    struct STerm {
        int index; // column of the unknown
        double coefficient;
    };
    std::vector<STerm> terms;
    double rhs = 0.0;

    // A second term of the same unknown (both ends of a tube at one coupling) adds its
    // coefficient to the first.
    void AddTerm(const SFitVar& var, double coefficient);
    void AddRhs(double value) { rhs += value; }
};

// The ends and corners of a design's elements by place, so that a coupling finds the elements
// that meet it among a few grid cells instead of walking the whole list. For every element alive
// at its revision that takes couplings at its ends or corners, the index holds its list position
// in the cell of each end and corner; the lookup still measures them exactly as the walk does.
//
// Like the coupling index it keeps up with the list as long as records are only appended (the
// history states an adjustment leaves behind), and starts over after any other change; an
// element that moved must be told (Moved), and its old entries simply fail the measure.
class CFitNeighbours : public CListPointGrid {
public:
    CFitNeighbours(const CElmntList& list, Revision r) : CListPointGrid(list, r, kCellSize) {}

    // Replaces near by the list positions, ascending and each once, among which every element
    // alive at the revision with an end or corner point strictly within the neighbour distance
    // of p is found (others may be there too).
    void Near(const CVector3& p, std::vector<uint32_t>& near);

private:
    // Wider than the neighbour distance of 40 mm: a lookup visits at most two cells per axis.
    static constexpr double kCellSize = 100.0;

    // The points the walk measures: the ends that take couplings and a panel's corners.
    void EnterPoints(const CElmnt& elmnt, uint32_t position) override;
};

// How a coupling finds the elements that meet it: through the index above, or by walking the
// whole list (the plain way, which the index must agree with).
enum class FitNeighbourSearch { Indexed, WalkList };

// The unknowns and equations collected from one start element.
class CFitSystem {
public:
    explicit CFitSystem(FitNeighbourSearch search = FitNeighbourSearch::Indexed)
        : m_search(search) {}

    // Collects from start at revision r (see AdjustPositions.cpp), finding couplings within the
    // squared snap radius (mm²). Clears the adjust-pending flag of every element reached; a fixed
    // start element is reached but contributes nothing. Runs without recursion, in time linear
    // in the design: the couplings are looked up in the list's coupling index (one is kept for
    // the collection unless one for r is in force) and the neighbours of a coupling in
    // neighbours, or in an index of its own when that is nullptr or not for r.
    void BuildFitEquations(CElmnt& start, Revision r, CElmntList& list, double snapRadiusSq,
                           CFitNeighbours* neighbours = nullptr);

    const std::vector<SFitVar>& GetVars() const { return m_vars; }
    const std::vector<SFitEqtn>& GetEqtns() const { return m_eqtns; }
    // The first unknown of the element; nullptr when it has none.
    const SFitVar* FindVar(const CElmnt& elmnt) const;

    // The least-squares solution of minimal norm, one entry per unknown, solved by independent
    // blocks: a block of up to denseColumns unknowns by the dense decomposition, a larger one by
    // the sparse solver (SolveSparse.h), both with the same cut of small singular values.
    // False when a dense decomposition did not converge within maxSweeps QR iterations per
    // singular value, the sparse solver failed or any value is not finite: then the solution
    // must not be used.
    bool Solve(CFitVctr& x, int maxSweeps = kSvdMaxSweeps,
               int denseColumns = FitDenseColumns) const;
    // Writes every unknown back in revision r, in the order of the unknowns. True when anything
    // was written. The list's coupling index and neighbours, when given, are told what moved.
    bool WriteBack(const CFitVctr& x, Revision r, CElmntList& list, int32_t couplingMaterial,
                   CFitNeighbours* neighbours = nullptr) const;

private:
    struct SFrame;

    int AddVar(CElmnt& elmnt, FitVarKind kind);
    bool HasVar(const CElmnt& elmnt) const { return m_firstVar.contains(&elmnt); }
    // Makes the element's unknowns and finds what it will collect.
    SFrame Enter(CElmnt& elmnt, Revision r, const CElmntList& list, double snapRadiusSq,
                 CFitNeighbours& neighbours);
    // Goes on with the frame: the next element to collect, or nullptr when it is done (its
    // equations then written).
    CElmnt* Resume(SFrame& frame, Revision r, const CElmntList& list);
    void AddTubeEquations(const SFrame& frame);
    void AddPanelEquations(const SFrame& frame);

    std::vector<SFitVar> m_vars;
    std::vector<SFitEqtn> m_eqtns;
    std::unordered_map<const CElmnt*, int> m_firstVar;
    FitNeighbourSearch m_search;
};

// What one adjustment did.
enum class AdjustOutcome {
    Unchanged, // nothing to solve, or the solution moved nothing
    Moved,     // the solution was written back
    Failed,    // no solution could be had: nothing was written
};

// CElmnt::AdjustPositions with a bound on the solver's iterations (the program uses the default)
// and the neighbours' index of a pass over many start elements (nullptr: one of its own).
AdjustOutcome AdjustPositionsFrom(CElmnt& start, Revision r, CElmntList& list,
                                  int32_t couplingMaterial, double snapRadiusSq,
                                  int maxSweeps = kSvdMaxSweeps,
                                  CFitNeighbours* neighbours = nullptr);
