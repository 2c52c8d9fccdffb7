// All command tables of the 3D view, joined and indexed by command number.
#include "app/view/ViewCommand.h"

#include <unordered_map>
#include <vector>

namespace {

struct SCommandIndex {
    std::vector<SViewCommand> rows;
    std::unordered_map<uint32_t, std::size_t> byCommand;

    SCommandIndex() {
        for (std::span<const SViewCommand> family : {
                 GetToolCommandRows(),
                 GetCameraCommandRows(),
                 GetDisplayCommandRows(),
                 GetBoxCommandRows(),
                 GetEditCommandRows(),
             }) {
            for (const SViewCommand& row : family) {
                if (byCommand.emplace(row.command, rows.size()).second) {
                    rows.push_back(row);
                }
            }
        }
    }
};

const SCommandIndex& Index() {
    static const SCommandIndex index;
    return index;
}

} // namespace

std::span<const SViewCommand> GetViewCommands() {
    return Index().rows;
}

const SViewCommand* FindViewCommand(uint32_t command) {
    const SCommandIndex& index = Index();
    auto found = index.byCommand.find(command);
    return found != index.byCommand.end() ? &index.rows[found->second] : nullptr;
}
