#include "platform/forms/hintwindow.h"

#include "platform/gfx/textlayout.h"
#include "platform/ui/screen.h"

#include <algorithm>

THintWindowClass HintWindowClass = &CreateHintWindow<THintWindow>;

namespace {

// The text stands this far inside the window's edge: the 1-pixel frame and 2 pixels of room.
constexpr int TextInset = 3;
constexpr unsigned TextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

// The canvas's font as the text layout measures: DrawText's DT_CALCRECT keeps the rectangle's
// width when it wraps, and a hint is only as wide as its widest line.
class TCanvasMeasure : public TTextMeasure {
public:
    explicit TCanvasMeasure(TCanvas* ACanvas) : FCanvas(ACanvas) {}
    int LineHeight() const override { return FCanvas->TextHeight("Wg"); }
    int ExternalLeading() const override { return 0; }
    int AveCharWidth() const override { return FCanvas->TextWidth("x"); }
    int TextWidth(const std::string& Text) const override { return FCanvas->TextWidth(Text); }

private:
    TCanvas* FCanvas;
};

} // namespace

const TMessageMap& THintWindow::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&THintWindow::WMNCHitTest>(WM_NCHITTEST),
        OnMessage<&THintWindow::WMMouseActivate>(WM_MOUSEACTIVATE),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    // Shown only by ActivateHint; the frame is drawn by Paint, inside the client area, so that
    // CalcHintRect's rectangle is the whole window.
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = Application != nullptr ? Application->Handle() : 0;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint)
{
    SetCaption(AHint);
    Rect.Bottom += 4;
    const int W = Rect.Width();
    const int H = Rect.Height();
    if (Screen != nullptr) {
        const TRect Work = Screen->WorkAreaRect();
        Rect.Left = std::max(Work.Left, std::min(Rect.Left, Work.Right - W));
        Rect.Top = std::max(Work.Top, std::min(Rect.Top, Work.Bottom - H));
    }
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, W, H,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void*)
{
    ActivateHint(Rect, AHint);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*)
{
    HandleNeeded();
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    TRect R = Rect(0, 0, MaxWidth, 0);
    C->DrawText(AHint, R, TextFormat | DT_CALCRECT);
    int Widest = 0;
    for (const TDrawTextLine& Line : LayoutDrawText(TCanvasMeasure(C), AHint, R, TextFormat).Lines)
        Widest = std::max(Widest, Line.Width);
    R.Right = R.Left + Widest;
    R.Right += 2 * TextInset;
    R.Bottom += 2;
    return R;
}

bool THintWindow::IsHintMsg(TMsg& Msg)
{
    const UINT M = Msg.message;
    return (M >= WM_KEYFIRST && M <= WM_KEYLAST) || M == CM_ACTIVATE || M == CM_DEACTIVATE ||
           M == CM_APPKEYDOWN || M == CM_APPSYSCOMMAND || M == WM_COMMAND ||
           (M > WM_MOUSEMOVE && M <= WM_MOUSELAST) || M == WM_NCMOUSEMOVE || M == WM_NCLBUTTONDOWN;
}

void THintWindow::ReleaseHandle()
{
    DestroyHandle();
}

void THintWindow::Paint()
{
    TCanvas* C = Canvas();
    const TRect Client = ClientRect();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Client);
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(Client);
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    TRect Text = Client;
    InflateRect(Text, -TextInset, -TextInset);
    C->DrawText(Caption(), Text, TextFormat);
}

// The mouse goes through to what lies under the hint.
void THintWindow::WMNCHitTest(TMessage& Message)
{
    Message.Result = HTTRANSPARENT;
}

void THintWindow::WMMouseActivate(TMessage& Message)
{
    Message.Result = MA_NOACTIVATE;
}
