// Strings of the program's string table and the module's name.
#include "ProgramFixture.h"

#include "TestIds.h"
#include "framework/Strings.h"

namespace {

TEST_F(ProgramFixture, StringsComeWholeFromTheProgramsStringTable) {
    Start();
    std::u16string greeting;
    std::u16string longText;
    std::u16string missing = u"not read";
    std::u16string moduleName;
    ASSERT_TRUE(device->RunOnProgram(*program, [&] {
        greeting = framework::LoadString(IDS_GREETING);
        longText = framework::LoadString(IDS_LONG);
        missing = framework::LoadString(9999);
        moduleName = framework::ModuleBaseName();
    }));
    EXPECT_EQ(greeting, u"Hello from the string table");
    // Past any fixed buffer, and not cut.
    EXPECT_GT(longText.size(), 255u);
    EXPECT_EQ(longText.substr(longText.size() - 4), u" end");
    EXPECT_EQ(missing, u"");
    EXPECT_EQ(moduleName, u"FrameworkTest");
}

} // namespace
