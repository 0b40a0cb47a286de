// app/demoform_text.cpp: the demonstration form's page of text: an edit line, a password edit
// and a memo with scroll bars.
#include "app/demoform.h"

#include "platform/rtl/stringlist.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/memo.h"
#include "platform/stdctrls/panel.h"

#include <string>

void BuildTextPage(TDemoForm* Form, TPanel* Page)
{
    const struct {
        const char* Caption;
        int Top;
    } Captions[] = {{"&Name:", 16}, {"Pass&word:", 48}, {"&Read-only:", 80}};
    std::vector<TEdit*> Edits;
    for (const auto& Line : Captions) {
        auto* Label = new TLabel(Form);
        Label->SetParent(Page);
        Label->SetBounds(12, Line.Top + 4, 84, 17);
        Label->SetCaption(Line.Caption);
        auto* Edit = new TEdit(Form);
        Edit->SetParent(Page);
        Edit->SetBounds(100, Line.Top, 200, 24);
        Label->SetFocusControl(Edit);
        Edits.push_back(Edit);
    }
    Edits[0]->SetText("Ada Lovelace");
    Edits[1]->SetPasswordChar('*');
    Edits[1]->SetText("secret");
    Edits[1]->SetHint("Shows stars for what is typed");
    Edits[2]->SetReadOnly(true);
    Edits[2]->SetText("Cannot be changed");

    Form->Memo = new TMemo(Form);
    Form->Memo->SetParent(Page);
    Form->Memo->SetBounds(12, 116, 480, 148);
    Form->Memo->SetScrollBars(ssBoth);
    Form->Memo->SetWordWrap(false);
    Form->Memo->SetHint("A memo|Lines of text with both scroll bars");
    std::string Lines;
    for (int I = 1; I <= 40; ++I)
        Lines += "Line " + std::to_string(I) +
                 (I % 5 == 0 ? " of a memo long enough to need the "
                               "horizontal scroll bar as well\n"
                             : "\n");
    Form->Memo->Lines()->SetText(Lines);
}
