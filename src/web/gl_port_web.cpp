// The GL calls of the drawing, as the browser's WebGL emulation of immediate mode takes
// them. WebGL draws no line wider than one pixel: wider segments become quads, widened
// across their major axis as GL widens a line. GLUT's fonts are missing: text is drawn
// from the glyph table made from the desktop GLUT, a quad per run of set pixels in a
// glyph row, placed as GL places a bitmap. The line width and the viewport are kept
// here as they are set: asking WebGL for them stalls the page until the GPU answers.
#include "graphics/gl_port.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

#include "glyphs.h"

namespace fv {

namespace {

// The raster colour of the desktop's text: with lighting on and no light, GL lights a
// raster position with the default material's ambient times the scene's (0.2 * 0.2).
constexpr Color4 textColor = {0.04f, 0.04f, 0.04f, 1.0f};
// GL's rounding of a bitmap's corner: the raster position is truncated after this nudge
// [pixels].
constexpr float bitmapNudge = 0.0001f;
constexpr int bitsPerByte = 8;
// Quads in one array draw: their 16-bit indices (six a quad) must stay below 65536.
constexpr int quadsPerDraw = 8192;

// GL's state as the program set it: GL starts with lines one pixel wide and an empty
// viewport until the page sets the canvas's.
struct KeptState {
    float lineWidth = 1.0f;         // [pixels]
    int viewport[4] = {0, 0, 0, 0}; // left, bottom, width, height [pixels]
};

KeptState& kept() {
    static KeptState state;
    return state;
}

void setColor(const Color4& c) {
    glColor4f(c.r, c.g, c.b, c.a);
}

const BitmapGlyph* glyphOf(char c) {
    const int code = static_cast<unsigned char>(c);
    return code >= glyphFirst && code <= glyphLast ? &glyphs[code - glyphFirst] : nullptr;
}

// The set pixels of glyph g with its lower left pixel at (x0, y0), as quads in pixels
// mapped to window units by (px - left) * sx - 1, added to corners.
void glyphQuads(const BitmapGlyph& g, int x0, int y0, const int box[4],
                std::vector<QuadCorner>* corners) {
    const double sx = 2.0 / box[2];
    const double sy = 2.0 / box[3];
    const int bytesPerRow = (g.width + bitsPerByte - 1) / bitsPerByte;
    for (int row = 0; row < g.height; ++row) {
        const unsigned char* bits = &glyphBits[g.offset + row * bytesPerRow];
        int column = 0;
        while (column < g.width) {
            auto set = [&](int k) { return (bits[k / bitsPerByte] >> (7 - k % bitsPerByte)) & 1; };
            if (!set(column)) {
                ++column;
                continue;
            }
            int end = column;
            while (end < g.width && set(end)) {
                ++end;
            }
            const double left = (x0 + column - box[0]) * sx - 1.0;
            const double right = (x0 + end - box[0]) * sx - 1.0;
            const double bottom = (y0 + row - box[1]) * sy - 1.0;
            const double top = bottom + sy;
            const double xy[4][2] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
            for (const auto& p : xy) {
                corners->push_back({static_cast<float>(p[0]), static_cast<float>(p[1]), textColor});
            }
            column = end;
        }
    }
}

} // namespace

void drawQuads(const QuadCorner* corners, int quadCount) {
    for (int first = 0; first < quadCount; first += quadsPerDraw) {
        const int count = std::min(quadsPerDraw, quadCount - first);
        const QuadCorner* c = corners + 4 * first;
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(QuadCorner), &c->x);
        glColorPointer(4, GL_FLOAT, sizeof(QuadCorner), &c->color);
        glDrawArrays(GL_QUADS, 0, 4 * count);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (quadCount > 0) {
        setColor(corners[4 * quadCount - 1].color); // the colour immediate mode leaves current
    }
}

SegmentRun beginSegments(const Color4* color) {
    const float width = currentLineWidth();
    SegmentRun run = {*color, width > 1.0f, 0.0, 0.0};
    if (run.asQuads) {
        int box[4];
        currentViewport(box);
        run.halfPixelX = box[2] > 0 ? width / box[2] : 0.0; // width/2 pixels of 2/box[2] units
        run.halfPixelY = box[3] > 0 ? width / box[3] : 0.0;
    }
    setColor(*color);
    glBegin(run.asQuads ? GL_QUADS : GL_LINES);
    return run;
}

void addSegment(const SegmentRun* run, double x0, double y0, double x1, double y1) {
    if (!run->asQuads) {
        setColor(run->color);
        vertex(x0, y0);
        setColor(run->color);
        vertex(x1, y1);
        return;
    }
    const bool xMajor = std::fabs(x1 - x0) >= std::fabs(y1 - y0);
    const double dx = xMajor ? 0.0 : run->halfPixelX;
    const double dy = xMajor ? run->halfPixelY : 0.0;
    const double corners[4][2] = {
        {x0 - dx, y0 - dy}, {x1 - dx, y1 - dy}, {x1 + dx, y1 + dy}, {x0 + dx, y0 + dy}};
    for (const auto& c : corners) {
        setColor(run->color);
        vertex(c[0], c[1]);
    }
}

void drawBitmapText(float x, float y, const char* text) {
    int box[4];
    currentViewport(box);
    if (box[2] <= 0 || box[3] <= 0) {
        return;
    }
    // The raster position, as GL maps (x, y) through identity matrices to the window.
    float rasterX = (x + 1.0f) * 0.5f * static_cast<float>(box[2]) + static_cast<float>(box[0]);
    const float rasterY =
        (y + 1.0f) * 0.5f * static_cast<float>(box[3]) + static_cast<float>(box[1]);
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    std::vector<QuadCorner> corners;
    for (const char* p = text; *p != '\0'; ++p) {
        const BitmapGlyph* g = glyphOf(*p);
        if (g == nullptr) {
            continue;
        }
        const int x0 = static_cast<int>(std::floor(rasterX + bitmapNudge - g->xorig));
        const int y0 = static_cast<int>(std::floor(rasterY + bitmapNudge - g->yorig));
        glyphQuads(*g, x0, y0, box, &corners);
        rasterX += g->xmove;
    }
    drawQuads(corners.data(), static_cast<int>(corners.size() / 4));
    if (lit) {
        glEnable(GL_LIGHTING);
    }
}

void setLineWidth(float width) {
    glLineWidth(width);
    kept().lineWidth = width;
}

float currentLineWidth() {
    return kept().lineWidth;
}

void setViewport(int left, int bottom, int width, int height) {
    glViewport(left, bottom, width, height);
    const int box[4] = {left, bottom, width, height};
    std::copy(box, box + 4, kept().viewport);
}

void currentViewport(int box[4]) {
    std::copy(kept().viewport, kept().viewport + 4, box);
}

int bitmapTextWidth(const char* text) {
    float width = 0.0f;
    for (const char* p = text; *p != '\0'; ++p) {
        const BitmapGlyph* g = glyphOf(*p);
        width += g != nullptr ? g->xmove : 0.0f;
    }
    return static_cast<int>(width);
}

} // namespace fv
