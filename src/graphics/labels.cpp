// The clear view's text on the desktop: FreeType renders it in the font fontconfig picks
// for Japanese (which holds Latin and Greek too), and GL blends its coverage into the
// frame at the label's pixel. GLUT's bitmap fonts have neither the sizes nor the script.
#define GL_GLEXT_PROTOTYPES // glWindowPos2i, of OpenGL 1.4
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <string>
#include <unordered_map>
#include <vector>
#include FT_FREETYPE_H

#include "graphics/gl_port.h"

namespace fv {

namespace {

// A label's coverage, rows from the bottom, and where its base line's start is in it.
struct Coverage {
    int width = 0;
    int height = 0;
    int originX = 0; // the base line's start, from the left [pixels]
    int originY = 0; // from the bottom [pixels]
    std::vector<unsigned char> alpha;
};

// Labels rendered, kept by text, size and weight: most labels of a frame are those of
// the last one, and rendering them again would cost more than the rest of the frame.
constexpr std::size_t keptLabels = 512;

// The fonts, found and opened at the first label and kept while the program runs (a
// look-up costs milliseconds, a frame has dozens of labels), and the labels rendered.
struct Fonts {
    FT_Library library = nullptr;
    FT_Face regular = nullptr;
    FT_Face bold = nullptr;
    bool tried = false;
    std::unordered_map<std::string, Coverage> rendered;
};

Fonts& fonts() {
    static Fonts f;
    return f;
}

// The file of the font fontconfig matches to pattern, or "".
std::string matchFile(const char* pattern) {
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (p == nullptr) {
        return "";
    }
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    std::string file;
    FcChar8* name = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &name) == FcResultMatch) {
        file = reinterpret_cast<const char*>(name);
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(p);
    return file;
}

FT_Face openFace(const char* pattern) {
    const std::string file = matchFile(pattern);
    FT_Face face = nullptr;
    if (file.empty() || FT_New_Face(fonts().library, file.c_str(), 0, &face) != 0) {
        return nullptr;
    }
    return face;
}

FT_Face faceFor(bool bold) {
    Fonts& f = fonts();
    if (!f.tried) {
        f.tried = true;
        if (FcInit() && FT_Init_FreeType(&f.library) == 0) {
            // Proportional Latin first: the fixed-width Japanese gothics space numbers
            // widely.
            f.regular = openFace("IPAPGothic,sans-serif:lang=ja");
            f.bold = openFace("IPAPGothic,sans-serif:lang=ja:weight=bold");
        }
    }
    return bold && f.bold != nullptr ? f.bold : f.regular;
}

// The code points of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<std::uint32_t> codePoints(const char* text) {
    std::vector<std::uint32_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        int extra = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
        std::uint32_t c = extra == 0 ? *p : *p & (0x3F >> extra);
        int k = 1;
        for (; k <= extra && (p[k] & 0xC0) == 0x80; ++k) {
            c = (c << 6) | (p[k] & 0x3F);
        }
        if (k <= extra) {
            c = *p; // broken sequence
            k = 1;
        }
        out.push_back(c);
        p += k;
    }
    return out;
}

Coverage render(FT_Face face, const std::vector<std::uint32_t>& text, int pixels) {
    Coverage c;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
    const int ascent = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0));
    const int descent = static_cast<int>(std::ceil(-face->size->metrics.descender / 64.0));
    int advance = 0;
    for (const std::uint32_t cp : text) {
        if (FT_Load_Char(face, cp, FT_LOAD_DEFAULT) == 0) {
            advance += static_cast<int>(face->glyph->advance.x / 64);
        }
    }
    c.width = advance + 2;
    c.height = ascent + descent + 2;
    c.originX = 1;
    c.originY = descent + 1;
    c.alpha.assign(static_cast<std::size_t>(c.width) * c.height, 0);
    int penX = c.originX;
    for (const std::uint32_t cp : text) {
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& b = g->bitmap;
        for (unsigned row = 0; row < b.rows; ++row) {
            const int y = c.originY + g->bitmap_top - 1 - static_cast<int>(row);
            for (unsigned col = 0; col < b.width; ++col) {
                const int x = penX + g->bitmap_left + static_cast<int>(col);
                if (x < 0 || x >= c.width || y < 0 || y >= c.height) {
                    continue;
                }
                unsigned char& a = c.alpha[static_cast<std::size_t>(y) * c.width + x];
                a = std::max(a, b.buffer[row * b.pitch + col]);
            }
        }
        penX += static_cast<int>(g->advance.x / 64);
    }
    return c;
}

} // namespace

void beginLabels() {}

void drawLabel(double x, double y, const char* text, double pixels, const Color4* color,
               LabelAnchor anchor, bool bold) {
    FT_Face face = faceFor(bold);
    const int size = static_cast<int>(std::lround(pixels));
    if (face == nullptr || size < 1 || text[0] == '\0') {
        return;
    }
    Fonts& f = fonts();
    const std::string key = std::to_string(size) + (bold ? "b" : "r") + text;
    auto found = f.rendered.find(key);
    if (found == f.rendered.end()) {
        if (f.rendered.size() >= keptLabels) {
            f.rendered.clear();
        }
        found = f.rendered.emplace(key, render(face, codePoints(text), size)).first;
    }
    const Coverage& c = found->second;
    int box[4] = {0, 0, 0, 0};
    currentViewport(box);
    const double textWidth = c.width - 2;
    const double shift = anchor == LabelAnchor::middle ? 0.5 * textWidth
                         : anchor == LabelAnchor::end  ? textWidth
                                                       : 0.0;
    const int left =
        static_cast<int>(std::lround(box[0] + (x + 1.0) * 0.5 * box[2] - shift)) - c.originX;
    const int bottom = static_cast<int>(std::lround(box[1] + (y + 1.0) * 0.5 * box[3])) - c.originY;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(c.width) * c.height * 4);
    for (std::size_t k = 0; k < c.alpha.size(); ++k) {
        rgba[4 * k] = static_cast<unsigned char>(color->r * 255.0f + 0.5f);
        rgba[4 * k + 1] = static_cast<unsigned char>(color->g * 255.0f + 0.5f);
        rgba[4 * k + 2] = static_cast<unsigned char>(color->b * 255.0f + 0.5f);
        rgba[4 * k + 3] = c.alpha[k];
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glWindowPos2i(left, bottom);
    glDrawPixels(c.width, c.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopClientAttrib();
    glPopAttrib();
}

} // namespace fv
