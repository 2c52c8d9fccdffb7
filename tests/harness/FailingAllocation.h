// Allocation failure on demand, for the tests whose program is built with FailingAllocation.cpp,
// which replaces the global operator new and delete. While armed, every allocation of at least
// fromSize bytes fails once letThrough of them went through, up to failures of them (then they
// go through again): large blocks only, as when memory runs out for them, or one allocation
// anywhere, to try every point of an operation in turn.
#pragma once

#include <climits>
#include <cstddef>

void ArmFailingAllocations(std::size_t fromSize, int letThrough, int failures = INT_MAX);
// Disarms; true when an allocation failed while armed.
bool DisarmFailingAllocations();

// Runs call armed; the call's result.
template <class Call>
auto WithAllocationsFailing(std::size_t fromSize, int letThrough, int failures, Call call) {
    ArmFailingAllocations(fromSize, letThrough, failures);
    auto result = call();
    DisarmFailingAllocations();
    return result;
}
