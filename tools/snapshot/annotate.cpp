#include "annotate.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace snapshot {

namespace {

uint32_t premultiplied(uint32_t argb)
{
    uint32_t a = argb >> 24;
    auto ch = [&](int shift) { return ((((argb >> shift) & 0xff) * a + 127) / 255) << shift; };
    return (a << 24) | ch(16) | ch(8) | ch(0);
}

uint32_t over(uint32_t src, uint32_t dst)
{
    uint32_t inv = 255 - (src >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t s = (src >> shift) & 0xff, d = (dst >> shift) & 0xff;
        out |= std::min<uint32_t>(255, s + (d * inv + 127) / 255) << shift;
    }
    return out;
}

void blendPixel(image::Image& img, long x, long y, uint32_t premul)
{
    if (x < 0 || y < 0 || x >= img.width || y >= img.height)
        return;
    uint32_t& p = img.at(x, y);
    p = (premul >> 24) == 255 ? premul : over(premul, p);
}

constexpr int kFar = 1 << 24;

bool readRect(const Json::Value& v, Rect& r)
{
    if (!v.isObject())
        return false;
    const char* keys[] = { "x", "y", "w", "h" };
    int* fields[] = { &r.x, &r.y, &r.w, &r.h };
    for (int i = 0; i < 4; ++i) {
        const Json::Value& f = v[keys[i]];
        // Far beyond any window: treated as garbage rather than drawn.
        if (!f.isInt() || f.asInt() < -kFar || f.asInt() > kFar)
            return false;
        *fields[i] = f.asInt();
    }
    return r.w > 0 && r.h > 0;
}

using SlotKey = std::tuple<int, int, int, int, bool, std::string>;

void addPlaceholders(const Json::Value& list, Annotations& out, std::set<SlotKey>& seen)
{
    if (!list.isArray())
        return;
    for (const Json::Value& entry : list) {
        Placeholder p;
        if (!entry.isObject() || !readRect(entry["rectangle"], p.rect))
            continue;
        p.filled = entry.isMember("wid");
        std::string wid = p.filled && entry["wid"].isString() ? entry["wid"].asString() : "";
        if (seen.insert({ p.rect.x, p.rect.y, p.rect.w, p.rect.h, p.filled, wid }).second)
            out.placeholders.push_back(p);
    }
}

Rect inset(const Rect& r, int by)
{
    return { r.x + by, r.y + by, r.w - 2 * by, r.h - 2 * by };
}

}  // namespace

void fillRect(image::Image& img, const Rect& r, uint32_t straightArgb)
{
    uint32_t c = premultiplied(straightArgb);
    long x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    long x1 = std::min<long>(long(r.x) + r.w, img.width), y1 = std::min<long>(long(r.y) + r.h, img.height);
    for (long y = y0; y < y1; ++y)
        for (long x = x0; x < x1; ++x)
            blendPixel(img, x, y, c);
}

void strokeRect(image::Image& img, const Rect& r, int thickness, uint32_t straightArgb, int dash)
{
    if (r.w <= 0 || r.h <= 0 || thickness <= 0)
        return;
    uint32_t c = premultiplied(straightArgb);
    int t = int(std::min<long>({ thickness, (long(r.w) + 1) / 2, (long(r.h) + 1) / 2 }));
    // Dash phase runs along each edge from the rectangle's corner.
    auto on = [&](long along) { return dash <= 0 || (along / dash) % 2 == 0; };
    // Only the part of each edge that lies in the image is walked.
    long x = r.x, y = r.y, w = r.w, h = r.h;
    long iFrom = std::max(0L, -x), iTo = std::min(w, img.width - x);
    long jFrom = std::max(long(t), -y), jTo = std::min(h - t, img.height - y);
    for (long i = iFrom; i < iTo; ++i) {
        if (!on(i))
            continue;
        for (int k = 0; k < t; ++k) {
            blendPixel(img, x + i, y + k, c);
            if (h - 1 - k >= t)
                blendPixel(img, x + i, y + h - 1 - k, c);
        }
    }
    for (long j = jFrom; j < jTo; ++j) {
        if (!on(j))
            continue;
        for (int k = 0; k < t; ++k) {
            blendPixel(img, x + k, y + j, c);
            if (w - 1 - k >= t)
                blendPixel(img, x + w - 1 - k, y + j, c);
        }
    }
}

Annotations collectAnnotations(const Json::Value& widgets, const Json::Value& placeholders)
{
    Annotations out;
    std::set<SlotKey> seen;
    if (widgets.isArray()) {
        for (const Json::Value& w : widgets) {
            if (!w.isObject())
                continue;
            Rect r;
            if (readRect(w["rectangle"], r))
                out.widgets.push_back(r);
            addPlaceholders(w["placeholders"], out, seen);
        }
    }
    if (placeholders.isArray())
        for (const Json::Value& owner : placeholders)
            if (owner.isObject())
                addPlaceholders(owner["ph_list"], out, seen);
    return out;
}

image::Image annotate(const image::Image& frame, const Annotations& a)
{
    image::Image img = frame;
    for (const Placeholder& p : a.placeholders)
        if (!p.filled)
            fillRect(img, inset(p.rect, kLineWidth), colour::kEmptyPlaceholderTint);
    for (size_t i = 0; i < a.widgets.size(); ++i)
        strokeRect(img, a.widgets[i], kLineWidth, colour::kWidgets[i % colour::kWidgetCount]);
    for (const Placeholder& p : a.placeholders)
        strokeRect(img, inset(p.rect, kLineWidth), kLineWidth,
                   p.filled ? colour::kFilledPlaceholder : colour::kEmptyPlaceholder, p.filled ? 0 : kDash);
    return img;
}

}  // namespace snapshot
