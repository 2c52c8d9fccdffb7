// The compiled-in resources of one program: a flat table made by the resource compiler.
#pragma once

#include <cstdint>

struct ResourceEntry {
    uint32_t type;              // 2 bitmap, 6 string, others by number
    uint32_t id;                // the system's own resource number
    uint32_t langId;            // Windows language identifier (1031 German, 1024 neutral, ...)
    const unsigned char* data;  // followed by one NUL byte that size does not count
    uint32_t size;              // bytes
};

struct ResourceModule {
    const ResourceEntry* entries;
    uint32_t count;
};
