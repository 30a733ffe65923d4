// The GL calls that differ between the desktop's OpenGL and the browser's WebGL with
// its emulation of immediate mode: vertices, runs of segments (WebGL draws no line wider
// than one pixel), bitmap text (the browser's GLUT has no fonts), the line width and the
// viewport. The
// drawing code calls these and draws the same picture on both.
#pragma once

#include "graphics/primitives.h"

namespace fv {

// A vertex in window coordinates, handed to GL in single precision, which is what GL
// keeps of it anyway.
void vertex(double x, double y);

// A quad's corner: where [window units] and its colour.
struct QuadCorner {
    float x;
    float y;
    Color4 color;
};

// Quads, four corners each in drawing order, as GL_QUADS with a colour per corner. The
// browser hands them to WebGL in one array, not a call per vertex and colour: a map's
// thousands of cells draw in a few milliseconds rather than tens.
void drawQuads(const QuadCorner* corners, int quadCount);

// A run of segments of one colour at the current line width, between begin and end.
struct SegmentRun {
    Color4 color;
    bool asQuads;      // drawn as quads: wide lines in the browser
    double halfPixelX; // half the line width across a y-major segment [window units]
    double halfPixelY; // the same across an x-major one
};
SegmentRun beginSegments(const Color4* color);
void addSegment(const SegmentRun* run, double x0, double y0, double x1, double y1);
void endSegments(const SegmentRun* run);

// Sets GL's line width; the segments that follow are drawn that wide.
void setLineWidth(float width);
// GL's line width now. The browser answers from the width it set, not by asking WebGL:
// a WebGL query waits for the GPU process, and a frame asks hundreds of times.
float currentLineWidth();

// Sets GL's viewport [pixels], and the viewport now (left, bottom, width, height), which
// the browser also answers from what it set.
void setViewport(int left, int bottom, int width, int height);
void currentViewport(int box[4]);

// The 18-pixel Helvetica bitmap font: text whose base line starts at (x, y) in the
// current raster colour, and a text's width [pixels].
void drawBitmapText(float x, float y, const char* text);
int bitmapTextWidth(const char* text);

// Where a label's position is: its start, its middle or its end.
enum class LabelAnchor { start, middle, end };

// A frame's labels begin: the page clears the layer it writes them on.
void beginLabels();
// Text in the reader's script (UTF-8) in a font that holds it, `pixels` tall, its base
// line starting at, centred on or ending at (x, y) [window units], in color.
void drawLabel(double x, double y, const char* text, double pixels, const Color4* color,
               LabelAnchor anchor, bool bold);

} // namespace fv
