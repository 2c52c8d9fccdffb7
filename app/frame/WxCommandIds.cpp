// The way back from wx numbers to the system's commands.
#include "app/frame/WxCommandIds.h"

#include <unordered_map>

#include "app/frame/CommandTable.h"

uint32_t SystemCommandId(int wxId) {
    static const std::unordered_map<int, uint32_t> commands = [] {
        std::unordered_map<int, uint32_t> map;
        for (const SCommandInfo& info : GetCommands()) {
            map.emplace(WxCommandId(info.id), info.id);
        }
        return map;
    }();
    auto found = commands.find(wxId);
    return found == commands.end() ? 0 : found->second;
}
