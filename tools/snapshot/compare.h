// Picture comparison for golden checks.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image/image.h"

namespace snapshot {

constexpr uint32_t kDiffMark = 0xffff0000;     // pixel differs beyond the tolerance
constexpr uint32_t kDiffMissing = 0xffff00ff;  // pixel outside the area both pictures cover

struct Comparison {
    bool sameSize = false;
    size_t differing = 0;  // pixels beyond the tolerance, including non-shared ones
    int maxDelta = 0;      // largest channel difference over the shared area
    image::Image diff;     // union of both sizes
    bool matches() const { return sameSize && differing == 0; }
};

// Channels are compared as stored in a PNG: straight 8-bit R, G, B, A.
// A pixel differs when any channel differs by more than `tolerance`.
// The diff image shows differing pixels in kDiffMark over a dimmed grey
// copy of `actual`, and kDiffMissing outside the area both pictures cover.
Comparison compareImages(const image::Image& actual, const image::Image& golden, int tolerance);

}  // namespace snapshot
