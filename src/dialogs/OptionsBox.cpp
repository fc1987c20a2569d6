#include "dialogs/OptionsBox.h"

#include "dialogs/SwfAssociation.h"
#include "framework/Strings.h"
#include "platform/Controls.h"
#include "resources/resource.h"

namespace player {
namespace {

// The hot keys the hidden list offers, in this order (which its sorting
// keeps).
constexpr const char16_t* kHotKeyNames[] = {u"(NONE)", u"ACTION", u"APP1", u"APP2",
                                            u"APP3",   u"APP4",   u"APP5", u"APP6"};

void AddItem(HWND list, const std::u16string& text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace

COptionsBox::COptionsBox() : Dialog(IDD_OPTIONS) {}

void COptionsBox::DoDataExchange(framework::DataExchange& dx) {
    dx.ComboIndex(IDC_OPTIONS_HOTKEY, hotKeyIndex);
    dx.ComboIndex(IDC_OPTIONS_BACKLIGHT, backlightIndex);
    dx.Check(IDC_OPTIONS_LANDSCAPE, landscapeChecked);
}

bool COptionsBox::OnInitDialog() {
    Dialog::OnInitDialog();
    const HWND hotKeys = GetDlgItem(IDC_OPTIONS_HOTKEY);
    for (const char16_t* name : kHotKeyNames) {
        AddItem(hotKeys, name);
    }
    SendMessageW(hotKeys, CB_SETCURSEL, 0, 0);
    const HWND backlight = GetDlgItem(IDC_OPTIONS_BACKLIGHT);
    AddItem(backlight, framework::LoadString(IDS_KEEP_BACKLIGHT));
    AddItem(backlight, framework::LoadString(IDS_NO_BACKLIGHT));
    SendMessageW(backlight, CB_SETCURSEL, 0, 0);
    CreateSoftKeyBar(IDR_OKCANCEL_MENUBAR);
    // A backlight option the list has no item for shows no selection, and a
    // landscape value outside 0 to 2 becomes 0 here.
    UpdateData(false);
    return true;
}

const framework::MessageTable& COptionsBox::Messages() const {
    using T = framework::Table<COptionsBox>;
    static const T table{Dialog::Messages(),
                         {
                             T::Command(IDC_OPTIONS_ASSOCIATE, &COptionsBox::OnAssociate),
                             // Neither has anything to do: the button is
                             // never shown and the list is read by nobody.
                             T::Command(IDC_OPTIONS_REMOVE, &COptionsBox::OnIgnored),
                             T::Control(IDC_OPTIONS_HOTKEY, CBN_SELCHANGE, &COptionsBox::OnIgnored),
                         }};
    return table;
}

void COptionsBox::OnAssociate() {
    AssociateSwf();
}

void COptionsBox::OnIgnored() {}

} // namespace player
