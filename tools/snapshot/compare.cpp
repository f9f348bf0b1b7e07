#include "compare.h"

#include <algorithm>
#include <cstdlib>

namespace snapshot {

namespace {

// Premultiplied ARGB to the straight values a PNG stores.
uint32_t straight(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto ch = [&](int shift) { return std::min<uint32_t>(255, (((p >> shift) & 0xff) * 255 + a / 2) / a) << shift; };
    return (a << 24) | ch(16) | ch(8) | ch(0);
}

int channelDelta(uint32_t a, uint32_t b)
{
    int d = 0;
    for (int shift = 0; shift < 32; shift += 8)
        d = std::max(d, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
    return d;
}

// A dimmed grey keeps the picture recognisable under the marks.
uint32_t dimmed(uint32_t straightPixel)
{
    uint32_t r = (straightPixel >> 16) & 0xff, g = (straightPixel >> 8) & 0xff, b = straightPixel & 0xff;
    uint32_t a = straightPixel >> 24;
    uint32_t grey = (r * 77 + g * 150 + b * 29) >> 8;
    uint32_t v = (grey * a / 255) / 3 + 40;
    return 0xff000000 | (v << 16) | (v << 8) | v;
}

}  // namespace

Comparison compareImages(const image::Image& actual, const image::Image& golden, int tolerance)
{
    Comparison c;
    c.sameSize = actual.width == golden.width && actual.height == golden.height;
    c.diff.width = std::max(actual.width, golden.width);
    c.diff.height = std::max(actual.height, golden.height);
    c.diff.pixels.assign(size_t(c.diff.width) * c.diff.height, kDiffMissing);
    int sharedW = std::min(actual.width, golden.width), sharedH = std::min(actual.height, golden.height);
    for (int y = 0; y < sharedH; ++y) {
        for (int x = 0; x < sharedW; ++x) {
            uint32_t a = straight(actual.at(x, y));
            int d = channelDelta(a, straight(golden.at(x, y)));
            c.maxDelta = std::max(c.maxDelta, d);
            bool differs = d > tolerance;
            c.differing += differs;
            c.diff.at(x, y) = differs ? kDiffMark : dimmed(a);
        }
    }
    c.differing += c.diff.pixels.size() - size_t(std::max(sharedW, 0)) * std::max(sharedH, 0);
    return c;
}

}  // namespace snapshot
