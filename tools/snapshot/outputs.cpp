#include "outputs.h"

#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "annotate.h"
#include "compare.h"

namespace snapshot {

namespace {

namespace fs = std::filesystem;

Json::Value parseOrNull(bool present, const std::string& text)
{
    Json::Value v;
    if (!present)
        return v;
    Json::CharReaderBuilder b;
    std::unique_ptr<Json::CharReader> r(b.newCharReader());
    std::string errors;
    if (!r->parse(text.data(), text.data() + text.size(), &v, &errors))
        v = Json::Value();
    return v;
}

bool writeText(const std::string& path, const std::string& text, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

// Compares before anything is written, so an --out-dir equal to the
// golden directory still compares against the old golden.
Json::Value readJson(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Json::Value();
    std::ostringstream text;
    text << in.rdbuf();
    return parseOrNull(true, text.str());
}

// The golden picture and the widgets it showed, kept for the report before
// anything of this run can overwrite them.
void keepGoldenForReport(const Options& o, const std::string& name, const std::string& golden, TreeReport& rep)
{
    if (o.reportDir.empty())
        return;
    std::error_code ec;
    fs::path kept = fs::path(o.reportDir) / "images" / (name + ".golden.png");
    fs::create_directories(kept.parent_path(), ec);
    if (!fs::copy_file(golden, kept, fs::copy_options::overwrite_existing, ec)) {
        rep.summary += "; the golden picture could not be copied into the report";
        return;
    }
    rep.entry.goldenImage = kept.string();
    Json::Value doc = readJson(fs::path(o.compareDir) / (name + ".positions.json"));
    rep.goldenWidgets = doc.isObject() ? doc["widgets"] : Json::Value();
}

void compareWithGolden(const Options& o, const std::string& name, const image::Image& picture, TreeReport& rep)
{
    std::string golden = (fs::path(o.compareDir) / (name + ".png")).string();
    std::string diffPath = (fs::path(o.outDir) / (name + ".diff.png")).string();
    std::string error;
    std::error_code ec;
    if (!fs::exists(golden, ec)) {
        if (!o.update) {
            rep.failed = true;
            rep.summary += "; error: missing golden " + golden + " (--update writes it)";
        } else if (!image::writePng(golden, picture, &error)) {
            rep.failed = true;
            rep.summary += "; error: " + error;
        } else {
            rep.summary += "; golden written to " + golden;
        }
        return;
    }
    image::Image expected;
    if (!image::readPng(golden, expected, &error)) {
        rep.failed = true;
        rep.summary += "; error: golden unusable: " + error;
        return;
    }
    keepGoldenForReport(o, name, golden, rep);
    Comparison c = compareImages(picture, expected, o.tolerance);
    if (c.matches()) {
        fs::remove(diffPath, ec);  // a stale diff from an earlier run would mislead
        rep.summary += "; matches golden";
        rep.entry.status = report::Status::Same;
        return;
    }
    rep.differs = true;
    rep.entry.status = report::Status::Changed;
    if (!c.sameSize)
        rep.summary += "; DIFFERS: size " + std::to_string(picture.width) + "x" + std::to_string(picture.height)
            + ", golden " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
    else
        rep.summary += "; DIFFERS: " + std::to_string(c.differing) + " pixels beyond tolerance "
            + std::to_string(o.tolerance) + " (largest channel difference " + std::to_string(c.maxDelta) + ")";
    if (!image::writePng(diffPath, c.diff, &error)) {
        rep.failed = true;
        rep.summary += "; error: " + error;
        return;
    }
    rep.summary += ", see " + diffPath;
    rep.entry.diffImage = diffPath;
}

}  // namespace

TreeReport writeOutputs(const Options& o, const std::string& name, Session::Result& r)
{
    TreeReport rep;
    Frame& f = r.frame;
    image::Image picture { f.paint.width, f.paint.height, std::move(f.paint.pixels) };
    Json::Value widgets = parseOrNull(f.hasWidgets, f.widgets);
    Json::Value placeholders = parseOrNull(f.hasPlaceholders, f.placeholders);
    Annotations notes = collectAnnotations(widgets, placeholders);

    // Every placeholder, the root's too, hangs under its widget in the widgets document.
    Json::ArrayIndex slots = 0;
    for (const Json::Value& w : widgets)
        slots += w.isObject() && w["placeholders"].isArray() ? w["placeholders"].size() : 0;
    rep.summary = std::to_string(picture.width) + "x" + std::to_string(picture.height) + ", "
        + std::to_string(widgets.size()) + " widgets, " + std::to_string(slots) + " placeholders, "
        + std::to_string(r.frames) + (r.frames == 1 ? " frame" : " frames");
    if (!f.hasWidgets)
        rep.summary += "; no widget was built (the window is empty)";
    if (r.timedOut)
        rep.summary += "; frames still coming " + std::to_string(o.maxWaitMs) + " ms after it ran, the last one was written";
    if (picture.width != o.width || picture.height != o.height)
        rep.summary += "; the engine sent a different size";
    if (!o.compareDir.empty())
        compareWithGolden(o, name, picture, rep);

    fs::path base = fs::path(o.outDir) / name;
    Json::Value doc;
    doc["widgets"] = widgets;
    doc["placeholders"] = placeholders;
    Json::StreamWriterBuilder b;
    b["indentation"] = "  ";
    std::string error;
    if (!image::writePng(base.string() + ".png", picture, &error)
        || !writeText(base.string() + ".positions.json", Json::writeString(b, doc) + "\n", error)
        || !image::writePng(base.string() + ".annotated.png", annotate(picture, notes), &error)) {
        rep.failed = true;
        rep.summary += "; error: " + error;
    }
    report::Entry& e = rep.entry;
    e.name = name;
    e.width = picture.width;
    e.height = picture.height;
    e.detail = rep.summary;
    e.newImage = base.string() + ".png";
    e.widgets = std::move(widgets);
    if (rep.failed)
        e.status = report::Status::Failed;
    if (e.status == report::Status::Changed)
        e.moved = report::movedWidgets(rep.goldenWidgets, e.widgets);
    return rep;
}

}  // namespace snapshot
