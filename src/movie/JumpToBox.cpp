#include "movie/JumpToBox.h"

#include "resources/resource.h"

namespace player {

CJumpToBox::CJumpToBox() : Dialog(IDD_JUMPTO) {}

void CJumpToBox::DoDataExchange(framework::DataExchange& dx) {
    dx.Integer(IDC_JUMP_LENGTH, lengthFrames);
    dx.Integer(IDC_JUMP_FRAME, currentFrame);
    dx.Text(IDC_JUMP_ENTRY, entryText);
}

bool CJumpToBox::OnInitDialog() {
    Dialog::OnInitDialog();
    CreateSoftKeyBar(IDR_OKCANCEL_MENUBAR);
    UpdateData(false);
    // The device gives the focus to the edit box, its text selected, so that
    // what the user types replaces the frame number.
    return true;
}

} // namespace player
