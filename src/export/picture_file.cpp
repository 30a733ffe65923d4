// Picture files. A new name is claimed with link(), which fails on a name that exists,
// so two pictures taken in the same second, or by two programs, never overwrite each
// other.
#include "export/picture_file.h"

#include "export/atomic_file.h"

namespace fv {

namespace {

constexpr int maxSuffix = 1000; // names tried before giving up

} // namespace

bool writePictureFile(const RgbPicture& picture, const std::string& path, std::string* error) {
    std::string bytes;
    if (!encodePng(picture, &bytes, error)) {
        *error = path + ": " + *error;
        return false;
    }
    StagedFile staged;
    return stageFile(path, bytes, &staged, error) && commitFile(staged, error);
}

bool writeNewPictureFile(const RgbPicture& picture, const std::string& stem, std::string* path,
                         std::string* error) {
    std::string bytes;
    if (!encodePng(picture, &bytes, error)) {
        *error = stem + ".png: " + *error;
        return false;
    }
    StagedFile staged;
    if (!stageFile(stem + ".png", bytes, &staged, error)) {
        return false;
    }
    for (int n = 1; n <= maxSuffix; ++n) {
        const std::string name = n == 1 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
        bool taken = false;
        if (commitFileNew(staged, name, &taken, error)) {
            *path = name;
            return true;
        }
        if (!taken) {
            discardFile(staged);
            return false;
        }
    }
    discardFile(staged);
    *error = stem + ".png: no free name up to suffix -1000";
    return false;
}

std::string pictureStem(std::time_t when) {
    std::tm local = {};
    localtime_r(&when, &local);
    char text[64];
    std::strftime(text, sizeof text, "frictionvib-%Y%m%d-%H%M%S", &local);
    return text;
}

} // namespace fv
