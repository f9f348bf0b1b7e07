#include <Elementary.h>
#include <gtest/gtest.h>

#include "utils/efl_util.h"

// The toolkit is initialised once per test process, as the engine does it
// (no cache daemon holding the test's output open); every window draws into
// memory through the buffer engine.
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        efl_util_init_toolkit();
        elm_config_preferred_engine_set("buffer");
    }
    void TearDown() override { elm_shutdown(); }
};

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);
    return RUN_ALL_TESTS();
}
