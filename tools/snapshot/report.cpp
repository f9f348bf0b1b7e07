#include "report.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace snapshot::report {

namespace {

namespace fs = std::filesystem;

std::string escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::optional<Rect> rectOf(const Json::Value& rectangle)
{
    if (!rectangle.isObject())
        return std::nullopt;
    for (const char* key : { "x", "y", "w", "h" })
        if (!rectangle[key].isInt())
            return std::nullopt;
    return Rect { rectangle["x"].asInt(), rectangle["y"].asInt(), rectangle["w"].asInt(), rectangle["h"].asInt() };
}

// wid to rectangle; the first element of a wid wins, like the IDE's lookup.
std::map<std::string, Rect> rectsByWid(const Json::Value& doc)
{
    std::map<std::string, Rect> out;
    if (!doc.isArray())
        return out;
    for (const Json::Value& w : doc) {
        if (!w.isObject() || !w["wid"].isString())
            continue;
        if (auto r = rectOf(w["rectangle"]))
            out.emplace(w["wid"].asString(), *r);
    }
    return out;
}

std::string rectText(const std::optional<Rect>& r)
{
    if (!r)
        return "absent";
    return std::to_string(r->x) + "," + std::to_string(r->y) + " " + std::to_string(r->w) + "x" + std::to_string(r->h);
}

const char* const STYLE = R"(
body { font: 14px/1.4 sans-serif; margin: 1.5em; background: #f4f4f4; color: #222; }
header { position: sticky; top: 0; background: #f4f4f4; padding: .5em 0; z-index: 2; }
h1 { font-size: 1.3em; margin: 0 0 .3em; }
section { background: #fff; border: 1px solid #ccc; border-left: 6px solid #999; margin: 1em 0; padding: .8em 1em; }
section.status-same { border-left-color: #3a3; }
section.status-changed { border-left-color: #d80; }
section.status-failed { border-left-color: #c22; }
section.status-new { border-left-color: #36c; }
h2 { font-size: 1.1em; margin: 0; }
.badge { display: inline-block; padding: 0 .5em; border-radius: 3px; color: #fff; background: #999; font-size: .85em; }
.status-same .badge { background: #3a3; } .status-changed .badge { background: #d80; }
.status-failed .badge { background: #c22; } .status-new .badge { background: #36c; }
.detail { color: #555; font-family: monospace; white-space: pre-wrap; margin: .3em 0 .6em; }
.pictures { display: flex; gap: 1em; align-items: flex-start; flex-wrap: wrap; }
figure { margin: 0; }
figcaption { font-size: .85em; color: #555; }
.frame { position: relative; display: inline-block; border: 1px solid #bbb; line-height: 0; }
.frame img { max-width: 300px; max-height: 540px; }
svg.overlay { position: absolute; left: 0; top: 0; width: 100%; height: 100%; display: none; }
body.show-rects svg.overlay { display: block; }
svg.overlay rect { fill: transparent; vector-effect: non-scaling-stroke; stroke-width: 1.5; }
svg.overlay rect.widget { stroke: #e0f; }
svg.overlay rect.widget:hover { fill: rgba(224, 0, 255, .25); }
svg.overlay rect.placeholder { stroke: #0bb; stroke-dasharray: 4 3; }
svg.overlay rect.placeholder:hover { fill: rgba(0, 187, 187, .25); }
svg.overlay rect.moved { stroke: #f60; stroke-width: 3; }
svg.overlay rect.was { stroke-dasharray: 6 3; }
table.moved { border-collapse: collapse; margin-top: .6em; font-size: .9em; }
table.moved td, table.moved th { border: 1px solid #ccc; padding: .15em .6em; text-align: left; font-family: monospace; }
)";

// Marks the page with how many pictures failed to load, for people and for
// checks that open the page in a browser.
const char* const SCRIPT = R"(
(function () {
  var toggle = document.getElementById('show-rects');
  function apply() { document.body.classList.toggle('show-rects', toggle.checked); }
  toggle.checked = location.hash === '#rects';
  apply();
  toggle.addEventListener('change', apply);
  window.addEventListener('load', function () {
    var images = document.querySelectorAll('img'), broken = 0;
    for (var i = 0; i < images.length; i++)
      if (!images[i].complete || images[i].naturalWidth === 0) broken++;
    document.body.setAttribute('data-images', images.length);
    document.body.setAttribute('data-broken-images', broken);
  });
})();
)";

void overlay(std::ostringstream& out, const Entry& e)
{
    std::map<std::string, bool> moved;
    for (const Moved& m : e.moved)
        moved[m.wid] = true;
    out << "<svg class=\"overlay\" viewBox=\"0 0 " << e.width << ' ' << e.height
        << "\" preserveAspectRatio=\"none\" xmlns=\"http://www.w3.org/2000/svg\">";
    auto rect = [&](const char* cls, const Rect& r, const std::string& title) {
        out << "<rect class=\"" << cls << "\" x=\"" << r.x << "\" y=\"" << r.y << "\" width=\"" << r.w
            << "\" height=\"" << r.h << "\"><title>" << escape(title) << "</title></rect>";
    };
    if (e.widgets.isArray()) {
        for (const Json::Value& w : e.widgets) {
            if (!w.isObject())
                continue;
            std::string wid = w["wid"].isString() ? w["wid"].asString() : "";
            if (auto r = rectOf(w["rectangle"]))
                rect(moved.count(wid) ? "widget moved" : "widget", *r, wid + "  " + rectText(r));
            if (!w["placeholders"].isArray())
                continue;
            for (const Json::Value& p : w["placeholders"]) {
                auto r = p.isObject() ? rectOf(p["rectangle"]) : std::nullopt;
                if (!r)
                    continue;
                std::string filled = p["wid"].isString() ? " (holds " + p["wid"].asString() + ")" : "";
                rect("placeholder", *r, "placeholder of " + wid + filled + "  " + rectText(r));
            }
        }
    }
    out << "</svg>";
}

// Where the moved widgets were, over the golden picture.
void goldenOverlay(std::ostringstream& out, const Entry& e)
{
    out << "<svg class=\"overlay\" viewBox=\"0 0 " << e.width << ' ' << e.height
        << "\" preserveAspectRatio=\"none\" xmlns=\"http://www.w3.org/2000/svg\">";
    for (const Moved& m : e.moved) {
        if (!m.before)
            continue;
        const Rect& r = *m.before;
        out << "<rect class=\"was moved\" x=\"" << r.x << "\" y=\"" << r.y << "\" width=\"" << r.w
            << "\" height=\"" << r.h << "\"><title>" << escape(m.wid + "  " + rectText(r)) << "</title></rect>";
    }
    out << "</svg>";
}

using Overlay = void (*)(std::ostringstream&, const Entry&);

void picture(std::ostringstream& out, const char* role, const char* caption, const std::string& src, const Entry& e,
             Overlay overlayOf)
{
    if (src.empty())
        return;
    out << "<figure class=\"" << role << "\"><div class=\"frame\"><img src=\"" << escape(src) << "\" alt=\""
        << role << " picture of " << escape(e.name) << "\">";
    if (overlayOf)
        overlayOf(out, e);
    out << "</div><figcaption>" << caption << "</figcaption></figure>";
}

void movedTable(std::ostringstream& out, const Entry& e)
{
    if (e.status != Status::Changed)
        return;
    if (e.moved.empty()) {
        out << "<p class=\"no-moves\">No widget moved or resized; the change is inside the rectangles.</p>";
        return;
    }
    out << "<table class=\"moved\"><tr><th>widget</th><th>golden</th><th>new</th></tr>";
    for (const Moved& m : e.moved)
        out << "<tr class=\"moved-widget\" data-wid=\"" << escape(m.wid) << "\"><td>" << escape(m.wid)
            << "</td><td class=\"before\">" << rectText(m.before) << "</td><td class=\"after\">"
            << rectText(m.after) << "</td></tr>";
    out << "</table>";
}

void section(std::ostringstream& out, const Entry& e)
{
    const char* status = statusName(e.status);
    out << "<section class=\"tree status-" << status << "\" id=\"tree-" << escape(e.name) << "\" data-name=\""
        << escape(e.name) << "\" data-status=\"" << status << "\">";
    out << "<h2>" << escape(e.name) << " <span class=\"badge\">" << status << "</span> <span class=\"size\">"
        << e.width << "x" << e.height << "</span></h2>";
    if (!e.detail.empty())
        out << "<div class=\"detail\">" << escape(e.detail) << "</div>";
    out << "<div class=\"pictures\">";
    picture(out, "golden", "golden", e.goldenImage, e, e.moved.empty() ? nullptr : goldenOverlay);
    picture(out, "new", "new", e.newImage, e, overlay);
    picture(out, "diff", "difference (red: beyond tolerance)", e.diffImage, e, nullptr);
    out << "</div>";
    movedTable(out, e);
    out << "</section>\n";
}

bool copyInto(const fs::path& dir, const std::string& src, const std::string& name, std::string& dst,
              std::string& error)
{
    std::error_code ec;
    if (src.empty() || !fs::is_regular_file(src, ec)) {
        dst.clear();  // a picture that was never written is left out
        return true;
    }
    fs::path target = dir / "images" / name;
    if (fs::weakly_canonical(src, ec) != fs::weakly_canonical(target, ec))
        fs::copy_file(src, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        error = "cannot copy " + src + " into the report: " + ec.message();
        return false;
    }
    dst = "images/" + name;
    return true;
}

}  // namespace

const char* statusName(Status s)
{
    switch (s) {
    case Status::New: return "new";
    case Status::Same: return "same";
    case Status::Changed: return "changed";
    case Status::Failed: return "failed";
    }
    return "failed";
}

std::vector<Moved> movedWidgets(const Json::Value& golden, const Json::Value& current)
{
    std::map<std::string, Rect> before = rectsByWid(golden);
    std::map<std::string, Rect> after = rectsByWid(current);
    std::vector<Moved> out;
    std::map<std::string, bool> seen;
    if (current.isArray()) {
        for (const Json::Value& w : current) {
            if (!w.isObject() || !w["wid"].isString())
                continue;
            std::string wid = w["wid"].asString();
            if (seen[wid] || !after.count(wid))
                continue;
            seen[wid] = true;
            auto old = before.find(wid);
            if (old == before.end())
                out.push_back({ wid, std::nullopt, after[wid] });
            else if (!(old->second == after[wid]))
                out.push_back({ wid, old->second, after[wid] });
        }
    }
    for (const auto& [wid, r] : before)
        if (!after.count(wid))
            out.push_back({ wid, r, std::nullopt });
    return out;
}

std::string renderHtml(const std::vector<Entry>& entries)
{
    std::array<int, 4> counts {};
    for (const Entry& e : entries)
        ++counts[size_t(e.status)];
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        << "<title>render-snapshot report</title><style>" << STYLE << "</style></head><body>\n";
    out << "<header><h1>render-snapshot report</h1><p id=\"summary\" data-trees=\"" << entries.size() << '"';
    for (Status s : { Status::New, Status::Same, Status::Changed, Status::Failed })
        out << " data-" << statusName(s) << "=\"" << counts[size_t(s)] << '"';
    out << '>' << entries.size() << (entries.size() == 1 ? " tree: " : " trees: ") << counts[size_t(Status::Changed)]
        << " changed, " << counts[size_t(Status::Failed)] << " failed, " << counts[size_t(Status::New)] << " new, "
        << counts[size_t(Status::Same)] << " same</p>"
        << "<label><input type=\"checkbox\" id=\"show-rects\"> show widget (solid) and placeholder (dashed) "
        << "rectangles over the new pictures; hover one for its wid</label></header>\n<main>\n";
    for (const Entry& e : entries)
        section(out, e);
    out << "</main>\n<script>" << SCRIPT << "</script>\n</body></html>\n";
    return out.str();
}

bool writeReport(const std::string& dir, std::vector<Entry> entries, std::string& error)
{
    std::error_code ec;
    fs::create_directories(fs::path(dir) / "images", ec);
    if (ec) {
        error = "cannot make the report directory " + dir + ": " + ec.message();
        return false;
    }
    for (Entry& e : entries) {
        if (!copyInto(dir, e.newImage, e.name + ".png", e.newImage, error)
            || !copyInto(dir, e.goldenImage, e.name + ".golden.png", e.goldenImage, error)
            || !copyInto(dir, e.diffImage, e.name + ".diff.png", e.diffImage, error))
            return false;
    }
    fs::path index = fs::path(dir) / "index.html";
    std::ofstream out(index, std::ios::binary | std::ios::trunc);
    out << renderHtml(entries);
    out.close();
    if (!out) {
        error = "cannot write " + index.string();
        return false;
    }
    return true;
}

}  // namespace snapshot::report
