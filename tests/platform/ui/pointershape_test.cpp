#include "tests/platform/ui/uitest.h"

#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

THeadlessDriver& Headless()
{
    return dynamic_cast<THeadlessDriver&>(DisplayDriver());
}

// A window class with its own cursor over the client area.
void RegisterCursorClass(const std::string& Name, TCursor Cursor)
{
    TWndClass Class;
    if (GetClassInfo(Name, Class))
        return;
    Class.ClassName = Name;
    Class.Cursor = Cursor;
    RegisterClass(Class);
}

// A child window at Bounds (the form's client coordinates) that answers WM_NCHITTEST with
// HitCode, or leaves the hit test to DefWindowProc when it is HTNOWHERE.
std::unique_ptr<TRecordingWindow> Child(HWND Parent, const std::string& ClassName,
                                        const TRect& Bounds, int HitCode = HTNOWHERE)
{
    auto Window = std::make_unique<TRecordingWindow>(WS_CHILD | WS_VISIBLE, Parent, ClassName, "",
                                                     0, 0, Bounds);
    if (HitCode != HTNOWHERE)
        Window->OnMessage = [HitCode](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
            return Msg == WM_NCHITTEST ? static_cast<LRESULT>(HitCode)
                                       : DefWindowProc(Wnd, Msg, WParam, LParam);
        };
    return Window;
}

// A display driver that counts how often it is told the shape.
class TCountingDriver : public THeadlessDriver {
public:
    void SetPointerShape(int Cursor) override
    {
        ++Told;
        THeadlessDriver::SetPointerShape(Cursor);
    }
    int Told = 0;
};

} // namespace

TEST(PointerShape, TheWindowUnderThePointerChoosesIt)
{
    RegisterCursorClass("TIBeamWindow", crIBeam);
    RegisterCursorClass("TNoCursorWindow", crDefault);
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{100, 100, 500, 300});
    const auto Text = Child(Form.Handle, "TIBeamWindow", TRect{0, 0, 100, 50});
    const auto Plain = Child(Form.Handle, "TRecordingWindow", TRect{100, 0, 200, 50});
    const auto Corner = Child(Form.Handle, "TIBeamWindow", TRect{200, 0, 250, 50}, HTBOTTOMRIGHT);
    const auto Left = Child(Form.Handle, "TIBeamWindow", TRect{250, 0, 300, 50}, HTLEFT);
    const auto Top = Child(Form.Handle, "TIBeamWindow", TRect{300, 0, 350, 50}, HTTOP);
    const auto Slant = Child(Form.Handle, "TIBeamWindow", TRect{350, 0, 400, 50}, HTTOPRIGHT);
    const auto Caption = Child(Form.Handle, "TIBeamWindow", TRect{0, 50, 50, 100}, HTCAPTION);
    const auto Grow = Child(Form.Handle, "TIBeamWindow", TRect{50, 50, 100, 100}, HTGROWBOX);
    const auto Silent = Child(Form.Handle, "TNoCursorWindow", TRect{100, 50, 150, 100});

    // A parent that chooses for its children: theirs count only where it declines.
    TRecordingWindow Chooser(WS_CHILD | WS_VISIBLE, Form.Handle, "TRecordingWindow", "", 0, 0,
                             TRect{0, 100, 200, 200});
    Chooser.OnMessage = [&Chooser](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg == WM_SETCURSOR && static_cast<HWND>(WParam) != Chooser.Handle) {
            SetCursor(crHandPoint);
            return LRESULT{1};
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    };
    const auto Chosen = Child(Chooser.Handle, "TIBeamWindow", TRect{0, 0, 100, 100});

    struct TCase {
        const char* What;
        TPoint At; // in the form's client area
        TCursor Shape;
    };
    const std::vector<TCase> Cases = {
        {"a class with the I-beam", {10, 10}, crIBeam},
        {"a class with the default arrow", {110, 10}, crArrow},
        {"the bottom-right border", {210, 10}, crSizeNWSE},
        {"the left border", {260, 10}, crSizeWE},
        {"the top border", {310, 10}, crSizeNS},
        {"the top-right border", {360, 10}, crSizeNESW},
        {"a caption", {10, 60}, crArrow},
        {"a size box", {60, 60}, crSizeNWSE},
        {"a child of a parent that chooses for it", {10, 110}, crHandPoint},
        {"the parent itself, where it leaves it to its class", {150, 110}, crArrow},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        SetCursor(crNo);
        InjectMouseMove(Form.Handle, Case.At.X, Case.At.Y);
        EXPECT_EQ(GetCursor(), Case.Shape);
        EXPECT_EQ(Headless().Pointer(), Case.Shape);
    }

    // A class without a cursor leaves the shape as it was.
    InjectMouseMove(Form.Handle, 10, 10);
    InjectMouseMove(Form.Handle, 110, 60);
    EXPECT_EQ(Headless().Pointer(), crIBeam);
    PumpPending();
}

TEST(PointerShape, WmSetCursorNamesTheWindowThePartAndTheMouseMessage)
{
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{100, 100, 300, 200});
    TRecordingWindow Inner(WS_CHILD | WS_VISIBLE, Form.Handle, "TRecordingWindow", "", 0, 0,
                           TRect{0, 0, 50, 50});
    SetActiveWindow(Form.Handle);
    Form.Messages.clear();
    InjectMouseMove(Form.Handle, 10, 10);
    InjectMouseButton(Form.Handle, 0, true, 10, 10);
    InjectMouseButton(Form.Handle, 0, false, 10, 10);

    // Sent before the mouse message is taken from the queue; a release asks for nothing.
    const auto Sent = Inner.Only({WM_SETCURSOR});
    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_TRUE(Inner.Only({WM_MOUSEMOVE}).empty());
    EXPECT_EQ(Sent[0].WParam, Inner.Handle);
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(Sent[0].LParam)), static_cast<unsigned>(HTCLIENT));
    EXPECT_EQ(HiWord(static_cast<std::uintptr_t>(Sent[0].LParam)), WM_MOUSEMOVE);
    EXPECT_EQ(HiWord(static_cast<std::uintptr_t>(Sent[1].LParam)), WM_LBUTTONDOWN);

    // The parent is asked first, on behalf of the child.
    const auto Asked = Form.Only({WM_SETCURSOR});
    ASSERT_EQ(Asked.size(), 2u);
    EXPECT_EQ(Asked[0].WParam, Inner.Handle);
    PumpPending();
}

TEST(PointerShape, TheCaptureWindowKeepsChoosingWhereverThePointerGoes)
{
    RegisterCursorClass("TIBeamWindow", crIBeam);
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{100, 100, 300, 200});
    const auto Holder = Child(Form.Handle, "TIBeamWindow", TRect{0, 0, 50, 50});
    const auto Other = Child(Form.Handle, "TRecordingWindow", TRect{100, 0, 150, 50}, HTLEFT);
    SetCapture(Holder->Handle);
    Holder->Messages.clear();
    InjectMouseMove(Form.Handle, 110, 10);
    EXPECT_TRUE(Other->Only({WM_SETCURSOR}).empty());
    const auto Sent = Holder->Only({WM_SETCURSOR});
    ASSERT_EQ(Sent.size(), 1u);
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(Sent[0].LParam)), static_cast<unsigned>(HTCLIENT));
    EXPECT_EQ(Headless().Pointer(), crIBeam);

    ReleaseCapture();
    InjectMouseMove(Form.Handle, 111, 10);
    EXPECT_EQ(Headless().Pointer(), crSizeWE);
    PumpPending();
}

TEST(PointerShape, AWindowChoosingAgainShowsTheNewShapeWithoutAMove)
{
    TRecordingWindow Form(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{100, 100, 300, 200});
    TCursor Wanted = crCross;
    Form.OnMessage = [&Wanted](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg != WM_SETCURSOR)
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        SetCursor(Wanted);
        return LRESULT{1};
    };
    InjectMouseMove(Form.Handle, 10, 10);
    EXPECT_EQ(Headless().Pointer(), crCross);
    Wanted = crHelp;
    RefreshPointerShape();
    EXPECT_EQ(Headless().Pointer(), crHelp);
    PumpPending();
}

TEST(PointerShape, TheDriverHearsOnlyOfChanges)
{
    auto Owned = std::make_unique<TCountingDriver>();
    TCountingDriver* Driver = Owned.get();
    SetDisplayDriver(std::move(Owned));
    SetCursor(crIBeam);
    SetCursor(crIBeam);
    EXPECT_EQ(Driver->Told, 1);
    EXPECT_EQ(SetCursor(crDefault), crIBeam); // the shape before
    EXPECT_EQ(Driver->Pointer(), crArrow);
    SetCursor(crArrow);
    EXPECT_EQ(Driver->Told, 2);

    // A new driver hears of the next shape even when it is the same as before.
    auto Fresh = std::make_unique<TCountingDriver>();
    TCountingDriver* Next = Fresh.get();
    SetDisplayDriver(std::move(Fresh));
    SetCursor(crArrow);
    EXPECT_EQ(Next->Told, 1);
    SetDisplayDriver(nullptr);
}
