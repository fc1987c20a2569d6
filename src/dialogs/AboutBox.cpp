#include "dialogs/AboutBox.h"

#include "dialogs/RelayoutDialog.h"
#include "framework/Strings.h"
#include "platform/Window.h"
#include "resources/resource.h"

namespace player {

CAboutBox::CAboutBox() : Dialog(IDD_ABOUTBOX) {}

const framework::MessageTable& CAboutBox::Messages() const {
    using T = framework::Table<CAboutBox>;
    static const T table{Dialog::Messages(), {T::Size(&CAboutBox::OnSize)}};
    return table;
}

void CAboutBox::OnSize(UINT, int, int) {
    // No default size handling: the layout is the template's.
    const bool landscape = GetSystemMetrics(SM_CYSCREEN) < GetSystemMetrics(SM_CXSCREEN);
    RelayoutDialog(framework::ProgramInstance(), Handle(),
                   landscape ? IDD_ABOUTBOX_WIDE : IDD_ABOUTBOX);
}

} // namespace player
