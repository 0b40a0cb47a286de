#include "app/demoform.h"

#include "platform/gfx/color.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"

#include <string>

namespace {

constexpr char CtrlC = 3;
constexpr char Backspace = 8;

std::string ClickCaption(int Clicks)
{
    if (Clicks == 0)
        return "Click me";
    if (Clicks == 1)
        return "Clicked once";
    return "Clicked " + std::to_string(Clicks) + " times";
}

} // namespace

// ---- TDemoLabel

TDemoLabel::TDemoLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 17);
}

void TDemoLabel::Paint()
{
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    C->TextOut(0, 0, Caption());
}

// ---- TDemoButton

TDemoButton::TDemoButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
    SetColor(clBtnFace);
    SetTabStop(true);
}

const TMessageMap& TDemoButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TDemoButton::CMDialogKey>(CM_DIALOGKEY),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

// Enter clicks the default button, or the focused one.
void TDemoButton::CMDialogKey(TMessage& Message)
{
    if (Message.WParam == VK_RETURN && (FDefault || Focused()) && CanFocus()) {
        Click();
        Message.Result = 1;
    }
}

void TDemoButton::SetDown(bool Value)
{
    if (Value == FDown)
        return;
    FDown = Value;
    Invalidate();
}

void TDemoButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus())
            SetFocus();
        SetDown(true);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDemoButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (ControlState().Contains(csLButtonDown))
        SetDown(PtInRect(ClientRect(), TPoint{X, Y}));
    TCustomControl::MouseMove(Shift, X, Y);
}

void TDemoButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        SetDown(false);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TDemoButton::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TDemoButton::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

void TDemoButton::Paint()
{
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    if (FDefault || Focused()) {
        C->Brush()->SetColor(clWindowFrame);
        C->FrameRect(R);
        InflateRect(R, -1, -1);
    }
    C->DrawEdge(R, FDown ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_ADJUST);
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    const std::string Text = Caption();
    const TSize Size = C->TextExtent(Text);
    const int Shift = FDown ? 1 : 0;
    C->TextOut(R.Left + (R.Width() - Size.cx) / 2 + Shift,
               R.Top + (R.Height() - Size.cy) / 2 + Shift, Text);
    if (Focused()) {
        InflateRect(R, -2, -2);
        C->DrawFocusRect(R);
    }
}

// ---- TDemoEdit

TDemoEdit::TDemoEdit(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 121, 25);
    SetColor(clWindow);
    SetTabStop(true);
    SetCursor(crIBeam);
}

const TMessageMap& TDemoEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TDemoEdit::WMGetDlgCode>(WM_GETDLGCODE),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

// Typed characters and arrows are the edit's, not the form's.
void TDemoEdit::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
}

void TDemoEdit::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    std::string Value = Text();
    if (Key == CtrlC) {
        if (!Value.empty())
            Clipboard()->SetAsText(Value);
    } else if (Key == Backspace) {
        // A whole character: its continuation bytes, then its lead byte.
        while (!Value.empty() && (static_cast<unsigned char>(Value.back()) & 0xC0) == 0x80)
            Value.pop_back();
        if (!Value.empty())
            Value.pop_back();
        SetText(Value);
    } else if (static_cast<unsigned char>(Key) >= 0x20 && Key != 0x7F) {
        SetText(Value + Key);
    } else {
        return;
    }
    Key = 0;
}

void TDemoEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && CanFocus())
        SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDemoEdit::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TDemoEdit::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

void TDemoEdit::Paint()
{
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    C->DrawEdge(R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    InflateRect(R, -2, 0);
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    const std::string Value = Text();
    const int Width = C->TextWidth(Value);
    // A text wider than the box shows its end, where the caret is.
    const int X = Width < R.Width() ? R.Left : R.Right - Width - 1;
    const int Y = R.Top + (R.Height() - C->TextHeight("Ag")) / 2;
    C->TextRect(R, X, Y, Value);
    if (Focused()) {
        C->Pen()->SetColor(Font()->Color());
        C->MoveTo(X + Width, R.Top + 2);
        C->LineTo(X + Width, R.Bottom - 2);
    }
}

// ---- TDemoForm

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("Tarnwick");
    SetPosition(poScreenCenter);
    Font()->SetName("Arial");
    Font()->SetSize(10);
    SetClientWidth(360);
    SetClientHeight(176);

    Intro = new TDemoLabel(this);
    Intro->SetParent(this);
    Intro->SetBounds(16, 16, 328, 20);
    Intro->SetCaption("A demonstration window: the spam filter is not here yet.");
    Intro->Font()->SetColor(clNavy);

    Button = new TDemoButton(this);
    Button->SetParent(this);
    Button->SetBounds(16, 52, 160, 32);
    Button->SetCaption(ClickCaption(0));
    Button->SetDefault(true);
    Button->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };

    Prompt = new TDemoLabel(this);
    Prompt->SetParent(this);
    Prompt->SetBounds(16, 100, 328, 20);
    Prompt->SetCaption("Type here; Ctrl+C copies the text:");

    Edit = new TDemoEdit(this);
    Edit->SetParent(this);
    Edit->SetBounds(16, 124, 328, 28);
    Edit->SetAnchors(TAnchors{akLeft, akTop, akRight});

    SetActiveControl(Edit);
}

void TDemoForm::ButtonClick(TObject*)
{
    ++FClicks;
    Button->SetCaption(ClickCaption(FClicks));
}
