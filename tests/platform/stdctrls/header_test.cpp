// The column header on its own, where the list view does not show it: a parent refusing the drag
// of a divider, an item click told only when released over the item, the divider's double
// click; and a drag whose item is deleted under it.
#include "platform/stdctrls/headerwindow.h"
#include "platform/ui/queue.h"
#include "tests/platform/stdctrls/listboxtest.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class HeaderTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        TWndClass Class;
        if (!GetClassInfo("THeaderTestParent", Class)) {
            Class.ClassName = "THeaderTestParent";
            RegisterClass(Class);
        }
        Parent = CreateWindowEx(0, "THeaderTestParent", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100,
                                Form->Handle());
        SetWindowProc(Parent, [this](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
            if (Msg != WM_NOTIFY)
                return DefWindowProc(W, Msg, WP, LP);
            const auto& Note = *reinterpret_cast<const NMHEADER*>(LP);
            Codes.push_back(Note.hdr.code);
            Items.push_back(Note.iItem);
            return Note.hdr.code == Refuse ? 1 : 0;
        });
        RegisterHeaderClass();
        Header = CreateWindowEx(0, HeaderClassName, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 0, 0,
                                300, 20, Parent);
        for (int Width : {80, 60}) {
            HDITEM Item;
            Item.mask = HDI_WIDTH | HDI_TEXT;
            Item.cxy = Width;
            Item.pszText = "Column";
            SendMessage(Header, HDM_INSERTITEM, 9, reinterpret_cast<LPARAM>(&Item));
        }
        Pump();
    }
    void TearDown() override
    {
        DestroyWindow(Parent);
        ListTest::TearDown();
    }

    int WidthOf(int Index)
    {
        HDITEM Item;
        Item.mask = HDI_WIDTH;
        SendMessage(Header, HDM_GETITEM, Index, reinterpret_cast<LPARAM>(&Item));
        return Item.cxy;
    }
    void Press(int X, bool Down)
    {
        InjectMouseButton(Header, 0, Down, X, 10);
        Pump();
    }
    void Move(int X, int Y = 10)
    {
        InjectMouseMove(Header, X, Y);
        Pump();
    }
    bool Told(UINT Code) const
    {
        return std::find(Codes.begin(), Codes.end(), Code) != Codes.end();
    }

    HWND Parent = 0;
    HWND Header = 0;
    std::vector<UINT> Codes;
    std::vector<int> Items;
    UINT Refuse = 0; // the notification answered with "no"
};

TEST_F(HeaderTest, ADividerDragSizesTheColumnUnlessTheParentRefusesIt)
{
    struct TCase {
        UINT Refuse;
        int Width;
        bool Ended;
    };
    const std::vector<TCase> Cases = {
        {0, 110, true},
        {HDN_BEGINTRACK, 80, false},
        {HDN_ITEMCHANGING, 80, true},
    };
    for (const TCase& Case : Cases) {
        HDITEM Reset;
        Reset.mask = HDI_WIDTH;
        Reset.cxy = 80;
        SendMessage(Header, HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&Reset));
        Codes.clear();
        Refuse = Case.Refuse;
        Time.Advance(2000); // no double click with the last case's press
        Press(80, true);
        Move(110);
        Press(110, false);
        EXPECT_EQ(WidthOf(0), Case.Width) << Case.Refuse;
        EXPECT_EQ(WidthOf(1), 60);
        EXPECT_EQ(Told(HDN_ENDTRACK), Case.Ended) << Case.Refuse;
        EXPECT_FALSE(Told(HDN_ITEMCLICK)) << "a drag is no click";
        EXPECT_EQ(GetCapture(), HWND(0));
    }
}

TEST_F(HeaderTest, AnItemClickIsToldOnlyWhenReleasedOverThePressedItem)
{
    struct TCase {
        const char* Name;
        int ReleaseX;
        int ReleaseY;
        bool Clicked;
    };
    const std::vector<TCase> Cases = {
        {"released in place", 40, 10, true},
        {"released over the next item", 110, 10, false},
        {"released below the header", 40, 50, false},
    };
    for (const TCase& Case : Cases) {
        Codes.clear();
        Items.clear();
        Time.Advance(2000);
        Press(40, true);
        Move(Case.ReleaseX, Case.ReleaseY);
        InjectMouseButton(Header, 0, false, Case.ReleaseX, Case.ReleaseY);
        Pump();
        EXPECT_EQ(Told(HDN_ITEMCLICK), Case.Clicked) << Case.Name;
        if (Case.Clicked) {
            EXPECT_EQ(Items.back(), 0) << Case.Name;
        }
        EXPECT_EQ(GetCapture(), HWND(0)) << Case.Name;
    }
}

TEST_F(HeaderTest, ADoubleClickOnADividerIsToldAndStartsNoDrag)
{
    for (bool Down : {true, false, true, false})
        Press(140, Down);
    EXPECT_TRUE(Told(HDN_DIVIDERDBLCLICK));
    EXPECT_EQ(
        Items[std::find(Codes.begin(), Codes.end(), UINT(HDN_DIVIDERDBLCLICK)) - Codes.begin()], 1);
    Move(170);
    EXPECT_EQ(WidthOf(1), 60) << "the double click holds no divider";
}

TEST_F(HeaderTest, DeletingTheItemUnderADragEndsTheDrag)
{
    Press(140, true);
    ASSERT_EQ(GetCapture(), Header);
    SendMessage(Header, HDM_DELETEITEM, 1, 0);
    EXPECT_EQ(GetCapture(), HWND(0));
    Move(170);
    Press(170, false);
    EXPECT_EQ(SendMessage(Header, HDM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(WidthOf(0), 80);
}

} // namespace
