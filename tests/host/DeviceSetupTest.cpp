#include "host/DeviceSetup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ProcessRunner.h"
#include "platform/sim/Automation.h"

namespace host {
namespace {

const std::string kMovie = "FWS movie bytes";

std::span<const std::byte> MovieBytes() {
    return std::as_bytes(std::span(kMovie.data(), kMovie.size()));
}

TEST(DeviceSetup, ANewDeviceGetsItsScreenAndTheDefaultMovie) {
    sim::TemporaryDirectory scratch;
    const auto directory = scratch.Path() / "a" / "device";
    const auto made = PrepareDevice(directory, DeviceProfile{480, 640, 192}, MovieBytes());
    ASSERT_TRUE(made) << made.GetError().message;
    EXPECT_TRUE(made->isNew);
    EXPECT_EQ(made->profile, (DeviceProfile{480, 640, 192}));
    EXPECT_EQ(testing::ReadFile(DefaultMoviePath(directory)), kMovie);
    EXPECT_EQ(DefaultMoviePath(directory),
              directory / "storage/Program Files/Vantrel/Vantrel.exe.swf");

    // Used again, it keeps the screen it was made with, whatever is asked.
    const auto again = PrepareDevice(directory, DeviceProfile{240, 320, 96}, MovieBytes());
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->isNew);
    EXPECT_EQ(again->profile, (DeviceProfile{480, 640, 192}));
}

TEST(DeviceSetup, TheUsersFilesAreNeverReplaced) {
    sim::TemporaryDirectory scratch;
    const auto directory = scratch.Path();
    // A default movie the user put there before the device was first used.
    std::filesystem::create_directories(DefaultMoviePath(directory).parent_path());
    testing::WriteFile(DefaultMoviePath(directory), "mine");
    ASSERT_TRUE(PrepareDevice(directory, DeviceProfile{}, MovieBytes()));
    EXPECT_EQ(testing::ReadFile(DefaultMoviePath(directory)), "mine");

    // A movie removed later is not put back: only a new device gets one.
    std::filesystem::remove(DefaultMoviePath(directory));
    ASSERT_TRUE(PrepareDevice(directory, DeviceProfile{}, MovieBytes()));
    EXPECT_FALSE(std::filesystem::exists(DefaultMoviePath(directory)));
}

TEST(DeviceSetup, ADamagedScreenFileIsAnErrorAndStaysAsItIs) {
    sim::TemporaryDirectory scratch;
    ASSERT_TRUE(PrepareDevice(scratch.Path(), DeviceProfile{}, MovieBytes()));
    const auto file = scratch.Path() / "screen.txt";
    for (const std::string damaged : {"240 320", "240 x 320 96", "240 320 96 7", "0 320 96"}) {
        testing::WriteFile(file, damaged);
        const auto result = PrepareDevice(scratch.Path(), DeviceProfile{}, MovieBytes());
        ASSERT_FALSE(result) << damaged;
        EXPECT_NE(result.GetError().message.find("damaged"), std::string::npos);
        EXPECT_EQ(testing::ReadFile(file), damaged);
    }
}

TEST(DeviceSetup, ADirectoryThatCannotBeMadeIsAnError) {
    sim::TemporaryDirectory scratch;
    testing::WriteFile(scratch.Path() / "file", "x");
    const auto result =
        PrepareDevice(scratch.Path() / "file" / "device", DeviceProfile{}, MovieBytes());
    ASSERT_FALSE(result);
    EXPECT_NE(result.GetError().message.find("cannot make"), std::string::npos)
        << result.GetError().message;
}

} // namespace
} // namespace host
