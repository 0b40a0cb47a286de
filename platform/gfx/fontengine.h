// platform/gfx/fontengine.h: fonts for drawing text: a logical font request resolved to a face
// file, its metrics, advances and glyph coverage; a deterministic metrics mode for tests.
#pragma once

#include "platform/gfx/textlayout.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SYMBOL_CHARSET = 2;
constexpr int OEM_CHARSET = 255;

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// The low bits of a pitch-and-family byte, and the families above them.
constexpr int DEFAULT_PITCH = 0;
constexpr int FIXED_PITCH = 1;
constexpr int VARIABLE_PITCH = 2;
constexpr int FF_DONTCARE = 0x00;
constexpr int FF_ROMAN = 0x10;
constexpr int FF_SWISS = 0x20;
constexpr int FF_MODERN = 0x30;
constexpr int FF_SCRIPT = 0x40;
constexpr int FF_DECORATIVE = 0x50;

// The low bits of tmPitchAndFamily. TMPF_FIXED_PITCH set means the font is NOT fixed-pitch.
constexpr int TMPF_FIXED_PITCH = 0x01;
constexpr int TMPF_VECTOR = 0x02;
constexpr int TMPF_TRUETYPE = 0x04;
constexpr int TMPF_DEVICE = 0x08;

// The cell height a request with Height 0 gets.
constexpr int DefaultFontCellHeight = 16;

// A logical font, as a LOGFONT holds it.
struct TFontRequest {
    std::string FaceName;   // a Windows face name or a fontconfig family; empty = the default
    int Height = 0;         // < 0: character height, > 0: cell height, 0: the default size
    int Weight = FW_NORMAL; // 100..900; FW_BOLD and above is bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int CharSet = DEFAULT_CHARSET;
    int PitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    int Escapement = 0;  // tenths of a degree, counter-clockwise; the glyphs turn with it
    int Orientation = 0; // kept for the record; glyphs follow Escapement
    friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    int tmOverhang = 0;
    int tmDigitizedAspectX = 96;
    int tmDigitizedAspectY = 96;
    unsigned char tmFirstChar = 0x20;
    unsigned char tmLastChar = 0xFF;
    unsigned char tmDefaultChar = 0x1F;
    unsigned char tmBreakChar = 0x20;
    unsigned char tmItalic = 0;
    unsigned char tmUnderlined = 0;
    unsigned char tmStruckOut = 0;
    unsigned char tmPitchAndFamily = 0;
    unsigned char tmCharSet = 0;
};

// 8-bit coverage (0 = none, 255 = full) of a drawn text. Left/Top place the mask's top-left
// pixel relative to the baseline origin of the text; rows run downwards.
struct TCoverageMask {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha; // Width * Height, row by row
    uint8_t At(int X, int Y) const { return Alpha[static_cast<size_t>(Y) * Width + X]; }
};

// A closed polygon of an outlined text, relative to the baseline origin (y grows downwards).
using TOutlinePolygon = std::vector<TPoint>;

// Deterministic metrics: every character advances round(cell height / 2), ascent is
// ceil(cell height * 0.8), the rest is descent, no kerning, no leading, and each visible
// character covers its whole cell. Fonts requested while it is on use it; the font cache is
// keyed by the mode, so switching is safe at any time (tests switch it in SetUp).
void SetDeterministicFontMetrics(bool Value);
bool DeterministicFontMetrics();

// The family a Windows face name stands for ("Arial" -> "Liberation Sans"); any other name
// maps to "DejaVu Sans".
std::string MapFaceName(const std::string& FaceName);
// Whether fontconfig knows a face of this family (tests skip when fonts are missing).
bool FontFamilyInstalled(const std::string& Family);
// Every family name fontconfig has a face for (each of a face's names), in byte order, each once.
std::vector<std::string> InstalledFontFamilies();
// The same families as the sorted list Screen->Fonts and Printer()->Fonts show.
std::unique_ptr<TStringList> InstalledFontList();

// A font family of the screen and its pitch: FIXED_PITCH or VARIABLE_PITCH (the low bits of a
// logical font's pitch-and-family, where FIXED_PITCH set means fixed).
struct TFontFamilyPitch {
    std::string Name;
    int Pitch = VARIABLE_PITCH;
    friend bool operator==(const TFontFamilyPitch&, const TFontFamilyPitch&) = default;
};
// The families of InstalledFontFamilies, in the same order, each with its pitch: fixed when
// every face of the family is monospaced or a character-cell font by fontconfig's spacing.
// Under deterministic metrics every face is fixed.
std::vector<TFontFamilyPitch> ScreenFontFamilies();

// The code point a byte of a symbol-charset font stands for ("Symbol": 183 -> U+2022).
char32_t SymbolCharToUnicode(const std::string& FaceName, unsigned char Byte);

struct TFontFace; // the FreeType face behind an instance

// A resolved font. Instances are shared and immutable after creation; every FreeType call is
// made under one lock, so painter threads may use them.
class TFontInstance : public TTextMeasure {
public:
    // The cached instance for Request (in the current metrics mode).
    static std::shared_ptr<TFontInstance> Get(const TFontRequest& Request);
    ~TFontInstance() override;
    TFontInstance(const TFontInstance&) = delete;
    TFontInstance& operator=(const TFontInstance&) = delete;

    const TFontRequest& Request() const { return FRequest; }
    const TTextMetric& Metrics() const { return FMetrics; }
    bool Deterministic() const { return Face == nullptr; }
    const std::string& FamilyName() const { return FFamilyName; } // "" when deterministic
    const std::string& FilePath() const { return FFilePath; }

    // The code points the bytes stand for (UTF-8 when valid, else Windows-1252; a symbol
    // charset through its table), with the byte offset of each when Offsets is given.
    std::u32string Decode(const std::string& Text, std::vector<size_t>* Offsets = nullptr,
                          TTextCoding Coding = tcAuto) const;
    int CharAdvance(char32_t Code) const;
    // Width (sum of advances, CharExtra after each character; no kerning, as the classic
    // TextOut) and cell height.
    TSize TextExtent(const std::string& Text, int CharExtra = 0, TTextCoding Coding = tcAuto) const;
    // Text.size() + 1 x positions: entry I is where the character holding byte I starts
    // (the last is the total width), for carets and fitting.
    std::vector<int> CaretPositions(const std::string& Text, int CharExtra = 0,
                                    TTextCoding Coding = tcAuto) const;

    // The coverage of Text drawn with its baseline origin at (0, 0), turned by the escapement,
    // with underline and strike-out lines. Advances, when given, hold one pen step per
    // character (as Decode counts them) in place of the font's.
    TCoverageMask Render(const std::string& Text, int CharExtra = 0,
                         const std::vector<int>* Advances = nullptr,
                         TTextCoding Coding = tcAuto) const;
    // The glyph outlines as flattened polygons, same placement as Render (no lines).
    std::vector<TOutlinePolygon> Outline(const std::string& Text, int CharExtra = 0,
                                         TTextCoding Coding = tcAuto) const;

    // Where the baseline origin lies relative to the top-left reference point of the text
    // cell (TextOut's point), turned by the escapement.
    TPoint BaselineFromTop() const { return Turn(0, FMetrics.tmAscent); }
    // An offset along the text (X forwards, Y downwards) turned by the escapement.
    TPoint Turn(int DX, int DY) const;

    // TTextMeasure
    int LineHeight() const override { return FMetrics.tmHeight; }
    int ExternalLeading() const override { return FMetrics.tmExternalLeading; }
    int AveCharWidth() const override { return FMetrics.tmAveCharWidth; }
    int TextWidth(const std::string& Text) const override { return TextExtent(Text).cx; }
    int CodedTextWidth(const std::string& Text, TTextCoding Coding) const override
    {
        return TextExtent(Text, 0, Coding).cx;
    }

private:
    explicit TFontInstance(const TFontRequest& Request);
    void Resolve();
    void ComputeDeterministicMetrics();
    void ComputeFaceMetrics();
    std::vector<int> PenPositions(const std::u32string& Codes, int CharExtra,
                                  const std::vector<int>* Advances) const;
    int AdvanceLocked(char32_t Code) const;

    TFontRequest FRequest;
    TTextMetric FMetrics;
    std::string FFamilyName;
    std::string FFilePath;
    std::unique_ptr<TFontFace> Face;
    bool SymbolTable = false;
    int CellHeight = 0;
    double EmPixels = 0;
    double Angle = 0;                       // radians
    mutable std::vector<int> AsciiAdvances; // cache for codes below 256, -1 = not yet
};
