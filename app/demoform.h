// app/demoform.h: the form the program shows while it has no main window of its own. At the top
// a button that counts its clicks (mouse, or Enter as the form's default button) and an edit
// line; below, a row of grouped speed buttons switches between pages that show every standard
// control: buttons and checks, text, lists, pictures and shapes. A menu bar, a pop-up menu and
// hints complete it.
#pragma once

#include "platform/forms/form.h"

#include <string>
#include <vector>

class TLabel;
class TButton;
class TEdit;
class TMemo;
class TPanel;
class TSpeedButton;
class TListBox;
class TComboBox;
class TMainMenu;
class TPopupMenu;
class TMenuItem;

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner);

    int Clicks() const { return FClicks; }

    // The page switcher's buttons and the pages they show, in the same order.
    enum TPage { pgButtons, pgText, pgLists, pgPictures, PageCount };
    void ShowPage(TPage Page);
    TPage ActivePage() const { return FActivePage; }

    TLabel* Intro = nullptr;
    TButton* Button = nullptr;
    TLabel* Prompt = nullptr;
    TEdit* Edit = nullptr;

    std::vector<TSpeedButton*> PageButtons;
    std::vector<TPanel*> Pages;

    TMemo* Memo = nullptr;
    TListBox* List = nullptr;
    std::vector<TComboBox*> Combos; // one per style, in the order of TComboBoxStyle

    TMainMenu* MainMenu = nullptr;
    TMenuItem* ExitItem = nullptr;
    TMenuItem* AboutItem = nullptr;
    TPopupMenu* Popup = nullptr;
    TLabel* PopupNote = nullptr; // says which pop-up item was picked last

private:
    void ButtonClick(TObject* Sender);
    void BuildMenus();
    void BuildPageSwitcher();
    TPanel* NewPage();

    int FClicks = 0;
    TPage FActivePage = pgButtons;
};

// One builder per page (app/demoform_pages.cpp, app/demoform_lists.cpp); each fills its page.
void BuildButtonsPage(TDemoForm* Form, TPanel* Page);
void BuildTextPage(TDemoForm* Form, TPanel* Page);
void BuildListsPage(TDemoForm* Form, TPanel* Page);
void BuildPicturesPage(TDemoForm* Form, TPanel* Page);
