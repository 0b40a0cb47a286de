// The drag of controls inside the program: started by a press (DragMode), at once or after the
// threshold (BeginDrag), across forms onto windowed and graphic controls that accept or refuse,
// dropped, or cancelled by Escape, with the events in their order and the pointer's shapes.
#include "tests/platform/forms/formstest.h"

#include "platform/ui/headless/headlessdriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Shown()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver()).Pointer();
}

const char* StateName(TDragState State)
{
    switch (State) {
    case dsDragEnter:
        return "enter";
    case dsDragLeave:
        return "leave";
    case dsDragMove:
        return "move";
    }
    return "?";
}

// Two forms side by side: the source on the first; on the second a windowed box that accepts
// and a graphic shape that refuses. Every drag event is logged.
struct TDragForms {
    TTestApplication App;
    TForm* Left = nullptr;
    TForm* Right = nullptr;
    TTestBox* Source = nullptr;  // on Left at 10,10 .. 90,40
    TTestBox* Box = nullptr;     // on Right at 10,10 .. 110,70, accepts
    TTestShape* Shape = nullptr; // on Right at 150,10 .. 210,70, refuses
    std::vector<std::string> Log;

    TDragForms()
    {
        Left = new TForm(&App);
        Left->SetBounds(20, 50, 320, 200);
        Right = new TForm(&App);
        Right->SetBounds(450, 50, 320, 200);
        Source = Place<TTestBox>(Left, 10, 10, 80, 30);
        Source->SetName("Source");
        Box = Place<TTestBox>(Right, 10, 10, 100, 60);
        Box->SetName("Box");
        Shape = Place<TTestShape>(Right, 150, 10, 60, 60);
        Shape->SetName("Shape");
        for (TControl* Target : {static_cast<TControl*>(Box), static_cast<TControl*>(Shape)}) {
            const bool Accepts = Target == Box;
            Target->OnDragOver = [this, Accepts](TObject* Sender, TObject* From, int X, int Y,
                                                 TDragState State, bool& Accept) {
                Log.push_back("over " + NameOf(Sender) + " " + StateName(State) + " " +
                              std::to_string(X) + "," + std::to_string(Y) + " from " +
                              NameOf(From));
                Accept = Accepts;
            };
            Target->OnDragDrop = [this](TObject* Sender, TObject* From, int X, int Y) {
                Log.push_back("drop " + NameOf(Sender) + " " + std::to_string(X) + "," +
                              std::to_string(Y) + " from " + NameOf(From));
            };
        }
        Source->OnEndDrag = [this](TObject* Sender, TObject* Target, int X, int Y) {
            Log.push_back("end " + NameOf(Sender) + " on " + NameOf(Target) + " " +
                          std::to_string(X) + "," + std::to_string(Y) +
                          (Source->Dragging() ? " dragging" : ""));
        };
        Left->Show();
        Right->Show();
        Pump();
    }

    static std::string NameOf(TObject* Object)
    {
        if (auto* Component = dynamic_cast<TComponent*>(Object))
            return Component->Name();
        return Object == nullptr ? "nil" : "object";
    }
    void Step() { Pump(); }
    // Points in the client area of the form's window.
    void MoveOver(TForm* Form, int X, int Y)
    {
        InjectMouseMove(Form->Handle(), X, Y);
        Step();
    }
    void Press(TForm* Form, int X, int Y)
    {
        InjectMouseMove(Form->Handle(), X, Y);
        InjectMouseButton(Form->Handle(), 0, true, X, Y);
        Step();
    }
    void Release(TForm* Form, int X, int Y)
    {
        InjectMouseButton(Form->Handle(), 0, false, X, Y);
        Step();
    }
};

enum TStart { AutomaticPress, ImmediateFromMouseDown, ThresholdFromMouseDown };
enum TFinish { ReleaseOverBox, ReleaseOverShape, PressEscapeOverBox };

} // namespace

TEST(Drag, AControlDraggedToAnotherFormHearsTheDragAndTheSourceItsEnd)
{
    struct TCase {
        const char* Name;
        TStart Start;
        TFinish Finish;
        std::vector<std::string> Log;
        std::vector<int> Pointers; // over the shape, over the box, at the end
    };
    const std::vector<TCase> Cases = {
        {"automatic drag dropped on the box",
         AutomaticPress,
         ReleaseOverBox,
         {"over Shape enter 10,10 from Source", "over Shape move 15,15 from Source",
          "over Shape leave -135,5 from Source", "over Box enter 5,5 from Source",
          "over Box leave 5,5 from Source", "drop Box 5,5 from Source", "end Source on Box 5,5"},
         {crNoDrop, crDrag, crArrow}},
        {"BeginDrag at once, dropped on the box",
         ImmediateFromMouseDown,
         ReleaseOverBox,
         {"over Shape enter 10,10 from Source", "over Shape move 15,15 from Source",
          "over Shape leave -135,5 from Source", "over Box enter 5,5 from Source",
          "over Box leave 5,5 from Source", "drop Box 5,5 from Source", "end Source on Box 5,5"},
         {crNoDrop, crDrag, crArrow}},
        {"after the threshold, dropped on the shape that refuses",
         ThresholdFromMouseDown,
         ReleaseOverShape,
         {"over Shape enter 10,10 from Source", "over Shape move 15,15 from Source",
          "over Shape leave -135,5 from Source", "over Box enter 5,5 from Source",
          "over Box leave 160,20 from Source", "over Shape enter 20,20 from Source",
          "over Shape leave 20,20 from Source", "end Source on nil 0,0"},
         {crNoDrop, crDrag, crArrow}},
        {"Escape over the box cancels",
         AutomaticPress,
         PressEscapeOverBox,
         {"over Shape enter 10,10 from Source", "over Shape move 15,15 from Source",
          "over Shape leave -135,5 from Source", "over Box enter 5,5 from Source",
          "over Box leave 5,5 from Source", "end Source on nil 0,0"},
         {crNoDrop, crDrag, crArrow}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TDragForms F;
        if (Case.Start == AutomaticPress)
            F.Source->SetDragMode(dmAutomatic);
        else
            F.Source->OnMouseDown = [&F, &Case](TObject*, TMouseButton, TShiftState, int, int) {
                F.Source->BeginDrag(Case.Start == ImmediateFromMouseDown);
            };
        F.Press(F.Left, 20, 20);
        EXPECT_EQ(F.Source->Dragging(), true);
        EXPECT_EQ(DragControl(), F.Source);
        if (Case.Start == ThresholdFromMouseDown) {
            F.MoveOver(F.Left, 23, 23); // less than the threshold: no drag yet
            EXPECT_TRUE(F.Log.empty());
        }
        std::vector<int> Pointers;
        F.MoveOver(F.Right, 160, 20);
        F.MoveOver(F.Right, 165, 25);
        Pointers.push_back(Shown());
        F.MoveOver(F.Right, 15, 15);
        Pointers.push_back(Shown());
        switch (Case.Finish) {
        case ReleaseOverBox:
            F.Release(F.Right, 15, 15);
            break;
        case ReleaseOverShape:
            F.MoveOver(F.Right, 170, 30);
            F.Release(F.Right, 170, 30);
            break;
        case PressEscapeOverBox:
            InjectKeyPress(VK_ESCAPE);
            F.Step();
            break;
        }
        EXPECT_EQ(F.Log, Case.Log);
        Pointers.push_back(Shown()); // the window's own again
        EXPECT_EQ(Pointers, Case.Pointers);
        EXPECT_FALSE(F.Source->Dragging());
        EXPECT_EQ(GetCapture(), HWND(0));
    }
}

TEST(Drag, AReleaseBeforeTheThresholdEndsTheDragWithoutATarget)
{
    TDragForms F;
    F.Source->OnMouseDown = [&F](TObject*, TMouseButton, TShiftState, int, int) {
        F.Source->BeginDrag(false, 10);
    };
    F.Press(F.Left, 20, 20);
    F.MoveOver(F.Left, 29, 29);
    F.Release(F.Left, 29, 29);
    EXPECT_EQ(F.Log, std::vector<std::string>{"end Source on nil 0,0"});
    EXPECT_EQ(GetCapture(), HWND(0));
}

TEST(Drag, EndDragAndCancelDragEndTheDragFromCode)
{
    struct TCase {
        const char* Name;
        std::function<void(TDragForms&)> End;
        std::string Last;
    };
    const std::vector<TCase> Cases = {
        {"EndDrag(true) drops where the pointer is", [](TDragForms& F) { F.Source->EndDrag(true); },
         "end Source on Box 5,5"},
        {"EndDrag(false) cancels", [](TDragForms& F) { F.Source->EndDrag(false); },
         "end Source on nil 0,0"},
        {"CancelDrag cancels", [](TDragForms&) { CancelDrag(); }, "end Source on nil 0,0"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TDragForms F;
        F.Source->SetDragMode(dmAutomatic);
        F.Press(F.Left, 20, 20);
        F.MoveOver(F.Right, 15, 15);
        Case.End(F);
        ASSERT_FALSE(F.Log.empty());
        EXPECT_EQ(F.Log.back(), Case.Last);
        EXPECT_EQ(DragControl(), nullptr);
        EXPECT_EQ(GetCapture(), HWND(0));
    }
}

TEST(Drag, ADragObjectFromOnStartDragChoosesThePointerAndHearsTheEnd)
{
    struct TOwnObject : TDragObject {
        TCursor GetDragCursor(bool Accepted, int, int) override
        {
            return Accepted ? crHandPoint : crNo;
        }
        void Finished(TObject* Target, int X, int Y, bool Accepted) override
        {
            Ended = TDragForms::NameOf(Target) + " " + std::to_string(X) + "," + std::to_string(Y) +
                    (Accepted ? " accepted" : "");
        }
        std::string Ended;
    } Own;
    TDragForms F;
    F.Source->SetDragMode(dmAutomatic);
    F.Source->OnStartDrag = [&Own](TObject*, TDragObject*& DragObject) { DragObject = &Own; };
    F.Press(F.Left, 20, 20);
    F.MoveOver(F.Right, 160, 20);
    EXPECT_EQ(Shown(), crNo);
    F.MoveOver(F.Right, 15, 16);
    EXPECT_EQ(Shown(), crHandPoint);
    F.Release(F.Right, 15, 16);
    EXPECT_EQ(Own.Ended, "Box 5,6 accepted");
    // The drag object is the source the target sees.
    EXPECT_EQ(F.Log[F.Log.size() - 1], "drop Box 5,6 from object");
}

TEST(Drag, ATargetFreedDuringTheDragIsForgotten)
{
    TDragForms F;
    F.Source->SetDragMode(dmAutomatic);
    F.Press(F.Left, 20, 20);
    F.MoveOver(F.Right, 15, 15);
    delete F.Box;
    F.Box = nullptr;
    F.Release(F.Right, 15, 15);
    EXPECT_EQ(F.Log.back(), "end Source on nil 0,0");
    EXPECT_EQ(GetCapture(), HWND(0));
}

TEST(Drag, AFailingDragOverEndsTheDragAndReachesTheApplication)
{
    TDragForms F;
    std::string Failure;
    F.App.OnException = [&Failure](TObject*, const Exception& E) { Failure = E.Message(); };
    F.Box->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {
        throw Exception("the target failed");
    };
    F.Source->SetDragMode(dmAutomatic);
    F.Press(F.Left, 20, 20);
    F.MoveOver(F.Right, 15, 15);
    EXPECT_EQ(Failure, "the target failed");
    EXPECT_FALSE(F.Source->Dragging());
    EXPECT_EQ(GetCapture(), HWND(0));
}
