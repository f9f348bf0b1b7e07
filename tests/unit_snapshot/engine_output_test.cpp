// The protocol client's handling of an engine's output pipes: everything the
// engine wrote is read, and a process it left behind holding them is seen.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "client/client.h"

namespace {

using Clock = std::chrono::steady_clock;

// A stand-in engine: a shell script.
std::string script(const std::string& name, const std::string& body)
{
    std::string path = testing::TempDir() + name + "_" + std::to_string(getpid()) + ".sh";
    FILE* f = std::fopen(path.c_str(), "w");
    EXPECT_TRUE(f);
    if (!f)
        return path;
    std::fprintf(f, "#!/bin/sh\n%s\n", body.c_str());
    std::fclose(f);
    chmod(path.c_str(), 0755);
    return path;
}

long msSince(Clock::time_point t)
{
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

// The engine's output ends with it; a helper it leaves behind holding the
// pipes shows as output still open, until the helper is gone too.
TEST(ClientEngineOutput, OutputClosesWithTheEngineUnlessAHelperHoldsIt)
{
    for (bool helper : { false, true }) {
        SCOPED_TRACE(helper ? "with a helper" : "alone");
        client::Engine::Options o;
        o.binary = script("holder", std::string("echo '[VORA-CMD-PORT:4242]'\n") + (helper ? "sleep 2 &\n" : "")
                                        + "exec sleep 30");
        o.workdir = "/";
        o.connect = false;
        std::string error;
        auto engine = client::Engine::start(o, &error);
        ASSERT_TRUE(engine) << error;
        EXPECT_FALSE(engine->waitOutputClosed(100)) << "the engine is still running";
        pid_t pid = engine->pid();
        kill(pid, SIGKILL);
        ASSERT_TRUE(engine->waitExit(2000));
        EXPECT_EQ(engine->waitOutputClosed(300), !helper);
        auto t = Clock::now();
        EXPECT_TRUE(engine->waitOutputClosed(5000));
        EXPECT_LT(msSince(t), helper ? 5000 : 1000);
        std::remove(o.binary.c_str());
    }
}

// What the engine wrote before it exited is all read, even past a full pipe.
TEST(ClientEngineOutput, AFailedStartReportsTheEnginesLastWordsPromptly)
{
    client::Engine::Options o;
    o.binary = script("quitter", "i=0\n"
                                 "while [ $i -lt 2000 ]; do echo \"render-engine: line $i of some length\" >&2; i=$((i+1)); done\n"
                                 "echo 'render-engine: last words' >&2\n"
                                 "exit 4");
    o.workdir = "/";
    std::string error;
    auto t = Clock::now();
    EXPECT_FALSE(client::Engine::start(o, &error));
    EXPECT_LT(msSince(t), 1500);
    EXPECT_NE(error.find("exited before the handshake (exit status 4)"), std::string::npos) << error.substr(0, 200);
    EXPECT_NE(error.find("line 1999 of some length\nrender-engine: last words"), std::string::npos)
        << error.substr(error.size() > 300 ? error.size() - 300 : 0);
    std::remove(o.binary.c_str());
}

}  // namespace
