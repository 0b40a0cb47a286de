#include "platform/gfx/fontengine.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TFontRequest Request(const std::string& Face, int Height, int Escapement = 0)
{
    TFontRequest R;
    R.FaceName = Face;
    R.Height = Height;
    R.Escapement = Escapement;
    return R;
}

// The rows and columns (relative to the baseline origin) that have any coverage.
TRect Inked(const TCoverageMask& Mask)
{
    TRect R{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (int Y = 0; Y < Mask.Height; ++Y)
        for (int X = 0; X < Mask.Width; ++X)
            if (Mask.At(X, Y) > 0) {
                R.Left = std::min(R.Left, Mask.Left + X);
                R.Top = std::min(R.Top, Mask.Top + Y);
                R.Right = std::max(R.Right, Mask.Left + X + 1);
                R.Bottom = std::max(R.Bottom, Mask.Top + Y + 1);
            }
    return R;
}

class RealFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeterministicFontMetrics(false);
        if (!FontFamilyInstalled("Liberation Sans") || !FontFamilyInstalled("DejaVu Sans"))
            GTEST_SKIP() << "the Liberation and DejaVu fonts are not installed";
    }
};

class DeterministicFonts : public ::testing::Test {
protected:
    void SetUp() override { SetDeterministicFontMetrics(true); }
    void TearDown() override { SetDeterministicFontMetrics(false); }
};

TEST(FontFaces, WindowsFacesMapToMetricCompatibleStandIns)
{
    struct TCase {
        std::string Requested;
        std::string Family;
    };
    const std::vector<TCase> Cases = {
        {"Arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},
        {"Verdana", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"MS Serif", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Fixedsys", "Liberation Mono"},
        {"Terminal", "Liberation Mono"},
        {"Symbol", "DejaVu Sans"},
        {"Wingdings", "DejaVu Sans"},
        {"Comic Sans MS", "DejaVu Sans"},
        {"", "DejaVu Sans"},
    };
    SetDeterministicFontMetrics(false);
    for (const TCase& C : Cases) {
        EXPECT_EQ(MapFaceName(C.Requested), C.Family) << C.Requested;
        if (!FontFamilyInstalled(C.Family))
            continue; // nothing to resolve to on this machine
        std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request(C.Requested, -12));
        EXPECT_EQ(Font->FamilyName(), C.Family) << C.Requested;
        EXPECT_FALSE(Font->Deterministic());
    }
}

TEST_F(RealFonts, BoldAndItalicPickTheirOwnFaces)
{
    TFontRequest R = Request("Arial", -12);
    R.Weight = FW_BOLD;
    R.Italic = true;
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(R);
    EXPECT_NE(Font->FilePath().find("BoldItalic"), std::string::npos) << Font->FilePath();
    EXPECT_EQ(Font->Metrics().tmWeight, FW_BOLD);
    EXPECT_EQ(Font->Metrics().tmItalic, 1);
    // Bold text is wider than regular text.
    EXPECT_GT(Font->TextWidth("Wide words"),
              TFontInstance::Get(Request("Arial", -12))->TextWidth("Wide words"));
}

TEST_F(RealFonts, CellHeightsSplitIntoAscentAndDescent)
{
    for (std::string Face : {"Arial", "Times New Roman", "Courier New", "Symbol"})
        for (int Height : {8, 13, 16, 21, 40}) {
            const TTextMetric& M = TFontInstance::Get(Request(Face, Height))->Metrics();
            SCOPED_TRACE(Face + " " + std::to_string(Height));
            EXPECT_EQ(M.tmHeight, Height);
            EXPECT_EQ(M.tmAscent + M.tmDescent, Height);
            EXPECT_GT(M.tmAscent, M.tmDescent);
            EXPECT_GE(M.tmInternalLeading, 0);
            EXPECT_GE(M.tmExternalLeading, 0);
        }
}

TEST_F(RealFonts, CharacterHeightsAddInternalLeading)
{
    for (std::string Face : {"Arial", "Times New Roman", "Courier New"})
        for (int Height : {-8, -11, -13, -16, -27}) {
            const TTextMetric& M = TFontInstance::Get(Request(Face, Height))->Metrics();
            SCOPED_TRACE(Face + " " + std::to_string(Height));
            EXPECT_EQ(M.tmHeight - M.tmInternalLeading, -Height);
            EXPECT_GT(M.tmInternalLeading, 0);
            EXPECT_EQ(M.tmAscent + M.tmDescent, M.tmHeight);
            EXPECT_GT(M.tmAveCharWidth, 0);
            EXPECT_GE(M.tmMaxCharWidth, M.tmAveCharWidth);
            EXPECT_TRUE(M.tmPitchAndFamily & TMPF_TRUETYPE);
        }
    // TMPF_FIXED_PITCH set means proportional.
    EXPECT_TRUE(TFontInstance::Get(Request("Arial", -12))->Metrics().tmPitchAndFamily &
                TMPF_FIXED_PITCH);
    EXPECT_FALSE(TFontInstance::Get(Request("Courier New", -12))->Metrics().tmPitchAndFamily &
                 TMPF_FIXED_PITCH);
    // Height 0 is a usable default.
    EXPECT_EQ(TFontInstance::Get(Request("Arial", 0))->Metrics().tmHeight, DefaultFontCellHeight);
}

TEST_F(RealFonts, WidthsAreSumsOfAdvances)
{
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request("Arial", -13));
    const int A = Font->CharAdvance('a'), E = Font->CharAdvance(0xE9), B = Font->CharAdvance('b');
    EXPECT_GT(A, 0);
    EXPECT_EQ(Font->TextExtent("ab").cx, A + B);
    EXPECT_EQ(Font->TextExtent("ab").cy, Font->Metrics().tmHeight);
    EXPECT_EQ(Font->TextExtent("ab", 3).cx, A + B + 6);
    EXPECT_EQ(Font->TextWidth("a\xC3\xA9"
                              "b"),
              A + E + B);
    EXPECT_EQ(Font->TextWidth("a\xE9"
                              "b"),
              A + E + B); // the same text in Windows-1252
    EXPECT_EQ(Font->CaretPositions("a\xC3\xA9"
                                   "b"),
              (std::vector<int>{0, A, A, A + E, A + E + B}));
    EXPECT_EQ(Font->TextWidth("a\r\n"), A); // control characters take no room
    // Courier New is fixed-pitch.
    std::shared_ptr<TFontInstance> Mono = TFontInstance::Get(Request("Courier New", -13));
    EXPECT_EQ(Mono->TextWidth("iiii"), Mono->TextWidth("WWWW"));
}

TEST(FontDecoding, Utf8WhenValidElseWindows1252)
{
    struct TCase {
        std::string Bytes;
        std::u32string Codes;
        std::vector<size_t> Offsets;
    };
    const std::vector<TCase> Cases = {
        {"a\xC3\xA9 b", U"a\u00E9 b", {0, 1, 3, 4}},
        {"\xE2\x82\xAC", U"\u20AC", {0}},
        {"\xF0\x9F\x98\x80!", U"\U0001F600!", {0, 4}},
        {"caf\xE9", U"caf\u00E9", {0, 1, 2, 3}},
        {"\x80\x93q\x94", U"\u20AC\u201Cq\u201D", {0, 1, 2, 3}},
        {"\xC3\xA9\xE9", U"\u00C3\u00A9\u00E9", {0, 1, 2}}, // one bad byte: all Windows-1252
        {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC", {0, 1, 2}}, // a surrogate is not UTF-8
        {"\xC0\xAF", U"\u00C0\u00AF", {0, 1}},              // neither is an overlong form
        {"", U"", {}},
    };
    SetDeterministicFontMetrics(true);
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request("Arial", 20));
    SetDeterministicFontMetrics(false);
    for (const TCase& C : Cases) {
        std::vector<size_t> Offsets;
        EXPECT_EQ(Font->Decode(C.Bytes, &Offsets), C.Codes) << C.Bytes;
        EXPECT_EQ(Offsets, C.Offsets) << C.Bytes;
    }
}

TEST(FontDecoding, SymbolFacesMapTheirBytesToUnicode)
{
    struct TCase {
        std::string Face;
        unsigned char Byte;
        char32_t Code;
    };
    const std::vector<TCase> Cases = {
        {"Symbol", 183, 0x2022},    {"Symbol", 'a', 0x03B1},  {"Symbol", 'p', 0x03C0},
        {"Symbol", 'W', 0x03A9},    {"Symbol", 'S', 0x03A3},  {"Symbol", 0xB0, 0x00B0},
        {"Symbol", 0xA5, 0x221E},   {"Symbol", 0xAE, 0x2192}, {"Symbol", 0xD6, 0x221A},
        {"Symbol", '1', '1'},       {"Symbol", '-', 0x2212},  {"Wingdings", 0xFC, 0x2713},
        {"Wingdings", 'l', 0x25CF},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(SymbolCharToUnicode(C.Face, C.Byte), C.Code) << C.Face << " " << int(C.Byte);

    SetDeterministicFontMetrics(true);
    std::shared_ptr<TFontInstance> Symbol = TFontInstance::Get(Request("Symbol", 20));
    SetDeterministicFontMetrics(false);
    EXPECT_EQ(Symbol->Decode("\xB7p"), U"\u2022\u03C0");
    EXPECT_EQ(Symbol->Metrics().tmCharSet, SYMBOL_CHARSET);
    // Only the symbol charset reads Wingdings bytes through its table.
    TFontRequest Wingdings = Request("Wingdings", 20);
    EXPECT_EQ(TFontInstance::Get(Wingdings)->Decode("\xFC"), U"\u00FC");
    Wingdings.CharSet = SYMBOL_CHARSET;
    EXPECT_EQ(TFontInstance::Get(Wingdings)->Decode("\xFC"), U"\u2713");
}

TEST_F(DeterministicFonts, MetricsAreASimpleFunctionOfTheHeight)
{
    struct TCase {
        int Height;
        int CellHeight;
        int Ascent;
        int Advance;
    };
    const std::vector<TCase> Cases = {
        {20, 20, 16, 10}, {-20, 20, 16, 10}, {13, 13, 11, 7}, {0, DefaultFontCellHeight, 13, 8}};
    for (const TCase& C : Cases) {
        std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request("Arial", C.Height));
        const TTextMetric& M = Font->Metrics();
        SCOPED_TRACE(C.Height);
        EXPECT_TRUE(Font->Deterministic());
        EXPECT_EQ(M.tmHeight, C.CellHeight);
        EXPECT_EQ(M.tmAscent, C.Ascent);
        EXPECT_EQ(M.tmDescent, C.CellHeight - C.Ascent);
        EXPECT_EQ(M.tmInternalLeading, 0);
        EXPECT_EQ(M.tmAveCharWidth, C.Advance);
        EXPECT_EQ(Font->TextWidth("Wi l"), 4 * C.Advance);
    }
    // The mode is part of the cache key.
    std::shared_ptr<TFontInstance> Fixed = TFontInstance::Get(Request("Arial", 20));
    EXPECT_EQ(Fixed, TFontInstance::Get(Request("Arial", 20)));
    SetDeterministicFontMetrics(false);
    EXPECT_NE(Fixed, TFontInstance::Get(Request("Arial", 20)));
}

TEST_F(DeterministicFonts, EachVisibleCharacterCoversItsCell)
{
    TCoverageMask Mask = TFontInstance::Get(Request("Arial", 20))->Render("a b");
    EXPECT_EQ(Mask.Left, 0);
    EXPECT_EQ(Mask.Top, -16);
    EXPECT_EQ(Mask.Width, 30);
    EXPECT_EQ(Mask.Height, 20);
    for (int Y = 0; Y < Mask.Height; ++Y)
        for (int X = 0; X < Mask.Width; ++X)
            ASSERT_EQ(Mask.At(X, Y), (X >= 10 && X < 20) ? 0 : 255) << X << "," << Y;
    // Character extra spaces the boxes apart; explicit advances replace the font's.
    EXPECT_EQ(Inked(TFontInstance::Get(Request("Arial", 20))->Render("ab", 5)),
              Rect(0, -16, 25, 4));
    std::vector<int> Advances{30, 10};
    Mask = TFontInstance::Get(Request("Arial", 20))->Render("ab", 0, &Advances);
    EXPECT_EQ(Mask.At(15, 0), 0);
    EXPECT_EQ(Mask.At(35, 0), 255);
}

TEST_F(DeterministicFonts, UnderlineAndStrikeOutRunTheLengthOfTheText)
{
    TFontRequest R = Request("Arial", 20);
    R.Underline = true;
    TCoverageMask Mask = TFontInstance::Get(R)->Render("a b");
    // The underline crosses the gap of the blank.
    EXPECT_EQ(Mask.At(15, 0 - Mask.Top), 0);
    EXPECT_EQ(Mask.At(15, 1 - Mask.Top), 255);
    R.Underline = false;
    R.StrikeOut = true;
    Mask = TFontInstance::Get(R)->Render("a b");
    EXPECT_EQ(Mask.At(15, -5 - Mask.Top), 255);
    EXPECT_EQ(Mask.At(15, 1 - Mask.Top), 0);
}

TEST_F(DeterministicFonts, EscapementTurnsTextAboutTheOrigin)
{
    struct TCase {
        int Escapement;
        TRect Inked;
        TPoint BaselineFromTop;
    };
    // "ab" at cell height 20: 20 along the baseline, 16 above it and 4 below.
    const std::vector<TCase> Cases = {
        {0, Rect(0, -16, 20, 4), Point(0, 16)},
        {900, Rect(-16, -20, 4, 0), Point(16, 0)},   // going up, ascent to the left
        {1800, Rect(-20, -4, 0, 16), Point(0, -16)}, // upside down, going left
        {2700, Rect(-4, 0, 16, 20), Point(-16, 0)},  // going down
    };
    for (const TCase& C : Cases) {
        std::shared_ptr<TFontInstance> Font =
            TFontInstance::Get(Request("Arial", 20, C.Escapement));
        TCoverageMask Mask = Font->Render("ab");
        SCOPED_TRACE(C.Escapement);
        EXPECT_EQ(Inked(Mask), C.Inked);
        EXPECT_EQ(Mask.Width * Mask.Height, 400);
        EXPECT_EQ(Font->BaselineFromTop(), C.BaselineFromTop);
    }
}

TEST_F(RealFonts, RotatedTextIsAnchoredAtTheOrigin)
{
    std::shared_ptr<TFontInstance> Flat = TFontInstance::Get(Request("Arial", -20));
    std::shared_ptr<TFontInstance> Up = TFontInstance::Get(Request("Arial", -20, 900));
    const int Width = Flat->TextWidth("Hello");
    const TTextMetric& M = Up->Metrics();

    TRect FlatInk = Inked(Flat->Render("Hello"));
    EXPECT_GE(FlatInk.Left, 0);
    EXPECT_LE(FlatInk.Right, Width + 1);
    EXPECT_GE(FlatInk.Top, -M.tmAscent);
    EXPECT_LE(FlatInk.Bottom, M.tmDescent);

    // At 90 degrees the text rises from the origin, its ascent to the left of the baseline.
    TRect UpInk = Inked(Up->Render("Hello"));
    EXPECT_LE(UpInk.Bottom, 1);
    EXPECT_GE(UpInk.Top, -Width - 1);
    EXPECT_LE(UpInk.Top, -Width + 4);
    EXPECT_GE(UpInk.Left, -M.tmAscent - 1);
    EXPECT_LE(UpInk.Right, M.tmDescent + 1);
    EXPECT_EQ(Up->BaselineFromTop(), Point(M.tmAscent, 0));
    EXPECT_EQ(Up->TextWidth("Hello"), Width); // advances do not change with the angle
}

TEST_F(RealFonts, OutlinesFollowTheGlyphs)
{
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request("Arial", -40));
    std::vector<TOutlinePolygon> O = Font->Outline("O");
    ASSERT_EQ(O.size(), 2u); // outer and inner contour
    for (const TOutlinePolygon& Polygon : O)
        for (const TPoint& P : Polygon) {
            EXPECT_GE(P.X, -1);
            EXPECT_LE(P.X, Font->CharAdvance('O') + 1);
            EXPECT_LE(P.Y, 1);
            EXPECT_GE(P.Y, -Font->Metrics().tmAscent);
        }
    EXPECT_TRUE(Font->Outline(" ").empty());
}

TEST_F(RealFonts, MeasuringFromSeveralThreadsAgrees)
{
    std::shared_ptr<TFontInstance> Font = TFontInstance::Get(Request("Times New Roman", -15));
    const std::string Text = "The quick brown fox \xE2\x80\x94 jumps";
    const int Expected = Font->TextWidth(Text);
    std::vector<int> Results(4, 0);
    std::vector<std::thread> Threads;
    for (int T = 0; T < 4; ++T)
        Threads.emplace_back([&, T] {
            for (int I = 0; I < 50; ++I) {
                TFontRequest R = Request("Times New Roman", -15 - (I % 5));
                Results[T] += TFontInstance::Get(R)->Render(Text).Width > 0 ? 0 : 1;
                Results[T] += Font->TextWidth(Text) == Expected ? 0 : 1;
            }
        });
    for (std::thread& T : Threads)
        T.join();
    EXPECT_EQ(Results, std::vector<int>(4, 0));
}

} // namespace
