// CM_HINTSHOW and CM_HINTSHOWPAUSE: a control that hints per cell by its cursor rectangle,
// refuses hints, refreshes one with ReshowTimeout, or changes the pause.
#include "tests/platform/forms/hinttest.h"

#include <functional>

namespace {

// A row of cells 20 pixels wide that hints the cell under the mouse; cell 3 refuses.
class TCellRow : public TCustomControl {
public:
    explicit TCellRow(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::vector<THintInfo> Asked;
    int Reshow = 0;
    std::function<void(int& Pause, bool WasActive)> OnPause;

protected:
    void CMHintShow(TMessage& Message)
    {
        auto& Info = *reinterpret_cast<THintInfo*>(Message.LParam);
        Asked.push_back(Info);
        const int Cell = Info.CursorPos.X / 20;
        if (Cell == 3) {
            Message.Result = 1;
            return;
        }
        Info.HintStr = "Cell " + std::to_string(Cell) + " #" + std::to_string(Asked.size());
        Info.CursorRect = Rect(Cell * 20, 0, Cell * 20 + 20, Height());
        Info.ReshowTimeout = Reshow;
    }
    void CMHintShowPause(TMessage& Message)
    {
        if (OnPause)
            OnPause(*reinterpret_cast<int*>(Message.LParam), Message.WParam != 0);
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TCellRow::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCellRow::CMHintShow>(CM_HINTSHOW),
        OnMessage<&TCellRow::CMHintShowPause>(CM_HINTSHOWPAUSE),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

class HintShow : public Hints {
protected:
    HintShow()
    {
        Row = Place<TCellRow>(Form, 10, 100, 100, 20);
        Row->SetHint("row");
    }
    TCellRow* Row;
};

} // namespace

TEST_F(HintShow, TheControlIsAskedWithTheDefaultsFilledIn)
{
    App.SetHintHidePause(1234);
    App.SetHintColor(clAqua);
    MoveTo(35, 105); // (25, 5) in the row
    Spend(520);
    ASSERT_EQ(Row->Asked.size(), 1u);
    const THintInfo& Info = Row->Asked[0];
    EXPECT_EQ(Info.HintControl, Row);
    EXPECT_EQ(Info.HintWindowClass, HintWindowClass);
    EXPECT_EQ(Info.HintStr, "row");
    EXPECT_EQ(Info.CursorPos, Point(25, 5));
    EXPECT_EQ(Info.CursorRect, Rect(0, 0, 100, 20));
    EXPECT_EQ(Info.HintPos.X, GetCursorPos().X);
    EXPECT_GT(Info.HintPos.Y, GetCursorPos().Y);
    EXPECT_EQ(Info.HintMaxWidth, 1024);
    EXPECT_EQ(Info.HintColor, clAqua);
    EXPECT_EQ(Info.HideTimeout, 1234);
    EXPECT_EQ(Info.ReshowTimeout, 0);
    EXPECT_EQ(Info.HintData, nullptr);
}

TEST_F(HintShow, EachCellHasItsOwnHintThroughTheCursorRectangle)
{
    struct TStep {
        int X;            // in the row
        int Wait;         // milliseconds after the move
        const char* Hint; // shown then ("" none)
    };
    const std::vector<TStep> Steps = {
        {5, 520, "Cell 0 #1"},  {15, 520, "Cell 0 #1"}, // the same cell: not asked again
        {25, 20, "Cell 0 #1"},                          // another cell: the short pause first
        {25, 40, "Cell 1 #2"},  {65, 60, ""},           // cell 3 refuses
        {85, 520, "Cell 4 #4"},
    };
    for (const TStep& Step : Steps) {
        MoveTo(10 + Step.X, 105);
        Spend(Step.Wait);
        EXPECT_EQ(ShownHintText(), Step.Hint) << "at " << Step.X;
    }
    EXPECT_EQ(Row->Asked.size(), 4u);
}

TEST_F(HintShow, AReshowTimeoutAsksTheControlAgainWhileTheMouseRests)
{
    Row->Reshow = 100;
    MoveTo(15, 105);
    Spend(520);
    EXPECT_EQ(ShownHintText(), "Cell 0 #1");
    Spend(100);
    EXPECT_EQ(ShownHintText(), "Cell 0 #2");
    Spend(300);
    EXPECT_EQ(ShownHintText(), "Cell 0 #5");
    Row->Reshow = 0; // the next answer lets it hide as usual
    Spend(100);
    Spend(2500);
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(HintShow, AControlMayChangeThePauseBeforeItsHint)
{
    std::vector<bool> WasActive;
    Row->OnPause = [&](int& Pause, bool Active) {
        WasActive.push_back(Active);
        Pause = 2000;
    };
    MoveTo(15, 105);
    Spend(1900);
    EXPECT_EQ(ShownHint(), nullptr);
    Spend(120);
    EXPECT_EQ(ShownHintText(), "Cell 0 #1");
    Row->OnPause = [&](int& Pause, bool Active) {
        WasActive.push_back(Active);
        Pause = 0; // at once
    };
    MoveTo(35, 105);
    EXPECT_EQ(ShownHintText(), "Cell 1 #2");
    EXPECT_EQ(WasActive, (std::vector<bool>{false, true}));
}

TEST_F(HintShow, AnotherHintWindowClassCanBeAskedForPerHint)
{
    struct TOwnHint : THintWindow {
        using THintWindow::THintWindow;
    };
    Row->OnPause = nullptr;
    bool Custom = true;
    App.OnShowHint = [&](std::string&, bool&, THintInfo& Info) {
        if (Custom)
            Info.HintWindowClass = &CreateHintWindow<TOwnHint>;
    };
    MoveTo(15, 105);
    Spend(520);
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_NE(dynamic_cast<TOwnHint*>(ShownHint()), nullptr);
    Custom = false;
    MoveTo(35, 105);
    Spend(60);
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(dynamic_cast<TOwnHint*>(ShownHint()), nullptr);
}
