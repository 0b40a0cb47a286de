// app/demoform.cpp: the demonstration form's frame: the click counter and the edit line at the
// top, the page switcher, the menus and the hints. The pages are built in their own files.
#include "app/demoform.h"

#include "platform/forms/menus.h"
#include "platform/gfx/color.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/panel.h"
#include "platform/stdctrls/speedbutton.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/input.h"

#include <string>

namespace {

std::string ClickCaption(int Clicks)
{
    if (Clicks == 0)
        return "Click me";
    if (Clicks == 1)
        return "Clicked once";
    return "Clicked " + std::to_string(Clicks) + " times";
}

TMenuItem* NewItem(TComponent* Owner, const std::string& Caption, TShortCut Key = scNone)
{
    auto* Item = new TMenuItem(Owner);
    Item->SetCaption(Caption);
    Item->SetShortCut(Key);
    return Item;
}

constexpr int PageTop = 112;

// A caption as read, without its accelerator marks.
std::string Plain(const std::string& Caption)
{
    std::string Result;
    for (std::size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && ++I == Caption.size())
            break;
        Result += Caption[I]; // after "&", the marked letter or a literal "&"
    }
    return Result;
}

} // namespace

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Tarnwick");
    SetPosition(poScreenCenter);
    Font()->SetName("Arial");
    Font()->SetSize(10);
    SetClientWidth(520);
    SetClientHeight(PageTop + 288);
    SetShowHint(true);

    Intro = new TLabel(this);
    Intro->SetParent(this);
    Intro->SetBounds(16, 10, 488, 18);
    Intro->SetCaption("A demonstration window: the spam filter is not here yet.");
    Intro->Font()->SetColor(clNavy);

    Button = new TButton(this);
    Button->SetParent(this);
    Button->SetBounds(16, 36, 150, 32);
    Button->SetCaption(ClickCaption(0));
    Button->SetDefault(true);
    Button->SetHint("Counts its clicks; Enter clicks it too");
    Button->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };

    Prompt = new TLabel(this);
    Prompt->SetParent(this);
    Prompt->SetBounds(184, 32, 320, 17);
    Prompt->SetCaption("&Type here; Ctrl+C copies the selection:");

    Edit = new TEdit(this);
    Edit->SetParent(this);
    Edit->SetBounds(184, 50, 320, 24);
    Edit->SetAnchors(TAnchors{akLeft, akTop, akRight});
    Edit->SetHint("An edit line|Type, select, copy and paste");
    Prompt->SetFocusControl(Edit);

    BuildMenus();
    BuildPageSwitcher();
    BuildButtonsPage(this, Pages[pgButtons]);
    BuildTextPage(this, Pages[pgText]);
    BuildListsPage(this, Pages[pgLists]);
    BuildPicturesPage(this, Pages[pgPictures]);
    ShowPage(pgButtons);

    SetActiveControl(Edit);
}

void TDemoForm::BuildMenus()
{
    MainMenu = new TMainMenu(this);
    TMenuItem* File = NewItem(this, "&File");
    ExitItem = NewItem(this, "E&xit", ShortCut('Q', TShiftState{ssCtrl}));
    ExitItem->OnClick = [this](TObject*) { Close(); };
    File->Add(ExitItem);
    TMenuItem* Help = NewItem(this, "&Help");
    AboutItem = NewItem(this, "&About...");
    AboutItem->OnClick = [](TObject*) {
        ShowMessage("Tarnwick, a POP3 spam filter.\nThis window shows its standard controls.");
    };
    Help->Add(AboutItem);
    MainMenu->Items()->Add(File);
    MainMenu->Items()->Add(Help);
    SetMenu(MainMenu);

    Popup = new TPopupMenu(this);
    const char* const Greetings[] = {"Say &hello", "Say &goodbye"};
    for (const char* Greeting : Greetings) {
        TMenuItem* Item = NewItem(this, Greeting);
        Item->OnClick = [this, Item](TObject*) {
            PopupNote->SetCaption("Picked: " + Plain(Item->Caption()));
        };
        Popup->Items()->Add(Item);
    }
    TMenuItem* Check = NewItem(this, "&Checked item");
    Check->SetChecked(true);
    Check->OnClick = [Check](TObject*) { Check->SetChecked(!Check->Checked()); };
    Popup->Items()->Add(NewItem(this, "-"));
    Popup->Items()->Add(Check);
    SetPopupMenu(Popup);
}

// The speed buttons of one group act as the tabs of the page control that is still to come.
void TDemoForm::BuildPageSwitcher()
{
    const char* const Captions[PageCount] = {"&Buttons", "Te&xt", "&Lists", "&Pictures"};
    for (int I = 0; I < PageCount; ++I) {
        auto* Tab = new TSpeedButton(this);
        Tab->SetParent(this);
        Tab->SetBounds(8 + I * 104, 84, 104, 26);
        Tab->SetGroupIndex(1);
        Tab->SetCaption(Captions[I]);
        Tab->SetHint(std::string("Shows the page ") + Plain(Captions[I]));
        Tab->OnClick = [this, I](TObject*) { ShowPage(static_cast<TPage>(I)); };
        PageButtons.push_back(Tab);
        Pages.push_back(NewPage());
    }

    PopupNote = new TLabel(this);
    PopupNote->SetParent(this);
    PopupNote->SetBounds(428, 90, 84, 17);
    PopupNote->SetAlignment(taRightJustify);
    PopupNote->SetHint("Right-click the form for its pop-up menu");
}

TPanel* TDemoForm::NewPage()
{
    auto* Page = new TPanel(this);
    Page->SetParent(this);
    Page->SetBounds(8, PageTop, ClientWidth() - 16, ClientHeight() - PageTop - 8);
    Page->SetBevelOuter(bvRaised);
    Page->SetVisible(false);
    return Page;
}

void TDemoForm::ShowPage(TPage Page)
{
    FActivePage = Page;
    PageButtons[Page]->SetDown(true);
    for (int I = 0; I < PageCount; ++I)
        Pages[I]->SetVisible(I == Page);
}

void TDemoForm::ButtonClick(TObject*)
{
    ++FClicks;
    Button->SetCaption(ClickCaption(FClicks));
}
