// A box's form as built from its request: the picture per kind, the text wrapped within the
// work area, the buttons in a row inside the box, and the look of one box of each family
// against the golden pictures in tests/fixtures/dialogs/ (TARNWICK_UPDATE_GOLDEN=1 rewrites).
#include "tests/platform/dialogs/dialogstest.h"
#include "tests/support/golden.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/image.h"
#include "platform/stdctrls/label.h"
#include "platform/ui/sysmetrics.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TDialogRequest Request(TDialogKind Kind, const std::string& Text, unsigned Flags = 0,
                       TMsgDlgType Type = mtCustom, TMsgDlgButtons Buttons = {mbOK})
{
    TDialogRequest R;
    R.Kind = Kind;
    R.Caption = "Box";
    R.Text = Text;
    R.Flags = Flags;
    R.DlgType = Type;
    R.Buttons = Buttons;
    return R;
}

std::string Words(int Count)
{
    std::string S;
    for (int I = 0; I < Count; ++I)
        S += I % 7 == 6 ? "filtering " : "spam ";
    return S;
}

TRect WorkArea()
{
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    return Work;
}

class MessageForms : public ::testing::Test {
protected:
    std::unique_ptr<TMessageForm> Make(const TDialogRequest& R)
    {
        return std::make_unique<TMessageForm>(nullptr, R);
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
};

} // namespace

TEST_F(MessageForms, EachKindShowsItsOwnPicture)
{
    using K = TDialogKind;
    struct TCase {
        const char* Name;
        TDialogRequest R;
        TBoxIcon Icon;
    };
    const std::vector<TCase> Cases = {
        {"MB_ICONSTOP", Request(K::MessageBox, "x", MB_ICONSTOP), TBoxIcon::Stop},
        {"MB_ICONQUESTION", Request(K::MessageBox, "x", MB_ICONQUESTION), TBoxIcon::Question},
        {"MB_ICONWARNING", Request(K::MessageBox, "x", MB_ICONWARNING), TBoxIcon::Warning},
        {"MB_ICONINFORMATION", Request(K::MessageBox, "x", MB_ICONINFORMATION),
         TBoxIcon::Information},
        {"MB_OK alone", Request(K::MessageBox, "x", MB_OK), TBoxIcon::None},
        {"mtWarning", Request(K::MessageDlg, "x", 0, mtWarning), TBoxIcon::Warning},
        {"mtError", Request(K::MessageDlg, "x", 0, mtError), TBoxIcon::Stop},
        {"mtInformation", Request(K::MessageDlg, "x", 0, mtInformation), TBoxIcon::Information},
        {"mtConfirmation", Request(K::MessageDlg, "x", 0, mtConfirmation), TBoxIcon::Question},
        {"mtCustom", Request(K::MessageDlg, "x", 0, mtCustom), TBoxIcon::None},
        {"ShowMessage", Request(K::ShowMessage, "x"), TBoxIcon::None},
        {"InputBox", Request(K::InputBox, "x"), TBoxIcon::None},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto Box = Make(Case.R);
        EXPECT_EQ(Box->BoxIcon(), Case.Icon);
        EXPECT_EQ(Box->Image() != nullptr, Case.Icon != TBoxIcon::None);
        if (Box->Image() != nullptr) {
            EXPECT_EQ(Box->Image()->BoundsRect().Width(), BoxIconSize);
        }
    }
    // The four pictures differ from one another, and each has something on its ground.
    const TBoxIcon Icons[] = {TBoxIcon::Stop, TBoxIcon::Question, TBoxIcon::Warning,
                              TBoxIcon::Information};
    std::vector<std::vector<TColor>> Pixels;
    for (TBoxIcon Icon : Icons) {
        auto Bitmap = BoxIconBitmap(Icon, clWhite);
        Pixels.emplace_back();
        int Drawn = 0;
        for (int Y = 0; Y < BoxIconSize; ++Y)
            for (int X = 0; X < BoxIconSize; ++X) {
                const TColor C = Bitmap->Canvas()->Pixels(X, Y) & 0xFFFFFF;
                Pixels.back().push_back(C);
                Drawn += C != clWhite;
            }
        EXPECT_GT(Drawn, BoxIconSize * BoxIconSize / 6);
    }
    for (std::size_t I = 0; I < Pixels.size(); ++I)
        for (std::size_t J = I + 1; J < Pixels.size(); ++J)
            EXPECT_NE(Pixels[I], Pixels[J]) << I << " " << J;
    EXPECT_EQ(BoxIconBitmap(TBoxIcon::None, clWhite), nullptr);
}

TEST_F(MessageForms, TheTextWrapsAndTheBoxStaysWithinTheWorkArea)
{
    const TRect Work = WorkArea();
    struct TCase {
        const char* Name;
        std::string Text;
        bool Wraps;
    };
    const std::vector<TCase> Cases = {
        {"short", "Delete it?", false},
        {"a paragraph", Words(150), true},
        {"lines of its own", "First line\nSecond line\nThird line", false},
        {"one endless word", std::string(3000, 'x'), false},
        {"a book", Words(40000), true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto Box = Make(Request(TDialogKind::MessageBox, Case.Text, MB_YESNOCANCEL | MB_ICONSTOP));
        TLabel* Text = Box->Message();
        const int LineHeight = Box->Canvas()->TextHeight("Xy");
        EXPECT_LE(Box->Width(), Work.Width() * 3 / 4);
        EXPECT_LE(Box->Height(), Work.Height());
        EXPECT_TRUE(PtInRect(Work, Box->BoundsRect().TopLeft()));
        EXPECT_LE(Box->BoundsRect().Right, Work.Right);
        EXPECT_LE(Box->BoundsRect().Bottom, Work.Bottom);
        EXPECT_TRUE(Text->WordWrap());
        if (Case.Wraps) {
            EXPECT_GE(Text->Height(), 3 * LineHeight);
        } else {
            EXPECT_LE(Text->Height(), 3 * LineHeight);
        }
        // The text, the picture and every button lie inside the client area, apart.
        const TRect Client = Box->ClientRect();
        TRect Inside;
        EXPECT_TRUE(IntersectRect(Inside, Client, Text->BoundsRect()));
        EXPECT_EQ(Inside, Text->BoundsRect());
        EXPECT_LE(Text->BoundsRect().Bottom, Box->Buttons().front()->Top());
        EXPECT_GE(Text->Left(), Box->Image()->BoundsRect().Right);
        int Right = 0;
        for (TButton* Button : Box->Buttons()) {
            EXPECT_GE(Button->Left(), Right);
            Right = Button->BoundsRect().Right;
            EXPECT_LE(Right, Client.Right);
            EXPECT_LE(Button->BoundsRect().Bottom, Client.Bottom);
        }
    }
    // A short text gives a small box.
    auto Small = Make(Request(TDialogKind::MessageBox, "Delete it?", MB_OK));
    EXPECT_LT(Small->Width(), Work.Width() / 3);
}

TEST_F(MessageForms, AMessageShowsItsAmpersandsButAPromptNamesTheEdit)
{
    auto Message = Make(Request(TDialogKind::MessageBox, "Tom & Jerry", MB_OK));
    EXPECT_FALSE(Message->Message()->ShowAccelChar());
    TDialogRequest R = Request(TDialogKind::InputQuery, "&Name:");
    R.Value = "Tom";
    auto Input = Make(R);
    EXPECT_TRUE(Input->Message()->ShowAccelChar());
    EXPECT_EQ(Input->Message()->FocusControl(), Input->Edit());
    EXPECT_EQ(Input->Edit()->Text(), "Tom");
    EXPECT_EQ(Input->ActiveControl(), Input->Edit());
}

TEST_F(MessageForms, OneBoxOfEachFamilyLooksAsItsGoldenPicture)
{
    // The default text comes up selected. Test glyphs cover their whole cells, so the
    // selection's colour shows in the cell of the space.
    TDialogRequest Input = Request(TDialogKind::InputBox, "Account name:");
    Input.Value = "pop example.org";
    struct TCase {
        const char* File;
        TDialogRequest R;
    };
    const std::vector<TCase> Cases = {
        {"warning_yesnocancel.png",
         Request(TDialogKind::MessageDlg, "Save the changes to the filter rules?", 0, mtWarning,
                 mbYesNoCancel)},
        {"information_ok.png",
         Request(TDialogKind::MessageBox,
                 "Three messages were deleted on the server. The filter log lists them "
                 "with their senders and subjects.",
                 MB_OK | MB_ICONINFORMATION)},
        {"inputbox.png", Input},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.File);
        auto Box = Make(Case.R);
        Box->Show();
        Pump();
        const TRasterDevice& Raster = WindowBackBuffer(Box->Handle())->Raster();
        ExpectMatchesGoldenPng(Raster, Box->ClientRect(), std::string("dialogs/") + Case.File);
    }
}
