// Picture files: a picture written as PNG under a given name, or under a new name that
// takes a suffix -2, -3, ... when the name is taken.
#pragma once

#include <ctime>
#include <string>

#include "export/interrupt.h"
#include "export/png.h"

namespace fv {

// Writes picture to path as PNG, whole or not at all, by the rules of the safe file
// writer (a link is followed, a device or FIFO written into, a regular file replaced).
bool writePictureFile(TemporaryFiles* temporaries, const RgbPicture& picture,
                      const std::string& path, std::string* error);

// Writes picture to stem + ".png", or to
// stem-2.png, stem-3.png, ... when that name is taken; never replaces a file. The
// name used goes to *path.
bool writeNewPictureFile(TemporaryFiles* temporaries, const RgbPicture& picture,
                         const std::string& stem, std::string* path, std::string* error);

// "frictionvib-YYYYMMDD-HHMMSS" for a local time.
std::string pictureStem(std::time_t when);

} // namespace fv
