// Draws widget rectangles and placeholders over a frame, as an IDE draws
// selection frames and drop targets.
#pragma once
#include <json/json.h>

#include <cstdint>
#include <vector>

#include "image/image.h"

namespace snapshot {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Colours are ARGB with straight (not premultiplied) alpha.
namespace colour {
constexpr uint32_t kWidgets[] = { 0xff2979ff, 0xff00b8d4, 0xff3d5afe, 0xff00bfa5, 0xff40c4ff, 0xff1de9b6 };
constexpr int kWidgetCount = sizeof kWidgets / sizeof kWidgets[0];
constexpr uint32_t kEmptyPlaceholder = 0xffff9100;
constexpr uint32_t kEmptyPlaceholderTint = 0x50ff9100;
constexpr uint32_t kFilledPlaceholder = 0xffff1744;
}  // namespace colour

constexpr int kLineWidth = 2;
constexpr int kDash = 6;  // dash and gap length of empty placeholder outlines

// Source-over blend into a premultiplied image, clipped to it.
void fillRect(image::Image& img, const Rect& r, uint32_t straightArgb);
// Outline of `thickness` pixels inside r; with dash > 0 only every other
// run of `dash` pixels along the border is drawn.
void strokeRect(image::Image& img, const Rect& r, int thickness, uint32_t straightArgb, int dash = 0);

struct Placeholder {
    Rect rect;
    bool filled = false;
};

struct Annotations {
    std::vector<Rect> widgets;            // pre-order
    std::vector<Placeholder> placeholders;  // each slot once
};

// Reads both position documents; entries without a usable rectangle are
// left out. Placeholders listed in both documents are kept once.
Annotations collectAnnotations(const Json::Value& widgets, const Json::Value& placeholders);

// Widgets: outline on their edge, colour by pre-order index. Placeholders:
// outline inset by kLineWidth so it stays inside its slot and clear of the
// container's own outline; empty ones get a tint, dashed, filled ones solid.
image::Image annotate(const image::Image& frame, const Annotations& a);

}  // namespace snapshot
