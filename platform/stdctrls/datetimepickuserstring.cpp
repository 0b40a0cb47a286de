// The date-time picker's free text (DTS_APPCANPARSE): F2 lets the user type the whole text,
// which the parent parses when it is done (DTN_USERSTRING); Escape leaves the value as it was.
#include "platform/stdctrls/datetimepickstate.h"

#include "platform/ui/input.h"

void TDateTimePickWindow::StartUserString()
{
    if (Parsing || (Style() & DTS_APPCANPARSE) == 0)
        return;
    Edited(Fields.Commit());
    Parsing = true;
    UserFresh = true; // the first character typed replaces the text shown
    UserText = WholeText();
    Changed();
}

void TDateTimePickWindow::EndUserString(bool Accept)
{
    if (!Parsing)
        return;
    Parsing = false;
    Changed();
    if (!Accept)
        return;
    NMDATETIMESTRING Parse;
    const std::string Text = UserText;
    Parse.pszUserString = Text.c_str();
    Parse.st = Fields.Value();
    Parse.dwFlags = None ? GDT_NONE : GDT_VALID;
    SendNotify(Wnd, DTN_USERSTRING, Parse.nmhdr);
    if (!IsWindow(Wnd))
        return;
    if (Parse.dwFlags == GDT_NONE && ShowNone()) {
        SetChecked(false);
    } else if (Parse.dwFlags == GDT_VALID) {
        const bool WasNone = None;
        None = false;
        if (Fields.SetValue(Parse.st) || WasNone)
            NotifyChange();
    }
    Changed();
}

bool TDateTimePickWindow::UserStringKey(WPARAM Key)
{
    switch (Key) {
    case VK_RETURN:
        EndUserString(true);
        return true;
    case VK_ESCAPE:
        EndUserString(false);
        return true;
    case VK_BACK:
        if (UserFresh)
            UserText.clear();
        UserFresh = false;
        // Whole UTF-8 characters go.
        while (!UserText.empty()) {
            const auto Last = static_cast<unsigned char>(UserText.back());
            UserText.pop_back();
            if (Last < 0x80 || Last >= 0xC0)
                break;
        }
        Changed();
        return true;
    default:
        return false;
    }
}

void TDateTimePickWindow::UserStringChar(unsigned char C)
{
    if (C < 0x20 || C == 0x7F)
        return;
    if (UserFresh)
        UserText.clear();
    UserFresh = false;
    UserText += static_cast<char>(C);
    Changed();
}
