// The visual report: one static HTML page that shows, per tree, the golden,
// the new picture and their difference side by side, the widget and
// placeholder rectangles on demand, and which widgets moved.
#pragma once
#include <json/json.h>

#include <optional>
#include <string>
#include <vector>

namespace snapshot::report {

enum class Status { New, Same, Changed, Failed };

const char* statusName(Status s);

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

// A widget whose rectangle differs between the golden and the new frame;
// a widget only one of them has comes with one rectangle.
struct Moved {
    std::string wid;
    std::optional<Rect> before;
    std::optional<Rect> after;
};

struct Entry {
    std::string name;
    int width = 0;
    int height = 0;
    Status status = Status::New;
    std::string detail;       // the tree's line of progress, or its error
    std::string newImage;     // file paths of the pictures; empty when absent
    std::string goldenImage;
    std::string diffImage;
    Json::Value widgets;      // positions document of the new frame
    std::vector<Moved> moved; // changed trees only
};

// Widgets, matched by wid, whose rectangles differ between the two position
// documents (arrays of {"wid", "rectangle"}), in the new document's order,
// then those the new one no longer has.
std::vector<Moved> movedWidgets(const Json::Value& golden, const Json::Value& current);

// The page for `entries`, with image sources as given.
std::string renderHtml(const std::vector<Entry>& entries);

// Copies each entry's pictures into DIR/images and writes DIR/index.html
// pointing at the copies.
bool writeReport(const std::string& dir, std::vector<Entry> entries, std::string& error);

}  // namespace snapshot::report
