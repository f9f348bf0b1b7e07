// The files of one rendered tree, and its golden comparison.
#pragma once
#include <string>

#include "options.h"
#include "session.h"

namespace snapshot {

struct TreeReport {
    std::string summary;  // the progress line's text after the tree's name
    bool failed = false;
    bool differs = false;
};

// Writes NAME.png, NAME.positions.json and NAME.annotated.png into the
// output directory; with --compare also checks the golden and writes
// NAME.diff.png when the picture differs. The frame's pixels are taken over.
TreeReport writeOutputs(const Options& o, const std::string& name, Session::Result& r);

}  // namespace snapshot
