#include <png.h>

#include <cstdio>
#include <memory>

#include "image/image.h"

namespace image {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

uint8_t unpremultiply(uint32_t channel, uint32_t alpha)
{
    if (alpha == 0)
        return 0;
    uint32_t v = (channel * 255 + alpha / 2) / alpha;
    return uint8_t(v > 255 ? 255 : v);
}

uint32_t premultiply(uint32_t channel, uint32_t alpha) { return (channel * alpha + 127) / 255; }

bool fail(std::string* error, const std::string& what)
{
    if (error)
        *error = what;
    return false;
}

} // namespace

bool writePng(const std::string& path, const Image& img, std::string* error)
{
    if (img.width <= 0 || img.height <= 0 || img.pixels.size() != size_t(img.width) * img.height)
        return fail(error, "image has no pixels");
    File f(fopen(path.c_str(), "wb"));
    if (!f)
        return fail(error, "cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return fail(error, "out of memory");
    }
    std::vector<uint8_t> row(size_t(img.width) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return fail(error, "cannot encode " + path);
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, img.width, img.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            uint32_t p = img.at(x, y);
            uint32_t a = p >> 24;
            row[size_t(x) * 4 + 0] = unpremultiply((p >> 16) & 0xff, a);
            row[size_t(x) * 4 + 1] = unpremultiply((p >> 8) & 0xff, a);
            row[size_t(x) * 4 + 2] = unpremultiply(p & 0xff, a);
            row[size_t(x) * 4 + 3] = uint8_t(a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool readPng(const std::string& path, Image& img, std::string* error)
{
    File f(fopen(path.c_str(), "rb"));
    if (!f)
        return fail(error, "cannot read " + path);
    unsigned char sig[8];
    if (fread(sig, 1, 8, f.get()) != 8 || png_sig_cmp(sig, 0, 8) != 0)
        return fail(error, path + " is not a PNG file");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return fail(error, "out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return fail(error, "cannot decode " + path);
    }
    png_init_io(png, f.get());
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    // Normalise every colour type and depth to 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    int w = int(png_get_image_width(png, info));
    int h = int(png_get_image_height(png, info));
    std::vector<uint8_t> row(png_get_rowbytes(png, info));
    img.width = w;
    img.height = h;
    img.pixels.assign(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < w; ++x) {
            uint32_t a = row[size_t(x) * 4 + 3];
            img.at(x, y) = (a << 24) | (premultiply(row[size_t(x) * 4], a) << 16)
                | (premultiply(row[size_t(x) * 4 + 1], a) << 8) | premultiply(row[size_t(x) * 4 + 2], a);
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace image
