// The clear view's text on the page: the browser writes it with its own fonts on a 2D
// layer over the picture's WebGL canvas, the same size in pixels, so that it is sharp at
// the device's pixel ratio and in every script the catalogs hold.
#include <GL/gl.h>
#include <emscripten.h>

#include "graphics/gl_port.h"

namespace fv {

namespace {

// The bodies are JavaScript, which clang-format would take for C++.
// clang-format off

// Clears the text layer, sized as the picture's drawing buffer.
EM_JS(void, clearLabelLayer, (), {
    const picture = document.getElementById('canvas');
    const layer = document.getElementById('labels');
    if (!picture || !layer) {
        return;
    }
    if (layer.width !== picture.width || layer.height !== picture.height) {
        layer.width = picture.width; // which clears it
        layer.height = picture.height;
        return;
    }
    layer.getContext('2d').clearRect(0, 0, layer.width, layer.height);
});

// Writes text with its base line at (x, y) pixels from the layer's top left.
EM_JS(void, writeLabel,
      (double x, double y, const char* text, double pixels, double r, double g, double b,
       int anchor, int bold),
      {
          const layer = document.getElementById('labels');
          if (!layer) {
              return;
          }
          const c = layer.getContext('2d');
          // On a phone the picture is a few hundred CSS pixels wide: its text keeps a
          // readable size there, whatever share of the frame that takes.
          const cssPerPixel = layer.clientWidth > 0 ? layer.clientWidth / layer.width : 1;
          pixels = Math.max(pixels, 10 / cssPerPixel);
          c.font = (bold ? 'bold ' : '') + pixels.toFixed(1) +
                   'px "IPAPGothic", "Noto Sans CJK JP", "Hiragino Sans", "Yu Gothic", sans-serif';
          c.textAlign = anchor === 1 ? 'center' : anchor === 2 ? 'right' : 'left';
          c.textBaseline = 'alphabetic';
          c.fillStyle = 'rgb(' + Math.round(r * 255) + ',' + Math.round(g * 255) + ',' +
                        Math.round(b * 255) + ')';
          c.fillText(UTF8ToString(text), x, y);
      });

// clang-format on

} // namespace

void beginLabels() {
    clearLabelLayer();
}

void drawLabel(double x, double y, const char* text, double pixels, const Color4* color,
               LabelAnchor anchor, bool bold) {
    int box[4] = {0, 0, 0, 0};
    currentViewport(box);
    GLint height = 0;
    height = EM_ASM_INT({ return document.getElementById('canvas').height; });
    const double px = box[0] + (x + 1.0) * 0.5 * box[2];
    const double py = height - (box[1] + (y + 1.0) * 0.5 * box[3]);
    writeLabel(px, py, text, pixels, color->r, color->g, color->b, static_cast<int>(anchor),
               bold ? 1 : 0);
}

} // namespace fv
