// platform/dialogs/pagesetupform.cpp: the page set-up dialog's form: its fields, the checks of
// the margins on OK, the page sample and the caller's hook.
#include "platform/dialogs/pagesetupform.h"

#include "platform/dialogs/pagesetup.h"
#include "platform/dialogs/printsetupform.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/stdctrls/radiobutton.h"

#include <algorithm>

namespace {

int Side(const TRect& R, int Index)
{
    const int Sides[] = {R.Left, R.Top, R.Right, R.Bottom};
    return Sides[Index];
}

void SetSide(TRect& R, int Index, int Value)
{
    int* Sides[] = {&R.Left, &R.Top, &R.Right, &R.Bottom};
    *Sides[Index] = Value;
}

// The paper as oriented in the dialog's units.
TPoint PaperExtent(int Paper, bool Landscape, bool Metric)
{
    TPoint Size = Paper == DMPAPER_LETTER ? (Metric ? TPoint{21590, 27940} : TPoint{8500, 11000})
                                          : (Metric ? TPoint{21000, 29700} : TPoint{8268, 11693});
    if (Landscape)
        std::swap(Size.X, Size.Y);
    return Size;
}

} // namespace

std::string FormatMargin(int Value, bool Metric)
{
    const int Unit = Metric ? 100 : 1000;
    std::string Text = std::to_string(Value / Unit);
    std::string Fraction = std::to_string(Value % Unit + Unit).substr(1);
    while (!Fraction.empty() && Fraction.back() == '0')
        Fraction.pop_back();
    if (!Fraction.empty())
        Text += "." + Fraction;
    return Text;
}

bool ParseMargin(const std::string& Text, bool Metric, int& Value)
{
    const std::string T = Trim(Text);
    const std::size_t Point = T.find_first_of(".,");
    const std::string Whole = T.substr(0, Point);
    std::string Fraction = Point == std::string::npos ? std::string() : T.substr(Point + 1);
    const auto Digits = [](const std::string& S) {
        return S.find_first_not_of("0123456789") == std::string::npos;
    };
    if ((Whole.empty() && Fraction.empty()) || Whole.size() > 4 || !Digits(Whole) ||
        !Digits(Fraction))
        return false;
    const std::size_t Places = Metric ? 2 : 3;
    const bool RoundUp = Fraction.size() > Places && Fraction[Places] >= '5';
    Fraction.resize(Places, '0');
    Value = (Whole.empty() ? 0 : std::stoi(Whole)) * (Metric ? 100 : 1000) + std::stoi(Fraction) +
            (RoundUp ? 1 : 0);
    return true;
}

TPageSetupForm::TPageSetupForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TPrintFormBase(AOwner, Request, OwnerWindow, "Page Setup", 424, 304)
{
    const TPrintSettings& S = Request.Print;
    const unsigned Flags = Request.Options;
    FSample = new TPaintBox(this);
    FSample->SetName("Sample");
    FSample->SetParent(this);
    FSample->SetBounds(8, 8, 408, 124);
    FSample->OnPaint = [this](TObject*) { PaintSample(); };
    auto Repaint = [this](TObject*) { FSample->Invalidate(); };

    TGroupBox* Paper = AddGroup("PaperGroup", "Paper", 8, 138, 408, 52);
    AddLabel(Paper, "SizeLabel", "Si&ze:", 10, 24);
    FPaper = AddList(Paper, "PaperSize", 60, 20, 200);
    for (int I = 0; I < 2; ++I)
        FPaper->Items()->Add(PaperName(PaperAt(I)));
    FPaper->SetItemIndex(PaperIndex(S.Paper));
    FPaper->SetEnabled((Flags & PSD_DISABLEPAPER) == 0);
    FPaper->OnChange = Repaint;

    TGroupBox* Orientation = AddGroup("OrientationGroup", "Orientation", 8, 196, 120, 68);
    FPortrait = AddRadio(Orientation, "Portrait", "P&ortrait", 10, 20, 100);
    FLandscape = AddRadio(Orientation, "Landscape", "L&andscape", 10, 42, 100);
    (S.Orientation == DMORIENT_LANDSCAPE ? FLandscape : FPortrait)->SetChecked(true);
    for (TRadioButton* Radio : {FPortrait, FLandscape}) {
        Radio->SetEnabled((Flags & PSD_DISABLEORIENTATION) == 0);
        Radio->OnClick = Repaint;
    }

    TGroupBox* Margins = AddGroup(
        "MarginsGroup", S.Metric ? "Margins (millimeters)" : "Margins (inches)", 136, 196, 280, 68);
    const char* const Names[] = {"Left", "Top", "Right", "Bottom"};
    const char* const Captions[] = {"&Left:", "&Top:", "&Right:", "&Bottom:"};
    for (int I = 0; I < 4; ++I) {
        const int X = I % 2 == 0 ? 10 : 144;
        const int Y = I < 2 ? 18 : 42;
        // Left and right on the first line, top and bottom on the second, as on the page.
        const int Field = I == 1 ? 2 : I == 2 ? 1 : I;
        TLabel* Label =
            AddLabel(Margins, std::string(Names[Field]) + "Label", Captions[Field], X, Y + 4);
        TEdit* Edit = AddEdit(Margins, Names[Field], X + 56, Y, 64);
        Label->SetFocusControl(Edit);
        Edit->SetText(FormatMargin(Side(S.Margins, Field), S.Metric));
        Edit->SetEnabled((Flags & PSD_DISABLEMARGINS) == 0);
        Edit->OnChange = Repaint;
        FMargins[static_cast<std::size_t>(Field)] = Edit;
    }

    AddButtons(260, 274);
    SetActiveControl(FPaper->Enabled() ? static_cast<TWinControl*>(FPaper) : OkButton());
    PlaceOverOwner();
    // The caller's hook sees the dialog made and may move it, before it shows.
    if (FRequest.Hook) {
        FHooked = true;
        FRequest.Hook(Handle(), WM_INITDIALOG, 0, 0);
    }
}

TPageSetupForm::~TPageSetupForm()
{
    FHooked = false;
}

void TPageSetupForm::WndProc(TMessage& Message)
{
    if (FHooked && WindowHandle() != 0 &&
        FRequest.Hook(WindowHandle(), Message.Msg, Message.WParam, Message.LParam) != 0) {
        Message.Result = 0;
        return;
    }
    TPrintFormBase::WndProc(Message);
}

bool TPageSetupForm::ReadMargins(TRect& Margins, int& Field) const
{
    for (Field = 0; Field < 4; ++Field) {
        const TEdit* Edit = FMargins[static_cast<std::size_t>(Field)];
        int Value = 0;
        // A field left as shown keeps the exact value it was given.
        if (Edit->Text() ==
            FormatMargin(Side(FRequest.Print.Margins, Field), FRequest.Print.Metric))
            Value = Side(FRequest.Print.Margins, Field);
        else if (!ParseMargin(Edit->Text(), FRequest.Print.Metric, Value))
            return false;
        SetSide(Margins, Field, Value);
    }
    return true;
}

void TPageSetupForm::OkClick()
{
    const TPrintSettings& S = FRequest.Print;
    TRect Margins;
    int Field = 0;
    if (!ReadMargins(Margins, Field)) {
        Refuse(FMargins[static_cast<std::size_t>(Field)], "The margin must be a number.");
        return;
    }
    for (Field = 0; Field < 4; ++Field)
        if (Side(Margins, Field) < Side(S.MinMargins, Field)) {
            Refuse(FMargins[static_cast<std::size_t>(Field)],
                   "The margin is smaller than the printer allows: at least " +
                       FormatMargin(Side(S.MinMargins, Field), S.Metric) + ".");
            return;
        }
    const TPoint Paper = PaperExtent(PaperAt(FPaper->ItemIndex()), FLandscape->Checked(), S.Metric);
    if (Margins.Left + Margins.Right >= Paper.X || Margins.Top + Margins.Bottom >= Paper.Y) {
        Refuse(FMargins[Margins.Left + Margins.Right >= Paper.X ? 0 : 1],
               "The margins overlap or are off the paper.\nEnter a new margin measurement.");
        return;
    }
    SetModalResult(mrOk);
}

void TPageSetupForm::PaintSample()
{
    TCanvas* C = FSample->Canvas();
    const TRect Box = FSample->ClientRect();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Box);
    const bool Metric = FRequest.Print.Metric;
    const TPoint Paper = PaperExtent(PaperAt(FPaper->ItemIndex()), FLandscape->Checked(), Metric);
    // The page at the largest scale that fits, with a shadow.
    const int H = Box.Height() - 12;
    const int W = std::max(1, static_cast<int>(static_cast<long long>(H) * Paper.X / Paper.Y));
    const int Width = std::min(W, Box.Width() - 12);
    const int Height = Width == W ? H : static_cast<int>(1LL * Width * Paper.Y / Paper.X);
    const TRect Page{(Box.Width() - Width) / 2, (Box.Height() - Height) / 2,
                     (Box.Width() + Width) / 2, (Box.Height() + Height) / 2};
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(TRect{Page.Left + 3, Page.Top + 3, Page.Right + 3, Page.Bottom + 3});
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    C->Rectangle(Page);
    TRect Margins;
    int Field = 0;
    if (!ReadMargins(Margins, Field))
        return;
    auto X = [&](int V) { return static_cast<int>(1LL * V * Page.Width() / Paper.X); };
    auto Y = [&](int V) { return static_cast<int>(1LL * V * Page.Height() / Paper.Y); };
    const TRect Text{Page.Left + X(Margins.Left), Page.Top + Y(Margins.Top),
                     Page.Right - X(Margins.Right), Page.Bottom - Y(Margins.Bottom)};
    if (Text.Right <= Text.Left || Text.Bottom <= Text.Top)
        return;
    // Lines of text inside the margins.
    C->Pen()->SetColor(clSilver);
    for (int LineY = Text.Top + 1; LineY < Text.Bottom; LineY += 3) {
        C->MoveTo(Text.Left, LineY);
        C->LineTo(Text.Right, LineY);
    }
    C->Pen()->SetColor(clBlack);
}

TDialogAnswer TPageSetupForm::Answer() const
{
    TDialogAnswer Result = TPrintFormBase::Answer();
    TPrintSettings& S = Result.Print;
    S.Paper = PaperAt(FPaper->ItemIndex());
    S.Orientation = FLandscape->Checked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    TRect Margins;
    int Field = 0;
    if (ReadMargins(Margins, Field))
        S.Margins = Margins;
    return Result;
}
