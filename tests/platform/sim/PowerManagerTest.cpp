// The power model on a virtual clock: the backlight's idle time, what keeps
// it on, suspension and what keeps the device awake.
#include <gtest/gtest.h>

#include "platform/Program.h"
#include "platform/sim/PowerManager.h"

namespace sim {
namespace {

class PowerManagerTest : public ::testing::Test {
protected:
    PowerManagerTest()
        : power([this] { return now; },
                [this](std::string call, std::vector<JournalValue>, JournalValue result) {
                    calls.push_back(call + " -> " + result.Json());
                },
                PowerSettings{}) {}

    HANDLE HoldBacklight(CEDEVICE_POWER_STATE state = D0) {
        DWORD error = 0;
        return power.SetRequirement(const_cast<char16_t*>(u"BKL1:"), state,
                                    POWER_NAME | POWER_FORCE, 0, 42, error);
    }

    DeviceTime now = 0;
    std::vector<std::string> calls;
    PowerManager power;
};

TEST_F(PowerManagerTest, TheBacklightStaysOnWhileHeldAtD0AndGoesOffAnIdleTimeAfterRelease) {
    EXPECT_TRUE(power.BacklightOn());
    const HANDLE request = HoldBacklight();
    ASSERT_NE(request, nullptr);
    now = 150'000;
    // Held well past the idle time; the system kept awake meanwhile.
    power.SetSystemState(nullptr, POWER_STATE_ON, 0);
    EXPECT_TRUE(power.BacklightOn());
    EXPECT_EQ(power.Status().requirements.size(), 1u);

    EXPECT_EQ(power.ReleaseRequirement(request), ERROR_SUCCESS);
    EXPECT_EQ(power.ReleaseRequirement(request), ERROR_INVALID_HANDLE);
    now = 150'000 + 59'999;
    EXPECT_TRUE(power.BacklightOn());
    now = 150'000 + 60'000;
    EXPECT_FALSE(power.BacklightOn());
    EXPECT_FALSE(power.Suspended());
    EXPECT_TRUE(power.Status().requirements.empty());

    // A tap or a synthesized key brings it back.
    power.UserActivity();
    EXPECT_TRUE(power.BacklightOn());
    EXPECT_EQ(calls.front(),
              "SetPowerRequirement -> " + std::to_string(reinterpret_cast<std::intptr_t>(request)));
}

TEST_F(PowerManagerTest, OnlyAFullPowerRequirementOnTheBacklightKeepsItOn) {
    DWORD error = 0;
    const HANDLE other =
        power.SetRequirement(const_cast<char16_t*>(u"WAV1:"), D0, POWER_NAME, 0, 1, error);
    EXPECT_NE(other, nullptr);
    const HANDLE dim = HoldBacklight(D3);
    EXPECT_NE(dim, nullptr);
    now = 61'000;
    EXPECT_FALSE(power.BacklightOn());

    // Refused: no name, an unknown state, no POWER_NAME.
    EXPECT_EQ(power.SetRequirement(nullptr, D0, POWER_NAME, 0, 1, error), nullptr);
    EXPECT_EQ(error, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(power.SetRequirement(const_cast<char16_t*>(u"BKL1:"),
                                   static_cast<CEDEVICE_POWER_STATE>(7), POWER_NAME, 0, 1, error),
              nullptr);
    EXPECT_EQ(power.SetRequirement(const_cast<char16_t*>(u"BKL1:"), D0, 0, 0, 1, error), nullptr);

    // A process that ends lets go of what it held (both backlight
    // requirements are process 42's); the other process's stays.
    const HANDLE held = HoldBacklight();
    EXPECT_TRUE(power.BacklightOn());
    power.ReleaseRequirementsOf(42);
    ASSERT_EQ(power.Status().requirements.size(), 1u);
    EXPECT_EQ(power.Status().requirements[0].device, u"WAV1:");
    now += 60'000;
    EXPECT_FALSE(power.BacklightOn());
    EXPECT_EQ(power.ReleaseRequirement(held), ERROR_INVALID_HANDLE);

    // A device told to refuse requirements refuses them.
    PowerSettings settings = power.Settings();
    settings.refuseRequirements = true;
    power.ChangeSettings(settings);
    EXPECT_EQ(HoldBacklight(), nullptr);
}

TEST_F(PowerManagerTest, TheDeviceSuspendsUnlessKeptOnAndWakesOnInputOrTheOnState) {
    now = 179'999;
    EXPECT_FALSE(power.Suspended());
    now = 180'000;
    EXPECT_TRUE(power.Suspended());
    EXPECT_FALSE(power.BacklightOn());
    power.UserActivity();
    EXPECT_FALSE(power.Suspended());
    EXPECT_TRUE(power.BacklightOn());

    // Asking for the "on" state now and then keeps it awake, not lit.
    for (int tick = 0; tick < 100; ++tick) {
        now += 5'000;
        EXPECT_EQ(power.SetSystemState(nullptr, POWER_STATE_ON, 0), ERROR_SUCCESS);
    }
    EXPECT_FALSE(power.Suspended());
    EXPECT_FALSE(power.BacklightOn());

    // A backlight requirement keeps the light, not the device, awake.
    HoldBacklight();
    now += 180'000;
    EXPECT_TRUE(power.Suspended());
    EXPECT_FALSE(power.BacklightOn());
    EXPECT_EQ(power.SetSystemState(u"On", 0, 0), ERROR_SUCCESS);
    EXPECT_FALSE(power.Suspended());
    EXPECT_TRUE(power.BacklightOn());

    EXPECT_EQ(power.SetSystemState(nullptr, POWER_STATE_SUSPEND, 0), ERROR_SUCCESS);
    EXPECT_TRUE(power.Suspended());
    EXPECT_EQ(power.SetSystemState(nullptr, POWER_STATE_RESET, 0), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(power.SetSystemState(u"nonsense", 0, 0), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(power.SetSystemState(nullptr, 0, 0), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(power.Suspended());
}

} // namespace
} // namespace sim
