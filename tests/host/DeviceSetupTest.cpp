#include "host/DeviceSetup.h"

#include <gtest/gtest.h>

#include "ProcessRunner.h"
#include "platform/sim/Automation.h"

namespace host {
namespace {

TEST(DeviceSetup, ADeviceKeepsTheScreenItWasMadeWith) {
    sim::TemporaryDirectory scratch;
    const auto directory = scratch.Path() / "a" / "device";
    const auto made = PrepareDevice(directory, DeviceProfile{480, 640, 192});
    ASSERT_TRUE(made) << made.GetError().message;
    EXPECT_TRUE(made->isNew);
    EXPECT_EQ(made->profile, (DeviceProfile{480, 640, 192}));

    // Used again, it keeps the screen it was made with, whatever is asked.
    const auto again = PrepareDevice(directory, DeviceProfile{240, 320, 96});
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->isNew);
    EXPECT_EQ(again->profile, (DeviceProfile{480, 640, 192}));
}

TEST(DeviceSetup, ADamagedScreenFileIsAnErrorAndStaysAsItIs) {
    sim::TemporaryDirectory scratch;
    ASSERT_TRUE(PrepareDevice(scratch.Path(), DeviceProfile{}));
    const auto file = scratch.Path() / "screen.txt";
    for (const std::string damaged : {"240 320", "240 x 320 96", "240 320 96 7", "0 320 96"}) {
        testing::WriteFile(file, damaged);
        const auto result = PrepareDevice(scratch.Path(), DeviceProfile{});
        ASSERT_FALSE(result) << damaged;
        EXPECT_NE(result.GetError().message.find("damaged"), std::string::npos);
        EXPECT_EQ(testing::ReadFile(file), damaged);
    }
}

TEST(DeviceSetup, ADirectoryThatCannotBeMadeIsAnError) {
    sim::TemporaryDirectory scratch;
    testing::WriteFile(scratch.Path() / "file", "x");
    const auto result = PrepareDevice(scratch.Path() / "file" / "device", DeviceProfile{});
    ASSERT_FALSE(result);
    EXPECT_NE(result.GetError().message.find("cannot make"), std::string::npos)
        << result.GetError().message;
}

} // namespace
} // namespace host
