#include <Elementary.h>
#include <gtest/gtest.h>

// The toolkit is initialised once per test process; every window draws
// into memory through the buffer engine.
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        elm_init(0, nullptr);
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
