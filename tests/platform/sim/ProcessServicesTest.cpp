// Processes within one device: starting the help viewer, mutexes shared by
// the programs, a process's program file, thread priorities, and what a
// program's end closes.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/sim/BuiltInPrograms.h"
#include "platform/sim/SystemServices.h"

namespace {

using simtest::DeviceTest;

class ProcessServicesTest : public DeviceTest {};

TEST_F(ProcessServicesTest, TheHelpViewerShowsTheFileAndTopicItWasAskedFor) {
    BOOL started = FALSE;
    BOOL unknown = TRUE;
    DWORD unknownError = 0;
    auto program = Launch([&](HINSTANCE) {
        // As the player asks for help: no process information wanted.
        started =
            CreateProcessW(u"peghelp.exe", const_cast<LPWSTR>(u"file:vantrel.htm#Main_Contents"),
                           nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr);
        unknown = CreateProcessW(u"nothing.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, nullptr, nullptr);
        unknownError = GetLastError();
    });
    EXPECT_TRUE(started);
    EXPECT_FALSE(unknown);
    EXPECT_EQ(unknownError, ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(device->RunUntilIdle());

    const HWND viewer = automation->FindWindow(sim::WindowQuery().Class(sim::kHelpViewerClass));
    ASSERT_NE(viewer, nullptr) << automation->Report();
    EXPECT_EQ(automation->Foreground(), viewer);
    const HWND content =
        automation->FindWindow(sim::WindowQuery().Class(sim::kHelpContentClass).Within(viewer));
    ASSERT_NE(content, nullptr);
    const std::u16string text = automation->TextOf(content);
    EXPECT_NE(text.find(u"File: \\Windows\\vantrel.htm"), std::u16string::npos);
    EXPECT_NE(text.find(u"Topic: Main_Contents"), std::u16string::npos);
    EXPECT_EQ(automation->Describe(viewer)->pid, device->Programs().back()->Pid());

    const auto calls = automation->Journal("CreateProcessW");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[0].Text(), "peghelp.exe");
    EXPECT_EQ(calls[0].args[1].Text(), "file:vantrel.htm#Main_Contents");
    EXPECT_EQ(calls[0].result, sim::JournalValue(true));
}

TEST(ProgramStart, TheCommandLineIsGivenUnchangedAndTheExitCodeKept) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    sim::Device device(config);
    sim::ProgramImage image;
    std::u16string seen;
    image.entry = [&seen](HINSTANCE, LPWSTR) {
        seen = GetCommandLineW();
        return -1;
    };
    // As the shell passes an associated file: no quotes removed, blanks kept.
    sim::Program& program = device.Launch(image, u" \\My Documents\\a movie.swf ");
    ASSERT_TRUE(device.RunUntil([&] { return program.Finished(); }, 1000));
    EXPECT_EQ(seen, u" \\My Documents\\a movie.swf ");
    EXPECT_EQ(program.ExitCode(), -1);
}

TEST(HelpCommandLine, FileAndTopicAreTakenApart) {
    auto request = sim::ParseHelpCommandLine(u"file:vantrel.htm#Main_Contents");
    EXPECT_EQ(request.file, u"\\Windows\\vantrel.htm");
    EXPECT_EQ(request.topic, u"Main_Contents");
    request = sim::ParseHelpCommandLine(u"\\My Documents\\guide.htm");
    EXPECT_EQ(request.file, u"\\My Documents\\guide.htm");
    EXPECT_EQ(request.topic, u"");
}

TEST_F(ProcessServicesTest, ProcessesAndTheirProgramFilesExitCodesAndPriorities) {
    PROCESS_INFORMATION started;
    DWORD code = 0;
    WCHAR path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    WCHAR tiny[4] = {};
    DWORD tinyLength = 4;
    int defaultPriority = 0, lowered = 0, refused = 0;
    auto program = Launch([&](HINSTANCE) {
        ASSERT_TRUE(CreateProcessW(u"\\Windows\\peghelp.exe", const_cast<LPWSTR>(u"x.htm"), nullptr,
                                   nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started));
        EXPECT_TRUE(GetExitCodeProcess(started.hProcess, &code));
        const HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
        ASSERT_NE(self, nullptr);
        EXPECT_TRUE(QueryFullProcessImageNameW(self, 0, path, &length));
        EXPECT_FALSE(QueryFullProcessImageNameW(self, 0, tiny, &tinyLength));
        EXPECT_TRUE(CloseHandle(self));
        EXPECT_FALSE(CloseHandle(self));
        EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 12345), nullptr);

        defaultPriority = GetThreadPriority(GetCurrentThread());
        EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE));
        lowered = GetThreadPriority(GetCurrentThread());
        EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL));
        refused = SetThreadPriority(GetCurrentThread(), 8);
    });
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(std::u16string(path), u"\\Program Files\\Vantrel\\Vantrel.exe");
    EXPECT_EQ(length, 34u);
    EXPECT_EQ(defaultPriority, THREAD_PRIORITY_NORMAL);
    EXPECT_EQ(lowered, THREAD_PRIORITY_IDLE);
    EXPECT_FALSE(refused);
    ASSERT_EQ(automation->Journal("SetThreadPriority").size(), 3u);

    // The viewer ends; its exit code is there to read.
    const HWND viewer = automation->FindWindow(sim::WindowQuery().Class(sim::kHelpViewerClass));
    ASSERT_NE(viewer, nullptr);
    sim::Program* helper = device->FindProgram(started.dwProcessId);
    ASSERT_NE(helper, nullptr);
    device->RunOnProgram(*helper, [viewer] { DestroyWindow(viewer); });
    ASSERT_TRUE(device->RunUntil([&] { return helper->Finished(); }, 1000));
    OnProgram(program, [&] {
        EXPECT_TRUE(GetExitCodeProcess(started.hProcess, &code));
        EXPECT_TRUE(CloseHandle(started.hProcess));
        EXPECT_TRUE(CloseHandle(started.hThread));
    });
    EXPECT_EQ(code, 0u);
}

TEST_F(ProcessServicesTest, ProgramsShareNamedMutexesUntilTheLastHolderEnds) {
    const std::u16string name = u"/Program Files/Vantrel/Vantrel.exe";
    HANDLE first = nullptr;
    DWORD firstError = 1;
    auto holder = Launch([&](HINSTANCE) {
        SetLastError(1234);
        first = CreateMutexW(nullptr, FALSE, name.c_str());
        firstError = GetLastError();
    });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(firstError, ERROR_SUCCESS);

    HANDLE second = nullptr;
    DWORD secondError = 0;
    BOOL released = TRUE;
    DWORD releaseError = 0;
    auto other = Launch([&](HINSTANCE) {
        second = CreateMutexW(nullptr, TRUE, name.c_str());
        secondError = GetLastError();
        released = ReleaseMutex(second);
        releaseError = GetLastError();
        EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"a\\b"), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    });
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(secondError, ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(released) << "the second creator does not get ownership";
    EXPECT_EQ(releaseError, ERROR_NOT_OWNER);

    // The first holder ends without closing its handle; the second closes
    // its own; the name is free again.
    OnProgram(holder, [] { PostQuitMessage(0); });
    ASSERT_TRUE(device->RunUntil([&] { return holder->Finished(); }, 1000));
    ASSERT_TRUE(device->RunUntilIdle());
    OnProgram(other, [&] {
        EXPECT_TRUE(CloseHandle(second));
        const HANDLE again = CreateMutexW(nullptr, TRUE, name.c_str());
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
        EXPECT_TRUE(ReleaseMutex(again));
        EXPECT_TRUE(CloseHandle(again));
    });
    const auto calls = automation->Journal("CreateMutexW");
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[0].Text(), "/Program Files/Vantrel/Vantrel.exe");
    EXPECT_EQ(calls[1].result.Int(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(device->Services().Processes().OpenHandles(), 0u);
}

} // namespace
