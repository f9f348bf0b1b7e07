#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace image {

// A picture in the engine's pixel format: ARGB32 words, premultiplied, row-major.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
};

// Writes / reads an 8-bit RGBA PNG; on failure returns false and fills error.
bool writePng(const std::string& path, const Image& img, std::string* error);
bool readPng(const std::string& path, Image& img, std::string* error);

} // namespace image
