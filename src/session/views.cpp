// The window's keys: look-ups in their table.
#include "session/views.h"

#include <string>

namespace fv {

const WindowKey* findWindowKey(unsigned char key) {
    for (const WindowKey& k : windowKeys) {
        if (k.key == key) {
            return &k;
        }
    }
    return nullptr;
}

const char* viewKeyList() {
    static const std::string list = [] {
        std::string text;
        for (const WindowKey& k : windowKeys) {
            if (k.view) {
                text += (text.empty() ? "" : " ") + std::string(k.name);
            }
        }
        return text;
    }();
    return list.c_str();
}

} // namespace fv
