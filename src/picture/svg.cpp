// Writing a scene as SVG: window units to the view box's pixels (y down), line styles as
// dash arrays, text with an anchor and the fonts that hold its script.
#include "picture/svg.h"

#include <cstdio>

namespace fv {

namespace {

constexpr double half = 0.5 * svgFrameSize; // view-box pixels per window unit

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
    }
    if (!s.empty() && s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string px(double x) {
    return number((x + 1.0) * half);
}

std::string py(double y) {
    return number((1.0 - y) * half);
}

std::string color(const Rgb& c) {
    char text[8];
    auto byte = [](float v) { return static_cast<int>(v * 255.0f + 0.5f); };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
    return text;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

const char* dashes(Stroke stroke) {
    switch (stroke) {
    case Stroke::dashed:
        return " stroke-dasharray=\"9 6\"";
    case Stroke::dotted:
        return " stroke-dasharray=\"2 4\"";
    default:
        return "";
    }
}

const char* anchorName(Anchor a) {
    return a == Anchor::middle ? "middle" : a == Anchor::end ? "end" : "start";
}

void writeShape(const Shape& s, std::string* out) {
    switch (s.kind) {
    case ShapeKind::line: {
        std::string d;
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            d += (i == 0 ? "M" : " L") + px(s.points[i].x) + " " + py(s.points[i].y);
        }
        *out += "<path d=\"" + d + "\" fill=\"none\" stroke=\"" + color(s.color) +
                "\" stroke-width=\"" + number(s.size) + "\"" + dashes(s.stroke) + "/>\n";
        break;
    }
    case ShapeKind::disc:
        *out += "<circle cx=\"" + px(s.points[0].x) + "\" cy=\"" + py(s.points[0].y) + "\" r=\"" +
                number(s.size * half) + "\" fill=\"" + color(s.color) + "\"/>\n";
        break;
    case ShapeKind::rect:
        *out += "<rect x=\"" + px(s.points[0].x) + "\" y=\"" + py(s.points[1].y) + "\" width=\"" +
                number((s.points[1].x - s.points[0].x) * half) + "\" height=\"" +
                number((s.points[1].y - s.points[0].y) * half) + "\" fill=\"" + color(s.color) +
                "\"/>\n";
        break;
    case ShapeKind::text:
        *out += "<text x=\"" + px(s.points[0].x) + "\" y=\"" + py(s.points[0].y) +
                "\" font-size=\"" + number(s.size * half) + "\" text-anchor=\"" +
                anchorName(s.anchor) + "\" fill=\"" + color(s.color) + "\"" +
                (s.bold ? " font-weight=\"bold\"" : "") + ">" + escaped(s.text) + "</text>\n";
        break;
    }
}

} // namespace

std::string sceneSvg(const Scene& scene, const std::string& title) {
    const std::string size = std::to_string(svgFrameSize);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      size + "\" height=\"" + size + "\" viewBox=\"0 0 " + size + " " + size +
                      "\" font-family=\"'IPAPGothic', 'Noto Sans CJK JP', 'Hiragino Sans', "
                      "'Yu Gothic', sans-serif\">\n<title>" +
                      escaped(title) + "</title>\n<rect width=\"" + size + "\" height=\"" + size +
                      "\" fill=\"#ffffff\"/>\n";
    for (const Shape& s : scene.shapes) {
        writeShape(s, &out);
    }
    return out + "</svg>\n";
}

} // namespace fv
