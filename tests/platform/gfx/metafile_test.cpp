#include "platform/gfx/metafile.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/printerdevice.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/referencescreen.h"
#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr int W = 240;
constexpr int H = 180;

// A small picture to copy from: four coloured quarters.
struct TSource {
    TRasterDevice Raster{16, 16};
    TCanvas Canvas{&Raster};
    TSource()
    {
        const TColor Colors[4] = {clRed, clLime, clBlue, clFuchsia};
        for (int I = 0; I < 4; ++I) {
            Canvas.Brush()->SetColor(Colors[I]);
            Canvas.FillRect(TRect{I % 2 * 8, I / 2 * 8, I % 2 * 8 + 8, I / 2 * 8 + 8});
        }
    }
};

// Lines, shapes, hatches, text, a clip region, mix modes and copies: what a chart draws.
// Hatches keep their 8-pixel pattern on any device, so comparisons across scales go without.
void DrawScene(TCanvas& C, bool Hatched = true)
{
    auto Hatch = [&](TBrushStyle Style) { C.Brush()->SetStyle(Hatched ? Style : bsSolid); };
    TSource Source;
    C.Pen()->SetColor(clNavy);
    C.Pen()->SetStyle(psDash);
    C.MoveTo(5, 5);
    C.LineTo(230, 170);
    C.Pen()->SetStyle(psSolid);
    C.Pen()->SetWidth(3);
    C.Brush()->SetColor(clYellow);
    C.Rectangle(10, 10, 60, 50);
    Hatch(bsDiagCross);
    C.Brush()->SetColor(clGreen);
    C.Ellipse(70, 10, 150, 60);
    C.Pen()->SetWidth(1);
    Hatch(bsHorizontal);
    C.RoundRect(160, 10, 230, 60, 20, 16);
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(clSilver);
    C.Pie(10, 60, 70, 120, 70, 60, 10, 90);
    C.Chord(80, 60, 140, 110, 140, 100, 80, 60);
    C.Arc(150, 60, 200, 110, 200, 85, 150, 85);
    C.SetPolyFillMode(WINDING);
    C.Brush()->SetColor(clTeal);
    C.Polygon({{200, 120}, {230, 170}, {180, 135}, {225, 135}, {190, 170}});

    C.Font()->SetName("Arial");
    C.Font()->SetHeight(-14);
    C.Font()->SetColor(clMaroon);
    C.Brush()->SetColor(clAqua);
    C.TextOut(10, 125, "Hello");
    C.SetBkMode(TRANSPARENT);
    C.TextOut(70, 125, "metafile");
    C.TextRect(TRect{10, 150, 60, 165}, 12, 150, "Clipped text runs long");

    TRegion Round = TRegion::Ellipse(TRect{120, 110, 180, 175});
    C.SelectClipRgn(&Round);
    Hatch(bsCross);
    C.Brush()->SetColor(clRed);
    C.Rectangle(110, 100, 190, 178);
    C.Pen()->SetWidth(5);
    C.MoveTo(110, 100);
    C.LineTo(190, 178);
    C.SelectClipRgn(nullptr);

    C.Pen()->SetWidth(1);
    C.Pen()->SetMode(pmXor);
    C.Pen()->SetColor(clWhite);
    C.MoveTo(10, 30);
    C.LineTo(150, 30);
    C.Pen()->SetMode(pmCopy);
    C.BitBlt(200, 140, 16, 16, &Source.Canvas, 0, 0, SRCCOPY);
    C.StretchBlt(160, 120, 32, -16, &Source.Canvas, 0, 0, 16, 16, SRCCOPY);
    C.PatBlt(60, 50, 30, 20, DSTINVERT);
    C.SetPixels(3, 170, clRed);
    C.SetPixels(4, 171, clBlue);
}

void RecordScene(TMetafile& M, bool Hatched = true)
{
    M.SetWidth(W);
    M.SetHeight(H);
    {
        TMetafileCanvas C(&M, nullptr);
        DrawScene(C, Hatched);
    }
}

bool SamePixels(const TRasterDevice& A, const TRasterDevice& B)
{
    return A.Width() == B.Width() && A.Height() == B.Height() &&
           std::memcmp(A.Bits(), B.Bits(), sizeof(std::uint32_t) * A.Width() * A.Height()) == 0;
}

// Each Factor x Factor block averaged.
TRasterDevice Shrink(const TRasterDevice& D, int Factor)
{
    TRasterDevice Out(D.Width() / Factor, D.Height() / Factor);
    for (int Y = 0; Y < Out.Height(); ++Y)
        for (int X = 0; X < Out.Width(); ++X) {
            unsigned Sum[3] = {0, 0, 0};
            for (int DY = 0; DY < Factor; ++DY)
                for (int DX = 0; DX < Factor; ++DX)
                    for (int C = 0; C < 3; ++C)
                        Sum[C] += D.ScanLine(Y * Factor + DY)[X * Factor + DX] >> (8 * C) & 0xFF;
            const unsigned N = static_cast<unsigned>(Factor * Factor);
            Out.ScanLine(Y)[X] = (Sum[2] / N) << 16 | (Sum[1] / N) << 8 | Sum[0] / N;
        }
    return Out;
}

// The mean difference per sample of two pictures of the same size.
double MeanDifference(const TRasterDevice& A, const TRasterDevice& B)
{
    EXPECT_EQ(A.Width(), B.Width());
    EXPECT_EQ(A.Height(), B.Height());
    double Sum = 0;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            for (int Shift = 0; Shift < 24; Shift += 8)
                Sum += std::abs(static_cast<int>(A.ScanLine(Y)[X] >> Shift & 0xFF) -
                                static_cast<int>(B.ScanLine(Y)[X] >> Shift & 0xFF));
    return Sum / (3.0 * A.Width() * A.Height());
}

TRasterDevice Played(TMetafile& M, int Width, int Height, const TRect& Rect)
{
    TRasterDevice Raster(Width, Height);
    TCanvas C(&Raster);
    C.StretchDraw(Rect, &M);
    return Raster;
}

std::string Saved(TMetafile& M)
{
    TStringStream S;
    M.SaveToStream(&S);
    return S.DataString();
}

class Metafile : public ::testing::Test {
protected:
    void SetUp() override { SetDeterministicFontMetrics(true); }
    void TearDown() override { SetDeterministicFontMetrics(false); }
};

} // namespace

TEST_F(Metafile, PlayedAtItsOwnSizeItGivesThePixelsOfTheDrawingItself)
{
    TRasterDevice Direct(W, H);
    TCanvas C(&Direct);
    DrawScene(C);

    TMetafile M;
    RecordScene(M);
    EXPECT_FALSE(M.Empty());
    EXPECT_EQ(M.Frame(), (TRect{0, 0, W, H}));
    EXPECT_TRUE(SamePixels(Played(M, W, H, TRect{0, 0, W, H}), Direct));

    // Moved by an offset, the picture moves with it.
    TRasterDevice Larger = Played(M, W + 30, H + 20, TRect{30, 20, W + 30, H + 20});
    TRasterDevice Window(W, H);
    for (int Y = 0; Y < H; ++Y)
        std::memcpy(Window.ScanLine(Y), Larger.ScanLine(Y + 20) + 30, sizeof(std::uint32_t) * W);
    EXPECT_TRUE(SamePixels(Window, Direct));
}

TEST_F(Metafile, ScaledPlayingStaysCloseToTheDrawing)
{
    TRasterDevice Direct(W, H);
    TCanvas C(&Direct);
    DrawScene(C, false);
    TMetafile M;
    RecordScene(M, false);

    // Larger: shrunk back to the drawing's size; smaller: against the drawing shrunk. Pens and
    // text cells land within about half a pixel; a picture two pixels off is much further.
    for (int F : {2, 3, 4}) {
        TRasterDevice Big = Played(M, W * F, H * F, TRect{0, 0, W * F, H * F});
        EXPECT_LT(MeanDifference(Shrink(Big, F), Direct), 7) << F;
    }
    TRasterDevice Small = Played(M, W / 2, H / 2, TRect{0, 0, W / 2, H / 2});
    EXPECT_LT(MeanDifference(Small, Shrink(Direct, 2)), 10);
    TRasterDevice Shifted = Played(M, W, H, TRect{2, 2, W + 2, H + 2});
    EXPECT_GT(MeanDifference(Shifted, Direct), 15);
}

TEST_F(Metafile, PlayingKeepsWithinTheCanvasClipAndMapping)
{
    TMetafile M;
    RecordScene(M);
    TRasterDevice Raster(W, H);
    TCanvas C(&Raster);
    C.IntersectClipRect(0, 0, W / 2, H);
    C.StretchDraw(TRect{0, 0, W, H}, &M);
    for (int Y = 0; Y < H; ++Y)
        for (int X = W / 2; X < W; ++X)
            ASSERT_EQ(Raster.Pixel(X, Y), clWhite) << X << "," << Y;
    EXPECT_FALSE(SamePixels(Raster, TRasterDevice(W, H)));

    // Under a mapping mode the rectangle is in logical units: 0.1 mm at 96 pixels per inch.
    TRasterDevice Mapped(W, H);
    TCanvas MC(&Mapped);
    MC.SetMapMode(MM_LOMETRIC);
    MC.StretchDraw(TRect{0, 0, W * 254 / 96, -H * 254 / 96}, &M);
    EXPECT_LT(MeanDifference(Mapped, Played(M, W, H, TRect{0, 0, W, H})), 1);
}

TEST_F(Metafile, RecordsKeepTheCallsWithTheirState)
{
    TMetafile M;
    RecordScene(M);
    const auto& Records = M.Records();
    ASSERT_GT(Records.size(), 15u);
    EXPECT_EQ(Records[0].Name, "Polyline");
    EXPECT_EQ(Records[0].State.Pen.Style, psDash);
    const auto Text = std::find_if(Records.begin(), Records.end(),
                                   [](const auto& R) { return R.Name == "TextOut"; });
    ASSERT_NE(Text, Records.end());
    EXPECT_EQ(Text->DeviceText.Text, "Hello");
    EXPECT_EQ(Text->State.Font.Height, -14);
    EXPECT_EQ(Text->DeviceText.Advances.size(), 5u);
    const auto Clipped =
        std::find_if(Records.begin(), Records.end(), [](const auto& R) { return R.Clipped; });
    ASSERT_NE(Clipped, Records.end());
    EXPECT_EQ(Clipped->State.Brush.Style, bsCross);
}

TEST_F(Metafile, ASavedMetafileLoadsToTheSamePicture)
{
    TMetafile M;
    RecordScene(M);
    M.SetEnhanced(false);
    const std::string Bytes = Saved(M);
    EXPECT_EQ(Bytes.substr(0, 4), "TWMF");

    TMetafile Loaded;
    TStringStream In(Bytes);
    Loaded.LoadFromStream(&In);
    EXPECT_EQ(Loaded.Records().size(), M.Records().size());
    EXPECT_EQ(Loaded.MMWidth(), M.MMWidth());
    EXPECT_EQ(Loaded.MMHeight(), M.MMHeight());
    EXPECT_EQ(Loaded.Frame(), M.Frame());
    EXPECT_FALSE(Loaded.Enhanced());
    EXPECT_TRUE(
        SamePixels(Played(Loaded, W, H, TRect{0, 0, W, H}), Played(M, W, H, TRect{0, 0, W, H})));
    EXPECT_TRUE(SamePixels(Played(Loaded, W * 2, H, TRect{0, 0, W * 2, H}),
                           Played(M, W * 2, H, TRect{0, 0, W * 2, H})));
    EXPECT_EQ(Saved(Loaded), Bytes);

    // An empty metafile comes back empty.
    TMetafile Empty;
    const std::string EmptyBytes = Saved(Empty);
    TStringStream EmptyIn(EmptyBytes);
    Loaded.LoadFromStream(&EmptyIn);
    EXPECT_TRUE(Loaded.Empty());
    EXPECT_TRUE(Loaded.Enhanced());
}

TEST_F(Metafile, DamagedFilesAreRefusedAndLeaveTheMetafileAsItWas)
{
    TMetafile Small;
    Small.SetWidth(20);
    Small.SetHeight(10);
    {
        TMetafileCanvas C(&Small, nullptr);
        C.Brush()->SetColor(clRed);
        C.TextOut(1, 1, "ab");
        C.MoveTo(0, 0);
        C.LineTo(5, 5);
    }
    const std::string Good = Saved(Small);
    // Offsets: header 32 bytes; the first record's length at 32, its kind at 36, the pen
    // colour at 37, the pen width at 41 and the pen style at 45.
    auto With = [&](std::size_t At, const std::string& Bytes) {
        std::string S = Good;
        S.replace(At, Bytes.size(), Bytes);
        return S;
    };
    struct TCase {
        std::string Name;
        std::string Bytes;
    };
    const std::vector<TCase> Cases = {
        {"empty", ""},
        {"magic", With(0, "XWMF")},
        {"version", With(4, std::string("\x02\x00", 2))},
        {"flags", With(6, std::string("\x13\x00", 2))},
        {"short header", Good.substr(0, 20)},
        {"record count", With(28, std::string("\x09\x00\x00\x00", 4))},
        {"huge record count", With(28, std::string("\xFF\xFF\xFF\x7F", 4))},
        {"record length past the end", With(32, std::string("\xFF\xFF\x00\x00", 4))},
        {"record length over the limit", With(32, std::string("\xFF\xFF\xFF\xFF", 4))},
        {"record kind", With(36, std::string("\x09", 1))},
        {"pen width", With(41, std::string("\x00\x00\x00\x00", 4))},
        {"pen style", With(45, std::string("\x07", 1))},
        {"truncated record", Good.substr(0, Good.size() - 3)},
        {"frame", With(20, std::string("\x00\x00\x00\x00", 4))},
    };
    for (const TCase& C : Cases) {
        TMetafile M;
        RecordScene(M);
        const std::size_t Before = M.Records().size();
        TStringStream In(C.Bytes);
        EXPECT_THROW(M.LoadFromStream(&In), EInvalidGraphic) << C.Name;
        EXPECT_EQ(M.Records().size(), Before) << C.Name;
        EXPECT_EQ(M.Width(), W) << C.Name;
    }
    try {
        TMetafile M;
        TStringStream In(With(4, std::string("\x02\x00", 2)));
        M.LoadFromStream(&In);
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message(), "Metafile is not valid: version 2 is not supported");
    }
    // The untouched bytes load.
    TMetafile M;
    TStringStream In(Good);
    M.LoadFromStream(&In);
    EXPECT_EQ(M.Records().size(), 2u);
}

TEST_F(Metafile, SizesInPixelsAndHundredthsOfAMillimetre)
{
    TMetafile M;
    EXPECT_TRUE(M.Empty());
    EXPECT_TRUE(M.Enhanced());
    EXPECT_EQ(M.Width(), 0);
    struct TCase {
        int Width;
        int MMWidth;
    };
    for (const TCase& C : std::vector<TCase>{{96, 2540}, {100, 2646}, {1, 26}, {239, 6324}}) {
        M.SetWidth(C.Width);
        M.SetHeight(C.Width);
        EXPECT_EQ(M.MMWidth(), C.MMWidth);
        EXPECT_EQ(M.MMHeight(), C.MMWidth);
        EXPECT_EQ(M.Width(), C.Width);
        EXPECT_EQ(M.Height(), C.Width);
    }
    M.SetMMWidth(21000);
    EXPECT_EQ(M.Width(), 794);
    int Changes = 0;
    M.OnChange = [&](TObject*) { ++Changes; };
    M.SetEnhanced(false);
    M.SetMMHeight(100);
    EXPECT_EQ(Changes, 2);
}

TEST_F(Metafile, AMetafileCanvasTakesItsFrameFromTheReferenceDevice)
{
    // Without a size, a 300-per-inch reference gives its page; with one, the size at 300.
    TPrintJob Printer;
    Printer.SetPaper(ppA4);
    TMetafile Page;
    {
        TMetafileCanvas C(&Page, Printer.Canvas());
    }
    EXPECT_EQ(Page.Frame(), (TRect{0, 0, 2480, 3508}));
    EXPECT_EQ(Page.PixelsPerInch(), 300);
    EXPECT_EQ(Page.MMWidth(), 20997);
    EXPECT_FALSE(Page.Empty());
    EXPECT_TRUE(Page.Records().empty());

    TMetafile Sized;
    Sized.SetWidth(96);
    Sized.SetHeight(48);
    {
        TMetafileCanvas C(&Sized, Printer.Canvas());
    }
    EXPECT_EQ(Sized.Frame(), (TRect{0, 0, 300, 150}));
    EXPECT_EQ(Sized.Width(), 96);

    // A new recording replaces the old one.
    TMetafile M;
    RecordScene(M);
    {
        TMetafileCanvas C(&M, nullptr);
        C.MoveTo(0, 0);
        C.LineTo(10, 10);
    }
    EXPECT_EQ(M.Records().size(), 1u);
}

TEST_F(Metafile, WithoutAReferenceDeviceTheReferenceScreenGivesTheFrame)
{
    // The screen the display layer reports, or 1024 x 768 at 96 while none does.
    struct TCase {
        std::optional<TReferenceScreen> Screen;
        TRect Frame;
        int PixelsPerInch;
        int MMWidth;
        int MMHeight;
    };
    const std::vector<TCase> Cases{
        {std::nullopt, TRect{0, 0, 1024, 768}, 96, 27093, 20320},
        {TReferenceScreen{800, 600, 96}, TRect{0, 0, 800, 600}, 96, 21167, 15875},
        {TReferenceScreen{1920, 1200, 144}, TRect{0, 0, 1920, 1200}, 144, 33867, 21167}};
    for (const TCase& C : Cases) {
        if (C.Screen)
            SetReferenceScreenSource([Screen = *C.Screen] { return Screen; });
        else
            SetReferenceScreenSource(nullptr);
        TMetafile M;
        {
            TMetafileCanvas Canvas(&M, nullptr);
            EXPECT_EQ(GetDeviceCaps(Canvas.Handle(), LOGPIXELSY), C.PixelsPerInch);
        }
        EXPECT_EQ(M.Frame(), C.Frame);
        EXPECT_EQ(M.PixelsPerInch(), C.PixelsPerInch);
        EXPECT_EQ(M.MMWidth(), C.MMWidth);
        EXPECT_EQ(M.MMHeight(), C.MMHeight);
        // A size of its own stays, at the screen's resolution.
        TMetafile Sized;
        Sized.SetWidth(96);
        Sized.SetHeight(48);
        {
            TMetafileCanvas Canvas(&Sized, nullptr);
        }
        EXPECT_EQ(Sized.Frame(), (TRect{0, 0, C.PixelsPerInch, C.PixelsPerInch / 2}));
    }
    SetReferenceScreenSource(nullptr);
}

TEST_F(Metafile, AssignSharesThePictureAndNilEmpties)
{
    TMetafile M;
    RecordScene(M);
    TMetafile Copy;
    Copy.Assign(&M);
    EXPECT_EQ(Copy.Records().size(), M.Records().size());
    EXPECT_EQ(Copy.Width(), W);
    EXPECT_EQ(Saved(Copy), Saved(M));
    // Recording on the original leaves the copy alone.
    {
        TMetafileCanvas C(&M, nullptr);
    }
    EXPECT_TRUE(M.Records().empty());
    EXPECT_FALSE(Copy.Records().empty());
    Copy.Assign(nullptr);
    EXPECT_TRUE(Copy.Empty());
    EXPECT_EQ(Copy.Width(), 0);
    Copy.Assign(&M);
    Copy.Clear();
    EXPECT_TRUE(Copy.Empty());
    EXPECT_EQ(Copy.MMHeight(), 0);
}
