#include "platform/gfx/pdffonts.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

const char* const FontNames[PdfStandardFontCount] = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique"};

// The faces with the standard fonts' metrics that the widths are measured on.
const char* const MetricFaces[3] = {"Liberation Sans", "Liberation Serif", "Liberation Mono"};

// Windows-1252 bytes 0x80..0x9F (0: none).
const char32_t WinAnsiHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool Contains(const std::string& Text, const char* Part)
{
    return Text.find(Part) != std::string::npos;
}

std::string Lower(std::string S)
{
    for (char& C : S)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    return S;
}

} // namespace

const char* PdfFontName(TPdfStandardFont Font)
{
    return FontNames[Font];
}

TPdfStandardFont PdfStandardFontFor(const TFontRequest& Request)
{
    const std::string Face = Lower(Request.FaceName);
    const std::string Family = Lower(MapFaceName(Request.FaceName));
    const int Pitch = Request.PitchAndFamily & 0x03;
    const int FamilyBits = Request.PitchAndFamily & 0xF0;
    int Base = 0; // Helvetica
    if (Pitch == FIXED_PITCH || FamilyBits == FF_MODERN || Contains(Family, "mono") ||
        Contains(Face, "courier") || Contains(Face, "mono") || Contains(Face, "console"))
        Base = 8;
    else if (FamilyBits == FF_ROMAN || Contains(Face, "times") || Contains(Face, "roman") ||
             (Contains(Family, "serif") && !Contains(Family, "sans")))
        Base = 4;
    const bool Bold = Request.Weight >= FW_BOLD;
    return static_cast<TPdfStandardFont>(Base + (Bold ? 1 : 0) + (Request.Italic ? 2 : 0));
}

unsigned char WinAnsiByte(char32_t Code)
{
    if ((Code >= 0x20 && Code < 0x7F) || (Code >= 0xA0 && Code <= 0xFF))
        return static_cast<unsigned char>(Code);
    for (int I = 0; I < 32; ++I)
        if (WinAnsiHigh[I] != 0 && WinAnsiHigh[I] == Code)
            return static_cast<unsigned char>(0x80 + I);
    return '?';
}

const std::array<int, PdfLastChar - PdfFirstChar + 1>& PdfFontWidths(TPdfStandardFont Font)
{
    using TWidths = std::array<int, PdfLastChar - PdfFirstChar + 1>;
    static std::mutex Lock;
    static std::map<std::pair<int, bool>, TWidths> Cache; // by font and metrics mode
    const std::lock_guard<std::mutex> Guard(Lock);
    const std::pair<int, bool> Key{Font, DeterministicFontMetrics()};
    auto Found = Cache.find(Key);
    if (Found != Cache.end())
        return Found->second;
    TFontRequest Request;
    Request.FaceName = MetricFaces[Font / 4];
    Request.Height = -1000;
    Request.Weight = Font % 2 ? FW_BOLD : FW_NORMAL;
    Request.Italic = Font % 4 >= 2;
    const auto Instance = TFontInstance::Get(Request);
    TWidths Widths{};
    for (int Byte = PdfFirstChar; Byte <= PdfLastChar; ++Byte) {
        const char32_t Code = Byte >= 0x80 && Byte < 0xA0 && WinAnsiHigh[Byte - 0x80]
                                  ? WinAnsiHigh[Byte - 0x80]
                                  : static_cast<char32_t>(Byte);
        Widths[static_cast<std::size_t>(Byte - PdfFirstChar)] = Instance->CharAdvance(Code);
    }
    return Cache.emplace(Key, Widths).first->second;
}
