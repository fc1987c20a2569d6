// Message boxes: the application's title, the text by string id, the button
// the user chose.
#include "ProgramFixture.h"

#include "TestIds.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/sim/Journal.h"
#include "platform/sim/WindowManager.h"

namespace {

TEST_F(ProgramFixture, AMessageBoxHasTheApplicationsTitleAndReturnsTheChoice) {
    Start();
    ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    PressKey(VK_F16);

    // The box is up, over the frame, with the module's name as its title.
    const sim::Window* box = device->Windows().Active();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, u"FrameworkTest");
    ASSERT_NE(box->owner, nullptr);
    EXPECT_EQ(box->owner->handle, log.frame);
    EXPECT_EQ(log.messageBoxResult, 0) << "the box is still up";

    PressKey(VK_RETURN);
    EXPECT_EQ(log.messageBoxResult, IDOK) << Diagnostics();
    const auto boxes = device->GetJournal().Calls("MessageBoxW");
    ASSERT_EQ(boxes.size(), 1u) << device->GetJournal().JsonLines();
    const std::string json = boxes[0].Json();
    EXPECT_NE(json.find("\"Hello from the string table\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"FrameworkTest\""), std::string::npos) << json;
}

} // namespace
