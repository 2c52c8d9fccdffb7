// Writes a machine settings file that names a default price list and stock list and the folder
// of the slide model, so that the design program started from the build tree reads the files in
// data/ on a user's first start (a user's own choice, kept in the user's settings, still comes
// first). The user's settings are never touched.
//
//   zarnel_settingsgen <folder> <price list> <stock list> <slide model folder>
//
// writes the machine settings file of <folder> (the folder that ZARNEL_MACHINE_CONFIG_DIR then
// names), replacing one that is there.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/ListFile.h"
#include "support/SettingsStore.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: zarnel_settingsgen <folder> <price list> <stock list> "
                             "<slide model folder>\n");
        return 2;
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(argv[1], error);
    const std::filesystem::path prices = std::filesystem::absolute(argv[2], error);
    const std::filesystem::path stock = std::filesystem::absolute(argv[3], error);
    const std::filesystem::path models = std::filesystem::absolute(argv[4], error);
    if (error) {
        std::fprintf(stderr, "zarnel_settingsgen: %s\n", error.message().c_str());
        return 1;
    }
    setenv("ZARNEL_MACHINE_CONFIG_DIR", folder.c_str(), 1);
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    // A fresh file: values left by an earlier run or by hand would otherwise stay.
    std::filesystem::remove(machine.GetFilePath(), error);
    // "VRML" names the folder of the slide model "rutsche10.wrl", under the lists' key.
    if (!machine.WriteValue(ListFilesKey, "OrdrCodeFile", SettingValue::String(prices.string())) ||
        !machine.WriteValue(ListFilesKey, "NmbrAvlFile", SettingValue::String(stock.string())) ||
        !machine.WriteValue(ListFilesKey, "VRML", SettingValue::String(models.string()))) {
        std::fprintf(stderr, "zarnel_settingsgen: %s could not be written\n",
                     machine.GetFilePath().c_str());
        return 1;
    }
    return 0;
}
