// Loading of the window module: libfvwindow.so from the folder of the program itself
// (/proc/self/exe), so that it is found wherever the program is started from.
#include "app/window_loader.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace fv {

std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return "./";
    }
    std::string folder(path, static_cast<std::size_t>(n));
    return folder.substr(0, folder.rfind('/') + 1);
}

const WindowModule* loadWindowModule(std::string* error) {
    const std::string path = programFolder() + windowModuleFile;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        *error = dlerror();
        return nullptr;
    }
    using Entry = const WindowModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, windowModuleSymbol));
    if (entry == nullptr) {
        *error = path + ": no entry " + windowModuleSymbol;
        return nullptr;
    }
    return entry(); // a second load finds the module loaded and gives the same entry points
}

} // namespace fv
