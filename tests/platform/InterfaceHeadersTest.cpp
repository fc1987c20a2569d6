// The interface headers compile together, keep the binary layouts that
// templates and resources rely on, and their inline helpers behave as Win32's.
#include <array>

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileDialog.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/Window.h"

// A dialog template's head is read straight from resource bytes.
static_assert(sizeof(DLGTEMPLATE) == 18);
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);

TEST(InterfaceHeaders, StylusCoordinatesInLParamAreSigned) {
    const LPARAM packed = MAKELPARAM(static_cast<WORD>(-5), 300);
    EXPECT_EQ(GET_X_LPARAM(packed), -5);
    EXPECT_EQ(GET_Y_LPARAM(packed), 300);
}

TEST(InterfaceHeaders, RectangleHelpersTreatEmptyRectanglesAsWin32Does) {
    const RECT a{0, 0, 10, 10};
    const RECT b{5, 5, 20, 20};
    const RECT empty{3, 3, 3, 8};
    RECT out{};
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_TRUE(EqualRect(&out, std::array<RECT, 1>{RECT{5, 5, 10, 10}}.data()));
    EXPECT_FALSE(IntersectRect(&out, &a, &empty));
    EXPECT_TRUE(IsRectEmpty(&out));
    EXPECT_TRUE(UnionRect(&out, &empty, &b));
    EXPECT_EQ(out.left, 5);
    EXPECT_EQ(out.right, 20);
    // Right and bottom edges are outside.
    EXPECT_TRUE(PtInRect(&a, POINT{0, 9}));
    EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
}
