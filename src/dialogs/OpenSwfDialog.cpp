#include "dialogs/OpenSwfDialog.h"

#include <array>

#include "platform/FileDialog.h"
#include "platform/Text.h"
#include "resources/resource.h"

namespace player {
namespace {

// Pairs of a name and its patterns, ended by an empty text.
constexpr char16_t kFilter[] = u"Flash Movies(*.swf)\0*.swf\0All files(*.*)\0*.*\0";
constexpr DWORD kFileNameLength = 1024;

} // namespace

COpenSWFDialog::COpenSWFDialog() : Dialog(IDD_OPENSWF) {}

void COpenSWFDialog::DoDataExchange(framework::DataExchange& dx) {
    dx.Check(IDC_OPEN_SLIDES, presentationFlag);
    dx.Text(IDC_OPEN_LOCATION, location);
}

bool COpenSWFDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    CreateSoftKeyBar(IDR_OKCANCEL_MENUBAR);
    // The device then gives the focus to the first tab stop, the edit box.
    return true;
}

void COpenSWFDialog::OnOK() {
    UpdateData(true);
    Dialog::OnOK();
}

const framework::MessageTable& COpenSWFDialog::Messages() const {
    using T = framework::Table<COpenSWFDialog>;
    static const T table{Dialog::Messages(),
                         {T::Command(IDC_OPEN_BROWSE, &COpenSWFDialog::OnBrowse)}};
    return table;
}

void COpenSWFDialog::OnBrowse() {
    std::array<WCHAR, kFileNameLength> fileName{};
    OPENFILENAMEW request;
    request.hwndOwner = Handle();
    request.lpstrFilter = kFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = fileName.data();
    request.nMaxFile = kFileNameLength;
    request.lpstrTitle = u"Browse Flash Movies";
    request.lpstrDefExt = u"swf";
    request.Flags = OFN_OVERWRITEPROMPT;
    if (GetOpenFileNameW(&request) == FALSE) {
        return;
    }
    // Keep what the user set in the other controls.
    UpdateData(true);
    location = text::FromWide(fileName.data());
    UpdateData(false);
}

} // namespace player
