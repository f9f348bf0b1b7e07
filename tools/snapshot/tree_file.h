// Reading widget-tree files as the engine will read them.
#pragma once
#include <string>

namespace snapshot {

struct TreeFile {
    std::string name;  // base name without ".json"
    std::string text;  // sent unchanged as render-data
};

// NAME of a path: its last component without a trailing ".json".
std::string treeName(const std::string& path);

// Reads the file and checks it is a JSON object as the engine parses it:
// the engine takes every backslash literally, so an escape such as \" that
// would be valid JSON elsewhere is not. On failure `error` says why, in one line.
bool loadTree(const std::string& path, TreeFile& out, std::string& error);

// The same check on text already read.
bool checkTreeText(const std::string& text, std::string& error);

}  // namespace snapshot
