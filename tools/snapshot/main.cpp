// render-snapshot: widget trees to pictures and positions, from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "batch.h"
#include "options.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    snapshot::Options options;
    std::string error;
    switch (snapshot::parseOptions(args, options, error)) {
    case snapshot::ParseResult::Help:
        std::fputs(snapshot::helpText(), stdout);
        return 0;
    case snapshot::ParseResult::Error:
        std::fprintf(stderr, "render-snapshot: %s\nTry 'render-snapshot --help'.\n", error.c_str());
        return 2;
    case snapshot::ParseResult::Run:
        break;
    }
    return snapshot::runBatch(options);
}
