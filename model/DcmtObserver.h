// How a design document tells the windows that show it what changed. The 3D view and the parts
// list view (and the framework's adapter that forwards to them) implement the observer; the
// document calls every registered observer after a change, with a hint of what happened.
#pragma once

#include <cstdint>

// The values are fixed: views compare them and the framework passes them on as integers.
enum class ViewHint : int32_t {
    Everything = 0, // anything may have changed: loading, cameras, render quality, history
    UndoRedo = 1,
    Deletion = 2,
    Insertion = 3, // elements inserted or pasted
    Change = 4,    // elements turned, moved or their properties changed
    Selection = 5, // the selection changed (in-box selection, select all)
};

class CDcmtObserver {
public:
    virtual ~CDcmtObserver() = default;
    // After the change, on the user-interface thread. An observer that holds elements holds
    // their identities and looks them up again here; an element pointer kept across the update
    // may name a freed record.
    virtual void OnUpdate(ViewHint hint) = 0;

protected:
    CDcmtObserver() = default;
    CDcmtObserver(const CDcmtObserver&) = default;
    CDcmtObserver& operator=(const CDcmtObserver&) = default;
};
