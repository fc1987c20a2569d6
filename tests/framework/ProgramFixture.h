// A fresh simulated device in a temporary directory with the framework tests'
// program on it, and a user's actions: taps, keys and typed text, each followed
// by a run of the device until it is idle again.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "TestProgram.h"
#include "platform/WinTypes.h"
#include "platform/sim/Device.h"

class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override;

    // Launches the program and runs the device until it is idle (the program
    // waiting for input, or ended).
    sim::Program& Start(testprogram::Behaviour behaviour = {}, std::u16string commandLine = {});

    // A tap at a screen point; a tap at the centre of a window (or at a point
    // of its client area).
    void Tap(POINT screenPoint);
    void TapCentre(HWND window);
    void TapClient(HWND window, POINT clientPoint);
    // A key pressed and released.
    void PressKey(BYTE virtualKey);
    // Characters typed, as the input panel sends them.
    void Type(std::u16string_view text);

    RECT ScreenRect(HWND window) const;
    std::u16string TextOf(HWND window) const;
    bool Finished() const;
    // The program's exit code; INT_MIN while it runs.
    int ExitCode() const;
    // What the device reported as going wrong, and the program's log.
    std::string Diagnostics() const;

    std::filesystem::path directory;
    std::unique_ptr<sim::Device> device;
    testprogram::ProgramLog log;
    sim::Program* program = nullptr;

private:
    void Settle();
};
