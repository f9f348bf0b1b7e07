#include "tree_file.h"

#include <json/json.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace snapshot {

namespace {

// What the engine puts in place of each backslash before parsing.
const char* const kBackslashMarker = "`U+2109`";

// jsoncpp reports "* Line L, Column C" and the reason on the next line.
std::string firstLine(const std::string& text)
{
    std::istringstream in(text);
    std::string line, joined;
    for (int taken = 0; taken < 2 && std::getline(in, line);) {
        size_t start = line.find_first_not_of(" *");
        if (start == std::string::npos)
            continue;
        joined += (joined.empty() ? "" : ": ") + line.substr(start);
        ++taken;
    }
    return joined;
}

size_t countNodes(const Json::Value& node)
{
    size_t n = 1;
    const Json::Value& children = node["children"];
    if (children.isArray())
        for (const Json::Value& child : children)
            if (child.isObject())
                n += countNodes(child);
    return n;
}

}  // namespace

std::string treeName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string ext = ".json";
    if (base.size() > ext.size() && base.compare(base.size() - ext.size(), ext.size(), ext) == 0)
        base.resize(base.size() - ext.size());
    return base;
}

bool checkTreeText(const std::string& text, std::string& error, size_t* nodes, Json::Value* parsed)
{
    std::string marked;
    marked.reserve(text.size());
    for (char c : text)
        if (c == '\\')
            marked += kBackslashMarker;
        else
            marked += c;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // The engine's reader, with the engine's settings.
    Json::Reader reader;
    Json::Value root;
    if (!reader.parse(marked, root, true)) {
        error = "not valid JSON (" + firstLine(reader.getFormattedErrorMessages()) + ")";
        if (text.find('\\') != std::string::npos)
            error += "; note that backslashes are taken literally, so no JSON escapes";
        return false;
    }
#pragma GCC diagnostic pop
    if (!root.isObject()) {
        error = "not a widget tree: the top level must be a JSON object";
        return false;
    }
    if (nodes)
        *nodes = countNodes(root);
    if (parsed)
        *parsed = std::move(root);
    return true;
}

std::vector<std::vector<size_t>> renderTurns(const std::vector<std::pair<size_t, size_t>>& trees, size_t windows)
{
    std::vector<std::pair<size_t, size_t>> order = trees;
    if (!order.empty())
        std::stable_sort(order.begin() + 1, order.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::vector<size_t>> turns(std::max<size_t>(windows, 1));
    for (size_t k = 0; k < order.size(); ++k)
        turns[k % turns.size()].push_back(order[k].first);
    return turns;
}

bool loadTree(const std::string& path, TreeFile& out, std::string& error)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        error = "cannot read: " + std::string(std::strerror(errno));
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "cannot read: is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read: " + std::string(std::strerror(errno));
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = "cannot read: input error";
        return false;
    }
    out.name = treeName(path);
    out.text = text.str();
    return checkTreeText(out.text, error, &out.nodes);
}

}  // namespace snapshot
