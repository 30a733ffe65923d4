// PNG pictures through libpng. libpng reports errors by longjmp, so each call keeps
// its C++ objects outside the setjmp scope and the error text in a plain buffer.
#include "export/png.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>

namespace fv {

namespace {

constexpr int bytesPerPixel = 3;
constexpr std::size_t errorTextSize = 256;

struct PngContext {
    std::string* bytes;
    char error[errorTextSize];
};

void onError(png_structp png, png_const_charp message) {
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(context->error, sizeof context->error, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    context->bytes->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

} // namespace

bool encodePng(const RgbPicture& picture, std::string* bytes, std::string* error) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * bytesPerPixel;
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != rowBytes * static_cast<std::size_t>(picture.height)) {
        *error = "the picture has no pixels";
        return false;
    }
    std::vector<png_const_bytep> rows(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        rows[static_cast<std::size_t>(y)] = picture.rgb.data() + rowBytes * y;
    }
    bytes->clear();
    PngContext context = {bytes, ""};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, onError, onWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        *error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        *error = context.error;
        return false;
    }
    png_set_write_fn(png, &context, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.data()),
                   static_cast<png_uint_32>(picture.height));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool readPng(const std::string& path, RgbPicture* picture, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        *error = image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture->width = static_cast<int>(image.width);
    picture->height = static_cast<int>(image.height);
    picture->rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr) == 0) {
        *error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

} // namespace fv
