#include "options.h"

#include <cstdlib>

namespace snapshot {

namespace {

// Digits only, no sign, no overflow.
bool parseInt(const std::string& text, long lo, long hi, int& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < lo || v > hi)
        return false;
    out = int(v);
    return true;
}

bool takesValue(const std::string& name)
{
    static const char* const NAMES[] = { "--size", "--profile", "--project", "--theme", "--overlay-theme",
                                         "--out-dir", "--compare", "--report", "--tolerance", "--quiet-ms",
                                         "--max-wait-ms", "--windows", "--engine", "--workdir" };
    for (const char* n : NAMES)
        if (name == n)
            return true;
    return false;
}

bool applyValue(const std::string& name, const std::string& value, Options& o, std::string& error)
{
    auto bad = [&](const std::string& what) {
        error = "bad value '" + value + "' for " + name + ": " + what;
        return false;
    };
    if (name == "--size")
        return parseSize(value, o.width, o.height)
            || bad("expected WIDTHxHEIGHT, each 1.." + std::to_string(kMaxSide) + " (e.g. 720x1280)");
    if (name == "--tolerance")
        return parseInt(value, 0, 255, o.tolerance) || bad("expected an integer 0..255");
    if (name == "--quiet-ms")
        return parseInt(value, 1, 60000, o.quietMs) || bad("expected milliseconds 1..60000");
    if (name == "--max-wait-ms")
        return parseInt(value, 1, 600000, o.maxWaitMs) || bad("expected milliseconds 1..600000");
    if (name == "--windows")
        return parseInt(value, 1, kMaxWindows, o.windows) || bad("expected a count 1.." + std::to_string(kMaxWindows));
    if (value.empty())
        return bad("must not be empty");
    std::string* texts[] = { &o.profile, &o.project, &o.theme, &o.overlayTheme, &o.outDir,
                             &o.compareDir, &o.reportDir, &o.engine, &o.workdir };
    const char* names[] = { "--profile", "--project", "--theme", "--overlay-theme", "--out-dir",
                            "--compare", "--report", "--engine", "--workdir" };
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i)
        if (name == names[i])
            *texts[i] = value;
    return true;
}

}  // namespace

bool parseSize(const std::string& text, int& width, int& height)
{
    size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    int w = 0, h = 0;
    if (!parseInt(text.substr(0, x), 1, kMaxSide, w) || !parseInt(text.substr(x + 1), 1, kMaxSide, h))
        return false;
    width = w;
    height = h;
    return true;
}

ParseResult parseOptions(const std::vector<std::string>& args, Options& out, std::string& error)
{
    Options o;
    bool optionsEnded = false;
    bool toleranceGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            o.trees.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "-h" || a == "--help")
            return ParseResult::Help;
        if (a == "--update") {
            o.update = true;
            continue;
        }
        size_t eq = a.find('=');
        std::string name = a.substr(0, eq);
        if (!takesValue(name)) {
            error = "unknown option '" + a + "'";
            return ParseResult::Error;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "option " + name + " needs a value";
            return ParseResult::Error;
        }
        if (!applyValue(name, value, o, error))
            return ParseResult::Error;
        toleranceGiven = toleranceGiven || name == "--tolerance";
    }
    if (o.compareDir.empty() && (o.update || toleranceGiven)) {
        error = std::string(o.update ? "--update" : "--tolerance") + " only works with --compare DIR";
        return ParseResult::Error;
    }
    if (o.trees.empty()) {
        error = "no tree files given";
        return ParseResult::Error;
    }
    out = o;
    return ParseResult::Run;
}

const char* helpText()
{
    return R"(Usage: render-snapshot TREE.json... [options]

Renders each widget tree (the render-data JSON an IDE sends) in the render
engine, one engine for the whole run with several trees in it at once, each
in its own window of the same project, and writes per tree (NAME is the
file's base name without .json):
  NAME.png             the frame's pixels
  NAME.positions.json  {"widgets": <widget positions>,
                        "placeholders": <placeholder positions>}
  NAME.annotated.png   the picture with every widget's rectangle outlined in
                       shades of blue and every placeholder inside its slot:
                       empty ones dashed orange over an orange tint, filled
                       ones (with a "wid") solid red

Options:
  --size WxH              window size in pixels (default 720x1280)
  --profile NAME          toolkit profile of the window (default: the engine's)
  --project PATH          project path of the window
  --theme FILE.edj        default theme of the project
  --overlay-theme FILE.edj  theme laid over it
  --out-dir DIR           where files are written (default .; made if missing)
  --compare DIR           compare each picture with DIR/NAME.png and write
                          NAME.diff.png where they differ (differing pixels
                          red over a dimmed copy, magenta outside the area
                          both pictures cover)
  --tolerance N           with --compare: a pixel matches when none of its
                          R, G, B, A values (0..255, as stored in the PNG)
                          differs by more than N (default 0: exact match)
  --update                with --compare: a missing golden is written from
                          the new picture and counts as a match; existing
                          goldens are never changed
  --report DIR            write DIR/index.html, a page to open in a browser:
                          per tree its status (new, same, changed, failed),
                          the golden, new and difference pictures side by
                          side, the widget and placeholder rectangles on
                          demand (or open index.html#rects), and for a
                          changed tree the widgets that moved or resized;
                          the pictures are copied into DIR/images
  --quiet-ms MS           a render is settled once the engine is known to have
                          run it and no new frame has arrived for MS
                          milliseconds (default 150), and the engine has
                          answered two requests sent after that, so a busy
                          engine's pause is not taken for a finished tree
  --max-wait-ms MS        how long a tree that keeps drawing (an animation)
                          may go on after the engine is known to have run
                          it (default 3000); its last frame is then written.
                          A render that shows no frame by then fails
  --windows N             trees rendered at once (default 10, at most 32,
                          never more than there are trees); 1 renders one
                          tree after the other. Every tree gets a new window
                          that never held another tree; the one before it is
                          destroyed
  --engine PATH           engine binary (default: render-engine beside this
                          program)
  --workdir DIR           engine working directory (default: the parent of
                          this program's directory, the repository root)
  -h, --help              print this text and exit

Tree files are read as the engine reads them: a backslash is taken
literally, so JSON escapes such as \" cannot be used. Relative image paths
in properties are resolved from the engine's working directory.

Which frame is a tree's picture is decided from the engine's answers, never
from a pause alone. Each tree is rendered in a window made for it, so the
first frame with widget positions shows it; and the engine draws what a
request changed before it runs the next one, so once a request sent after
the render is answered, the last frame of the tree's window shows it too.
A slow engine is waited for (up to 30 s without any answer, then it counts
as stuck and is restarted). Before each tree, the "style" and "disable"
values that the engine keeps from earlier trees' buttons, checks, radios,
progress bars, sliders, spinners and multi-button entries are put back to
their start values, so each picture is the one the tree gives in a fresh
engine.

Progress goes to standard error: one line per tree, in the order given, the
engine's own diagnostics for it indented below, and a summary line at the
end. Trees are rendered in another order: the first one first, then the
larger ones (more widget nodes) ahead of the smaller, so that no large tree
is left to finish alone at the end. Engine start-up is bounded by 10 s;
an engine lost before its first window is started once more.
When the engine dies with several trees in it, each of them is rendered
again alone in a new engine, so only a tree that kills the engine fails; a
message from the engine that breaks the protocol fails the tree of its
window only.

Exit status: 0 every tree was written (and matched its golden), 1 some
picture differs from its golden, 2 an error: bad option, unreadable or
invalid tree file, missing golden, engine missing or failed. After an error
in one tree the other trees are still processed.
)";
}

}  // namespace snapshot
