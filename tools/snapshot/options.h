// Command line of render-snapshot.
#pragma once
#include <string>
#include <vector>

namespace snapshot {

constexpr int kMaxSide = 8192;  // the engine refuses larger windows
constexpr int kMaxWindows = 32;

struct Options {
    std::vector<std::string> trees;
    int width = 720;
    int height = 1280;
    std::string profile;        // empty: not sent, the engine's default applies
    std::string project;
    std::string theme;
    std::string overlayTheme;
    std::string outDir = ".";
    std::string compareDir;     // empty: no comparison
    std::string reportDir;      // empty: no HTML report
    int tolerance = 0;
    bool update = false;
    int quietMs = 150;
    int maxWaitMs = 3000;
    int windows = 10;           // trees in the engine at once
    std::string engine;         // empty: next to this executable
    std::string workdir;        // empty: parent of this executable's directory
};

enum class ParseResult { Run, Help, Error };

// Accepts "--name value" and "--name=value"; "--" ends the options.
ParseResult parseOptions(const std::vector<std::string>& args, Options& out, std::string& error);

// Parses "WxH" with both sides in 1..kMaxSide.
bool parseSize(const std::string& text, int& width, int& height);

const char* helpText();

}  // namespace snapshot
