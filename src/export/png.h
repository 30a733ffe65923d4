// PNG pictures: 8-bit RGB rows encoded with libpng, and read back for the tests.
#pragma once

#include <string>
#include <vector>

namespace fv {

// An RGB picture, rows from the top, three bytes per pixel.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The PNG file of picture in *bytes; false with *error when libpng fails.
bool encodePng(const RgbPicture& picture, std::string* bytes, std::string* error);

// Reads a PNG file as 8-bit RGB; false with *error when it is not a readable PNG.
bool readPng(const std::string& path, RgbPicture* picture, std::string* error);

} // namespace fv
