// The mouse wheel reaching the focused control and going up its parents until one handles it,
// and the context popup asked for by a right-button release, Shift+F10 or the menu key.
#include "tests/platform/forms/formstest.h"

#include <gtest/gtest.h>

namespace {

// A form holding a holder holding the focused target and a control without a window.
struct TNestedForm {
    explicit TNestedForm(TApplication* App) : Form(new TForm(App))
    {
        Form->SetBounds(100, 100, 300, 200);
        Holder = Place<TTestBox>(Form, 20, 30, 200, 120);
        Target = Place<TTestBox>(Holder, 10, 10, 80, 40);
        Shape = Place<TTestShape>(Holder, 100, 60, 40, 30);
        Target->SetTabStop(true);
        Form->Show();
        Target->SetFocus();
        Pump();
    }
    std::vector<std::pair<std::string, TControl*>> Chain() const
    {
        return {{"target", Target}, {"shape", Shape}, {"holder", Holder}, {"form", Form}};
    }
    TForm* Form;
    TTestBox* Holder;
    TTestBox* Target;
    TTestShape* Shape;
};

} // namespace

TEST(MouseWheel, TheFocusedControlThenItsParentsUntilOneHandlesIt)
{
    struct TCase {
        const char* Name;
        std::vector<int> Deltas;
        std::string HandledBy; // "name event": the handler that answers Handled
        std::vector<std::string> Log;
    };
    const std::vector<TCase> Cases = {
        {"OnMouseWheel takes it", {-120}, "target wheel", {"target wheel -120"}},
        {"a notch down", {-120}, "target down", {"target wheel -120", "target down"}},
        {"a notch up", {120}, "target up", {"target wheel 120", "target up"}},
        {"two notches at once",
         {-240},
         "target down",
         {"target wheel -240", "target down", "target down"}},
        {"half notches add up",
         {60, 60},
         "target up",
         {"target wheel 60", "holder wheel 60", "form wheel 60", "target wheel 60", "target up"}},
        {"unhandled goes up",
         {-120},
         "holder down",
         {"target wheel -120", "target down", "holder wheel -120", "holder down"}},
        {"nobody handles it",
         {120},
         "",
         {"target wheel 120", "target up", "holder wheel 120", "holder up", "form wheel 120",
          "form up"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTestApplication App;
        TNestedForm F(&App);
        std::vector<std::string> Log;
        std::vector<TPoint> Positions;
        for (const auto& [Name, Control] : F.Chain()) {
            const std::string Who = Name;
            const bool Wheel = Case.HandledBy == Who + " wheel";
            const bool Down = Case.HandledBy == Who + " down";
            const bool Up = Case.HandledBy == Who + " up";
            Control->OnMouseWheel = [&Log, &Positions, Who, Wheel](TObject*, TShiftState, int Delta,
                                                                   TPoint MousePos, bool& Handled) {
                Log.push_back(Who + " wheel " + std::to_string(Delta));
                Positions.push_back(MousePos);
                Handled = Wheel;
            };
            Control->OnMouseWheelDown = [&Log, Who, Down](TObject*, TShiftState, TPoint,
                                                          bool& Handled) {
                Log.push_back(Who + " down");
                Handled = Down;
            };
            Control->OnMouseWheelUp = [&Log, Who, Up](TObject*, TShiftState, TPoint,
                                                      bool& Handled) {
                Log.push_back(Who + " up");
                Handled = Up;
            };
        }
        // The mouse over the holder, not the target: the wheel still goes to the focus.
        for (int Delta : Case.Deltas)
            InjectMouseWheel(F.Holder->Handle(), Delta, 150, 20);
        Pump();
        EXPECT_EQ(Log, Case.Log);
        TPoint OnScreen{150, 20};
        ClientToScreen(F.Holder->Handle(), OnScreen);
        for (const TPoint& P : Positions)
            EXPECT_EQ(P, OnScreen);
    }
}

TEST(MouseWheel, TheWheelCarriesTheShiftStateOfTheKeys)
{
    TTestApplication App;
    TNestedForm F(&App);
    TShiftState Seen;
    F.Target->OnMouseWheel = [&](TObject*, TShiftState Shift, int, TPoint, bool& Handled) {
        Seen = Shift;
        Handled = true;
    };
    InjectKeyDown(VK_CONTROL);
    InjectMouseWheel(F.Target->Handle(), WHEEL_DELTA, 5, 5);
    InjectKeyUp(VK_CONTROL);
    Pump();
    EXPECT_TRUE(Seen.Contains(ssCtrl));
    EXPECT_FALSE(Seen.Contains(ssShift));
}

TEST(ContextPopup, AskedForByTheMouseOrTheKeyboardGoesUpUntilHandled)
{
    struct TCase {
        const char* Name;
        std::function<void(TNestedForm&)> Ask;
        std::string HandledBy;
        std::vector<std::string> Log;
    };
    auto RightClick = [](HWND Wnd, int X, int Y) {
        InjectMouseButton(Wnd, 1, true, X, Y);
        InjectMouseButton(Wnd, 1, false, X, Y);
    };
    const std::vector<TCase> Cases = {
        {"right click on the target",
         [&](TNestedForm& F) { RightClick(F.Target->Handle(), 7, 9); },
         "target",
         {"target 7,9"}},
        {"right click on the target, unhandled",
         [&](TNestedForm& F) { RightClick(F.Target->Handle(), 7, 9); },
         "form",
         {"target 7,9", "holder 17,19", "form 37,49"}},
        {"right click on a control without a window",
         [&](TNestedForm& F) { RightClick(F.Holder->Handle(), 105, 70); },
         "",
         {"shape 5,10", "holder 105,70", "form 125,100"}},
        {"right click on the holder",
         [&](TNestedForm& F) { RightClick(F.Holder->Handle(), 150, 20); },
         "holder",
         {"holder 150,20"}},
        {"Shift+F10",
         [](TNestedForm&) {
             InjectKeyDown(VK_SHIFT);
             InjectKeyPress(VK_F10);
             InjectKeyUp(VK_SHIFT);
         },
         "",
         {"target -1,-1", "holder -1,-1", "form -1,-1"}},
        {"the menu key",
         [](TNestedForm&) { InjectKeyPress(VK_APPS); },
         "holder",
         {"target -1,-1", "holder -1,-1"}},
        {"F10 alone is no popup", [](TNestedForm&) { InjectKeyPress(VK_F10); }, "", {}},
        {"Ctrl+menu key is no popup",
         [](TNestedForm&) {
             InjectKeyDown(VK_CONTROL);
             InjectKeyPress(VK_APPS);
             InjectKeyUp(VK_CONTROL);
         },
         "",
         {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTestApplication App;
        TNestedForm F(&App);
        std::vector<std::string> Log;
        for (const auto& [Name, Control] : F.Chain()) {
            const std::string Who = Name;
            const bool Takes = Case.HandledBy == Who;
            Control->OnContextPopup = [&Log, Who, Takes](TObject* Sender, TPoint MousePos,
                                                         bool& Handled) {
                EXPECT_NE(Sender, nullptr);
                Log.push_back(Who + " " + std::to_string(MousePos.X) + "," +
                              std::to_string(MousePos.Y));
                Handled = Takes;
            };
        }
        Case.Ask(F);
        Pump();
        EXPECT_EQ(Log, Case.Log);
    }
}

TEST(ContextPopup, AKeyHandlerThatTakesTheMenuKeyKeepsThePopupAway)
{
    TTestApplication App;
    TNestedForm F(&App);
    int Popups = 0;
    F.Target->OnContextPopup = [&](TObject*, TPoint, bool& Handled) {
        ++Popups;
        Handled = true;
    };
    F.Target->OnKeyDown = [](TObject*, Word& Key, TShiftState) { Key = 0; };
    InjectKeyPress(VK_APPS);
    Pump();
    EXPECT_EQ(Popups, 0);
}
