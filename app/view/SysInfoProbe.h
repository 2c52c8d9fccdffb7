// Gathers the system-information report's values from this machine: /proc, uname, the
// distribution's release file, and the GL context current on the calling thread.
#pragma once

#include <cstdint>
#include <string>

#include "app/view/SysInfo.h"

SSysInfo ProbeSysInfo(uint32_t flags);

// Parsers of the system's files, apart so they can be fed known texts.
std::vector<SSysProcessor> ParseCpuInfo(const std::string& cpuInfo);
bool ParseMemInfo(const std::string& memInfo, SSysMemory& memory);
