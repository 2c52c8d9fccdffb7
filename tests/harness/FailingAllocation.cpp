// The replaced global allocation functions behind FailingAllocation.h.
#include "tests/harness/FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_failFrom{0}; // 0: off
std::atomic<int> g_letThrough{0};
std::atomic<int> g_failures{0};
std::atomic<bool> g_failed{false};

void* Allocate(std::size_t size) {
    const std::size_t limit = g_failFrom.load();
    if (limit != 0 && size >= limit && g_letThrough.fetch_sub(1) <= 0 &&
        g_failures.fetch_sub(1) > 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void ArmFailingAllocations(std::size_t fromSize, int letThrough, int failures) {
    g_letThrough = letThrough;
    g_failures = failures;
    g_failed = false;
    g_failFrom = fromSize;
}

bool DisarmFailingAllocations() {
    g_failFrom = 0;
    return g_failed.load();
}

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
