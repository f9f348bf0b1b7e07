// The files of one rendered tree, and its golden comparison.
#pragma once
#include <string>

#include "options.h"
#include "report.h"
#include "session.h"

namespace snapshot {

struct TreeReport {
    std::string summary;  // the progress line's text after the tree's name
    bool failed = false;
    bool differs = false;
    report::Entry entry;        // the tree's section of the HTML report
    Json::Value goldenWidgets;  // the golden's widget positions, when kept
};

// Writes NAME.png, NAME.positions.json and NAME.annotated.png into the
// output directory; with --compare also checks the golden and writes
// NAME.diff.png when the picture differs. The frame's pixels are taken over.
// With --report, the golden picture is copied into the report before
// anything is written, since --out-dir may be the golden directory.
TreeReport writeOutputs(const Options& o, const std::string& name, Session::Result& r);

}  // namespace snapshot
