// File, folder, library and settings actions of the remove list's commands.
#include "uninstall/UninstallActions.h"

#include <cerrno>
#include <cstdint>

#include <dlfcn.h>
#include <unistd.h>

int RemoveListedFile(const std::string& path) {
    // unlink removes the last component itself, never what a link there points to, and on this
    // platform never a folder (EISDIR), so no check before it can be raced.
    if (unlink(path.c_str()) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

int RemoveListedFolder(const std::string& path) {
    // rmdir does not follow a link in the last component, even with a trailing '/' (ENOTDIR).
    if (rmdir(path.c_str()) != 0) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

void UnregisterServerLibrary(const std::string& path) {
    // Binding every symbol now makes a library with missing dependencies fail here, quietly,
    // instead of ending the uninstaller when the function is called.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return;
    }
    using UnregisterFunction = int32_t (*)();
    void* symbol = dlsym(library, "DllUnregisterServer");
    if (symbol != nullptr) {
        reinterpret_cast<UnregisterFunction>(symbol)();
    }
    dlclose(library);
}

bool RegDeleteKeyTree(SettingsRoot root, const std::string& keyPath) {
    if (root == SettingsRoot::ClassesRoot || keyPath.empty()) {
        return false;
    }
    // The store deletes the whole tree in one replacement of the file, so a key that cannot be
    // deleted leaves the file as it was instead of being retried.
    SettingsStore store(root, SettingsStore::Access::WriteMachine);
    return store.DeleteKeyTree(keyPath);
}
