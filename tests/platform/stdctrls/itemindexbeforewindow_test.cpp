// A list or combo box without its window: items and ItemIndex given on a form whose window is not
// made yet are all there (the window is made for them), and an ItemIndex given to a box taken off
// its parent is kept and selected once its window is made again.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/listbox.h"

#include <functional>
#include <memory>

namespace {

// One box, list or combo, through the calls both have.
struct TBoxCase {
    const char* Name;
    std::function<TWinControl*(TComponent*)> Make;
    std::function<TStrings*(TWinControl*)> Items;
    std::function<int(TWinControl*)> Index;
    std::function<void(TWinControl*, int)> SetIndex;
};

const std::vector<TBoxCase>& Boxes()
{
    static const std::vector<TBoxCase> Cases = {
        {"list box", [](TComponent* O) -> TWinControl* { return new TListBox(O); },
         [](TWinControl* C) { return static_cast<TListBox*>(C)->Items(); },
         [](TWinControl* C) { return static_cast<TListBox*>(C)->ItemIndex(); },
         [](TWinControl* C, int I) { static_cast<TListBox*>(C)->SetItemIndex(I); }},
        {"combo box", [](TComponent* O) -> TWinControl* { return new TComboBox(O); },
         [](TWinControl* C) { return static_cast<TComboBox*>(C)->Items(); },
         [](TWinControl* C) { return static_cast<TComboBox*>(C)->ItemIndex(); },
         [](TWinControl* C, int I) { static_cast<TComboBox*>(C)->SetItemIndex(I); }},
    };
    return Cases;
}

void AddItems(TStrings* Items)
{
    for (const char* Item : {"zero", "one", "two", "three"})
        Items->Add(Item);
}

} // namespace

TEST_F(ListTest, ItemsAndIndexGivenBeforeTheFormsWindowAreKept)
{
    for (const TBoxCase& Case : Boxes()) {
        SCOPED_TRACE(Case.Name);
        TForm Other(nullptr);
        TWinControl* Box = Case.Make(&Other);
        Box->SetParent(&Other);
        ASSERT_FALSE(Other.HandleAllocated());
        AddItems(Case.Items(Box));
        Case.SetIndex(Box, 2);
        EXPECT_EQ(Case.Items(Box)->Count(), 4);
        EXPECT_EQ(Case.Index(Box), 2);
        Other.SetBounds(10, 10, 200, 150);
        Other.Show();
        Pump();
        EXPECT_EQ(Case.Items(Box)->Strings(2), "two");
        EXPECT_EQ(Case.Index(Box), 2);
    }
}

TEST_F(ListTest, AnIndexGivenWhileTheBoxHasNoParentIsSelectedWhenItsWindowIsMadeAgain)
{
    for (const TBoxCase& Case : Boxes()) {
        SCOPED_TRACE(Case.Name);
        TWinControl* Box = Case.Make(Form);
        Box->SetParent(Form);
        AddItems(Case.Items(Box));
        Case.SetIndex(Box, 3);
        Box->SetParent(nullptr);
        EXPECT_FALSE(Box->HandleAllocated());
        Case.SetIndex(Box, 1);
        EXPECT_EQ(Case.Index(Box), 1);
        Box->SetParent(Form);
        ASSERT_TRUE(Box->HandleAllocated());
        EXPECT_EQ(Case.Items(Box)->Count(), 4);
        EXPECT_EQ(Case.Index(Box), 1);
        delete Box;
    }
}
