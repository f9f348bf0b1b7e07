// What one tree leaves behind in the engine for the next.
//
// The engine keeps the last "style" and "disable" texts given to nodes of a
// few widget kinds and applies them to later nodes of that kind that carry
// properties but not these (the IDE relies on that, so it stays). A tree's
// picture must be the one it gives in a fresh engine, so the tool follows
// what its trees leave behind and, before the next tree, renders a small
// tree of its own that puts those texts back to their start values.
#pragma once
#include <json/json.h>

#include <map>
#include <optional>
#include <string>

namespace snapshot {

class DeferredValues {
public:
    // Takes in what `tree` leaves behind once the engine has built it.
    void absorb(const Json::Value& tree);
    // A tree giving every value left behind its start value again, or none
    // when nothing differs from a fresh engine.
    std::optional<Json::Value> resetTree() const;
    // Everything as in a fresh engine (a new engine, or the reset tree sent).
    void clear() { left_.clear(); }

private:
    void absorbNode(const Json::Value& node, int depth);

    // kind -> property -> text the engine keeps, where it differs from the start
    std::map<std::string, std::map<std::string, std::string>> left_;
};

}  // namespace snapshot
