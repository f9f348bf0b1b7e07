// Regression: a tree with every leaf kind, its file selector listing a folder
// that changes while it is listed, rendered three times in a row. Tearing a
// file selector down while it still filtered the folder's entries made the
// toolkit free a promise twice; the engine then either died or spun for ever
// inside the toolkit, answering nothing more.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e_support.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;

Json::Value everyKindListing(const std::string& folder)
{
    std::ifstream in(std::string(SOURCE_DIR) + "/examples/widgets.json");
    std::stringstream text;
    text << in.rdbuf();
    Json::Value tree = parse(text.str());
    for (Json::Value& child : tree["children"][0]["children"])
        if (child["properties"].isMember("path"))
            child["properties"]["path"] = folder;
    return tree;
}

Json::ArrayIndex nodeCount(const Json::Value& node)
{
    Json::ArrayIndex n = 1;
    for (const Json::Value& child : node["children"])
        n += nodeCount(child);
    return n;
}

// Files and folders appear and vanish until destroyed.
class ChurningFolder {
public:
    ChurningFolder()
        : path_(fs::temp_directory_path() / ("churn-" + std::to_string(getpid())))
    {
        fs::create_directories(path_);
        for (int i = 0; i < 40; ++i)
            std::ofstream(path_ / ("seed" + std::to_string(i) + ".txt")) << i;
        thread_ = std::thread([this] {
            std::error_code ec;
            for (int i = 0; !stop_; ++i) {
                fs::path file = path_ / ("f" + std::to_string(i % 50));
                if (i % 2)
                    fs::remove(file, ec);
                else
                    std::ofstream(file) << i;
                fs::path dir = path_ / ("d" + std::to_string(i % 5));
                if (i % 7 == 0)
                    fs::create_directories(dir, ec);
                if (i % 11 == 0)
                    fs::remove_all(dir, ec);
            }
        });
    }
    ~ChurningFolder()
    {
        stop_ = true;
        thread_.join();
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
    std::atomic<bool> stop_ { false };
    std::thread thread_;
};

// The toolkit's pooled allocator hides a double free until its free list
// loops (then it spins); with its pools passed straight to malloc the C
// library aborts at the first one, so every engine here would have failed.
TEST(Stall, EveryKindRenderedThreeTimesWhileItsFolderChangesAlwaysAnswers)
{
    ChurningFolder folder;
    Json::Value tree = everyKindListing(folder.path());
    for (int run = 0; run < 6; ++run) {
        client::Engine::Options options;
        options.binary = ENGINE_BINARY;
        options.workdir = SOURCE_DIR;
        if (run % 2 == 0)
            options.extraEnv.push_back("EINA_MEMPOOL_PASS=1");
        std::string error;
        auto engine = client::Engine::start(options, &error);
        ASSERT_TRUE(engine) << error;
        ASSERT_TRUE(createWindow(*engine, 1, 360, 480));
        for (int r = 0; r < 3; ++r) {
            Frame f;
            ASSERT_TRUE(render(*engine, 1, 360, 480, tree, f))
                << "run " << run << ", render " << r << ": " << engine->lastError() << "\n"
                << engine->stderrText();
            EXPECT_EQ(f.widgets.size(), nodeCount(tree)) << "a widget was not built";
        }
    }
}

} // namespace
