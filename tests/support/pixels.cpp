// Test support: pixels of the window's pictures.
#include "support/pixels.h"

#include <cstddef>

const unsigned char* pixel(const std::vector<unsigned char>& picture, double wx, double wy) {
    const int x = static_cast<int>((wx + 1.0) * 0.5 * pictureSize);
    const int y = pictureSize - 1 - static_cast<int>((wy + 1.0) * 0.5 * pictureSize);
    return &picture[static_cast<std::size_t>((y * pictureSize + x) * 3)];
}

long differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.size() != b.size()) {
        return -1;
    }
    long count = 0;
    for (std::size_t i = 0; i < a.size(); i += 3) {
        count += (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ? 1 : 0;
    }
    return count;
}
