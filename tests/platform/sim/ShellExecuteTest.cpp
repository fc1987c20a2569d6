// The shell opening documents: the command a file class gives, with the
// document's path put in, and what a document without a class or a missing
// one gives.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Files.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/sim/ShellExecute.h"
#include "platform/sim/SystemServices.h"

namespace {

using sim::CommandForDocument;
using sim::ShellCommand;

TEST(ShellCommandTest, TheDocumentGoesWhereTheCommandSaysAndTheProgramIsTheFirstWord) {
    EXPECT_EQ(CommandForDocument(u"\"\\Program Files\\A\\A.exe\" %1", u"\\My Documents\\m.swf"),
              (ShellCommand{u"\\Program Files\\A\\A.exe", u"\\My Documents\\m.swf"}));
    EXPECT_EQ(CommandForDocument(u"\\Windows\\b.exe -open %1 100%%", u"\\x.b"),
              (ShellCommand{u"\\Windows\\b.exe", u"-open \\x.b 100%"}));
    EXPECT_EQ(CommandForDocument(u"  viewer.exe", u"\\x.b"), (ShellCommand{u"viewer.exe", u""}));
    EXPECT_EQ(CommandForDocument(u"\"\" %1", u"\\x.b"), std::nullopt);
    EXPECT_EQ(CommandForDocument(u"", u"\\x.b"), std::nullopt);
}

class ShellExecuteTest : public simtest::DeviceTest {
protected:
    // Installs a program that records its command line.
    void InstallViewer() {
        sim::ProgramImage image;
        image.modulePath = u"\\Windows\\viewer.exe";
        image.entry = [this](HINSTANCE, LPWSTR commandLine) {
            viewerCommandLines.push_back(commandLine);
            return 0;
        };
        device->Services().Processes().Install(image);
    }

    static void SetDefault(const char16_t* key, const std::u16string& value) {
        HKEY handle = nullptr;
        RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, 0, nullptr, &handle, nullptr);
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * 2));
        RegCloseKey(handle);
    }

    struct Outcome {
        bool done = false;
        DWORD error = 0;
        std::intptr_t code = 0;
    };
    Outcome Execute(sim::Program& program, const char16_t* file) {
        Outcome outcome;
        OnProgram(program, [&] {
            SHELLEXECUTEINFOW info;
            info.lpFile = file;
            outcome.done = ShellExecuteExW(&info) != FALSE;
            outcome.error = GetLastError();
            outcome.code = reinterpret_cast<std::intptr_t>(info.hInstApp);
        });
        EXPECT_TRUE(device->RunUntilIdle());
        return outcome;
    }

    std::vector<std::u16string> viewerCommandLines;
};

TEST_F(ShellExecuteTest, ADocumentOpensWithTheCommandOfItsClass) {
    InstallViewer();
    auto program = Launch([](HINSTANCE) {
        SetDefault(u".view", u"Viewer.Document");
        SetDefault(u"Viewer.Document\\Shell\\Open\\Command", u"\"\\Windows\\viewer.exe\" %1");
        FILE* file = _wfopen(u"\\My Documents\\a b.VIEW", u"w");
        std::fclose(file);
    });
    const Outcome opened = Execute(program, u"\\My Documents\\a b.VIEW");
    EXPECT_TRUE(opened.done);
    EXPECT_GT(opened.code, 32);
    EXPECT_EQ(viewerCommandLines, std::vector<std::u16string>{u"\\My Documents\\a b.VIEW"});
    // A program file starts as it is.
    EXPECT_TRUE(Execute(program, u"\\Windows\\viewer.exe").done);
    EXPECT_EQ(viewerCommandLines.size(), 2u);
}

TEST_F(ShellExecuteTest, AMissingDocumentOrOneNoClassOpensFails) {
    InstallViewer();
    auto program = Launch([](HINSTANCE) {
        FILE* file = _wfopen(u"\\plain.txt", u"w");
        std::fclose(file);
        // A class without a command opens nothing either.
        SetDefault(u".half", u"Half.Document");
        file = _wfopen(u"\\a.half", u"w");
        std::fclose(file);
    });
    const Outcome missing = Execute(program, u"\\nothing.view");
    EXPECT_FALSE(missing.done);
    EXPECT_EQ(missing.error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing.code, SE_ERR_FNF);
    for (const char16_t* file : {u"\\plain.txt", u"\\a.half"}) {
        const Outcome unknown = Execute(program, file);
        EXPECT_FALSE(unknown.done);
        EXPECT_EQ(unknown.error, ERROR_NO_ASSOCIATION);
        EXPECT_EQ(unknown.code, SE_ERR_NOASSOC);
    }
    EXPECT_TRUE(viewerCommandLines.empty());
}

} // namespace
