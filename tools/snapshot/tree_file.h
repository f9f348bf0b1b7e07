// Reading widget-tree files as the engine will read them.
#pragma once
#include <json/json.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace snapshot {

struct TreeFile {
    std::string name;  // base name without ".json"
    std::string text;  // sent unchanged as render-data
    size_t nodes = 0;  // widget nodes, the root and every object in "children" below it
};

// NAME of a path: its last component without a trailing ".json".
std::string treeName(const std::string& path);

// Reads the file and checks it is a JSON object as the engine parses it:
// the engine takes every backslash literally, so an escape such as \" that
// would be valid JSON elsewhere is not. On failure `error` says why, in one line.
bool loadTree(const std::string& path, TreeFile& out, std::string& error);

// The same check on text already read; counts the nodes and gives the tree
// as the engine reads it when asked (each backslash stands as a marker).
bool checkTreeText(const std::string& text, std::string& error, size_t* nodes = nullptr,
                   Json::Value* parsed = nullptr);

// Which slot renders which trees, given as (index, nodes), and in what
// turn: slot w takes the trees w, w + windows, ... of the order that puts
// the first one first, so that its picture comes soon, then the larger ones,
// which keep their slot longest, so that no large tree is left to finish
// alone at the end (equal sizes keep the order given). The turns are fixed
// in advance, so that a run sends the same requests whatever the timing.
std::vector<std::vector<size_t>> renderTurns(const std::vector<std::pair<size_t, size_t>>& trees, size_t windows);

}  // namespace snapshot
