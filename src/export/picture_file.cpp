// Picture files: PNG bytes handed to the safe file writer. A new name is claimed so
// that two pictures taken in the same second, or by two programs, never overwrite each
// other.
#include "export/picture_file.h"

#include "export/atomic_file.h"

namespace fv {

bool writePictureFile(TemporaryFiles* temporaries, const RgbPicture& picture,
                      const std::string& path, std::string* error) {
    FileContent file = {path, ""};
    if (!encodePng(picture, &file.bytes, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return writeFileSet(temporaries, &file, 1, error);
}

bool writeNewPictureFile(TemporaryFiles* temporaries, const RgbPicture& picture,
                         const std::string& stem, std::string* path, std::string* error) {
    std::string bytes;
    if (!encodePng(picture, &bytes, error)) {
        *error = stem + ".png: " + *error;
        return false;
    }
    return writeNewFile(temporaries, stem, ".png", bytes, path, error);
}

std::string pictureStem(std::time_t when) {
    std::tm local = {};
    localtime_r(&when, &local);
    char text[64];
    std::strftime(text, sizeof text, "frictionvib-%Y%m%d-%H%M%S", &local);
    return text;
}

} // namespace fv
