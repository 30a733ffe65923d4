// Test support: the pixels of the window's 800 x 800 pictures (RGB, three bytes a pixel)
// by window coordinates, their colours, and how many of them two pictures differ in.
#pragma once

#include <vector>

constexpr int pictureSize = 800; // the window's width and height [pixels]

struct Rgb {
    int r, g, b;
};

// The pixel of a picture whose rows run from the top at window coordinates (wx, wy).
const unsigned char* pixel(const std::vector<unsigned char>& picture, double wx, double wy);

inline Rgb rgbOf(const unsigned char* p) {
    return {p[0], p[1], p[2]};
}
inline bool isColour(Rgb c, int r, int g, int b) {
    return c.r == r && c.g == g && c.b == b;
}
inline bool isRed(Rgb c) {
    return isColour(c, 255, 0, 0);
}
inline bool isGreen(Rgb c) {
    return isColour(c, 0, 255, 0);
}
inline bool isBlue(Rgb c) {
    return isColour(c, 0, 0, 255);
}
inline bool isBlack(Rgb c) {
    return isColour(c, 0, 0, 0);
}
inline bool isWhite(Rgb c) {
    return isColour(c, 255, 255, 255);
}
inline bool isRed(const unsigned char* p) {
    return isRed(rgbOf(p));
}
inline bool isGreen(const unsigned char* p) {
    return isGreen(rgbOf(p));
}

// Pixels in which two pictures differ, or -1 when their sizes differ.
long differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);
