#include "platform/gfx/fontengine.h"

#include "platform/rtl/strings.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <map>
#include <tuple>

// The FreeType face of a resolved font and how it is adjusted.
struct TFontFace {
    FT_Face Face = nullptr;
    bool Embolden = false; // bold asked of a face that has none
    bool Oblique = false;  // italic asked of a face that has none
    FT_Pos EmboldenStrength = 0;
};

namespace {

// Every FreeType and fontconfig call is made under this lock.
std::mutex& EngineMutex()
{
    static std::mutex Mutex;
    return Mutex;
}

FT_Library Library()
{
    static FT_Library Lib = [] {
        FT_Library L = nullptr;
        if (FT_Init_FreeType(&L) != 0)
            L = nullptr;
        return L;
    }();
    return Lib;
}

std::atomic<bool> Deterministic{false};

constexpr double Pi = 3.14159265358979323846;

// ---- Decoding ------------------------------------------------------------------------------

constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Symbol face's bytes from 0x20; 0 where the byte stands for itself.
constexpr char16_t SymbolLow[95] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, // 20..29
    0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, // 2A..33
    0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, // 34..3D
    0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, // 3E..47
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, // 48..51
    0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B, // 52..5B
    0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, // 5C..65
    0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, // 66..6F
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, // 70..79
    0x03B6, 0x007B, 0x007C, 0x007D, 0x223C};                                        // 7A..7E

constexpr char16_t SymbolHigh[96] = {
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, // A0..A9
    0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, // AA..B3
    0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, // B4..BD
    0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, // BE..C7
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, // C8..D1
    0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, // D2..DB
    0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, // DC..E5
    0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA, // E6..EF
    0x0000, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, // F0..F9
    0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0x0000};                                // FA..FF

// The few Wingdings bytes forms use as list marks and check marks.
struct TSymbolPair {
    unsigned char Byte;
    char32_t Code;
};
constexpr TSymbolPair WingdingsCodes[] = {
    {0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x6F, 0x25A1}, {0x71, 0x2751}, {0x75, 0x25C6},
    {0x9F, 0x2022}, {0xA7, 0x25AA}, {0xA8, 0x25FB}, {0xD8, 0x27A2}, {0xE0, 0x2192},
    {0xE8, 0x2794}, {0xFB, 0x2717}, {0xFC, 0x2713}, {0xFD, 0x2612}, {0xFE, 0x2611}};

bool IsControl(char32_t Code)
{
    return Code < 0x20 || Code == 0x7F;
}

bool IsBlankCode(char32_t Code)
{
    return Code == 0x20 || Code == 0xA0 || (Code >= 0x2000 && Code <= 0x200B) || Code == 0x3000;
}

std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

// ---- fontconfig ----------------------------------------------------------------------------

struct TFaceMatch {
    std::string File;
    int Index = 0;
    std::string Family;
    int Weight = FC_WEIGHT_REGULAR;
    int Slant = FC_SLANT_ROMAN;
};

// fontconfig's answer for a family, weight and slant; false when it has none at all.
bool MatchFace(const std::string& Family, int Weight, bool Italic, TFaceMatch& Match)
{
    FcPattern* Pattern = FcPatternCreate();
    if (!Pattern)
        return false;
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddInteger(Pattern, FC_WEIGHT, FcWeightFromOpenType(Weight));
    FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
    FcDefaultSubstitute(Pattern);
    FcResult Result = FcResultNoMatch;
    FcPattern* Found = FcFontMatch(nullptr, Pattern, &Result);
    FcPatternDestroy(Pattern);
    if (!Found)
        return false;
    FcChar8* Value = nullptr;
    bool Ok = FcPatternGetString(Found, FC_FILE, 0, &Value) == FcResultMatch && Value;
    if (Ok) {
        Match.File = reinterpret_cast<const char*>(Value);
        if (FcPatternGetString(Found, FC_FAMILY, 0, &Value) == FcResultMatch && Value)
            Match.Family = reinterpret_cast<const char*>(Value);
        FcPatternGetInteger(Found, FC_INDEX, 0, &Match.Index);
        FcPatternGetInteger(Found, FC_WEIGHT, 0, &Match.Weight);
        FcPatternGetInteger(Found, FC_SLANT, 0, &Match.Slant);
    }
    FcPatternDestroy(Found);
    return Ok;
}

// ---- Rasterising ---------------------------------------------------------------------------

struct TPiece {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha;
};

// Coverage of an outline in 26.6 units, y up, placed with device rows (y down).
bool RasterizeOutline(FT_Outline* Outline, TPiece& Piece)
{
    FT_BBox Box;
    FT_Outline_Get_CBox(Outline, &Box);
    FT_Pos X0 = Box.xMin & ~63, Y0 = Box.yMin & ~63;
    FT_Pos X1 = (Box.xMax + 63) & ~63, Y1 = (Box.yMax + 63) & ~63;
    Piece.Width = static_cast<int>((X1 - X0) >> 6);
    Piece.Height = static_cast<int>((Y1 - Y0) >> 6);
    // Guards against absurd sizes from absurd heights.
    if (Piece.Width <= 0 || Piece.Height <= 0 ||
        static_cast<long long>(Piece.Width) * Piece.Height > 64LL * 1024 * 1024)
        return false;
    Piece.Left = static_cast<int>(X0 >> 6);
    Piece.Top = -static_cast<int>(Y1 >> 6);
    Piece.Alpha.assign(static_cast<size_t>(Piece.Width) * Piece.Height, 0);
    FT_Bitmap Bitmap{};
    Bitmap.rows = static_cast<unsigned>(Piece.Height);
    Bitmap.width = static_cast<unsigned>(Piece.Width);
    Bitmap.pitch = Piece.Width;
    Bitmap.buffer = Piece.Alpha.data();
    Bitmap.num_grays = 256;
    Bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    FT_Outline_Translate(Outline, -X0, -Y0);
    FT_Error Error = FT_Outline_Get_Bitmap(Library(), Outline, &Bitmap);
    FT_Outline_Translate(Outline, X0, Y0);
    return Error == 0;
}

FT_Matrix RotationMatrix(double Angle)
{
    FT_Matrix M;
    M.xx = static_cast<FT_Fixed>(std::lround(std::cos(Angle) * 65536.0));
    M.xy = static_cast<FT_Fixed>(std::lround(-std::sin(Angle) * 65536.0));
    M.yx = static_cast<FT_Fixed>(std::lround(std::sin(Angle) * 65536.0));
    M.yy = M.xx;
    return M;
}

// A rectangle along the baseline (X forwards, Y downwards, in pixels) turned by Angle.
bool RasterizeBox(double X0, double Y0, double X1, double Y1, double Angle, TPiece& Piece)
{
    FT_Outline Outline;
    if (FT_Outline_New(Library(), 4, 1, &Outline) != 0)
        return false;
    const double Xs[4] = {X0, X1, X1, X0};
    const double Ys[4] = {Y0, Y0, Y1, Y1};
    const double C = std::cos(Angle), S = std::sin(Angle);
    for (int I = 0; I < 4; ++I) {
        // Device y down becomes FreeType y up.
        double X = Xs[I], Y = -Ys[I];
        Outline.points[I].x = static_cast<FT_Pos>(std::lround((X * C - Y * S) * 64));
        Outline.points[I].y = static_cast<FT_Pos>(std::lround((X * S + Y * C) * 64));
        Outline.tags[I] = FT_CURVE_TAG_ON;
    }
    Outline.contours[0] = 3;
    bool Ok = RasterizeOutline(&Outline, Piece);
    FT_Outline_Done(Library(), &Outline);
    return Ok;
}

TCoverageMask Compose(const std::vector<TPiece>& Pieces)
{
    TCoverageMask Mask;
    if (Pieces.empty())
        return Mask;
    int L = Pieces[0].Left, T = Pieces[0].Top;
    int R = L + Pieces[0].Width, B = T + Pieces[0].Height;
    for (const TPiece& P : Pieces) {
        L = std::min(L, P.Left);
        T = std::min(T, P.Top);
        R = std::max(R, P.Left + P.Width);
        B = std::max(B, P.Top + P.Height);
    }
    Mask.Left = L;
    Mask.Top = T;
    Mask.Width = R - L;
    Mask.Height = B - T;
    Mask.Alpha.assign(static_cast<size_t>(Mask.Width) * Mask.Height, 0);
    for (const TPiece& P : Pieces)
        for (int Y = 0; Y < P.Height; ++Y) {
            uint8_t* Row =
                &Mask.Alpha[static_cast<size_t>(P.Top - T + Y) * Mask.Width + (P.Left - L)];
            const uint8_t* Src = &P.Alpha[static_cast<size_t>(Y) * P.Width];
            for (int X = 0; X < P.Width; ++X)
                Row[X] = std::max(Row[X], Src[X]);
        }
    return Mask;
}

// ---- Outlines as polygons ------------------------------------------------------------------

struct TFlattener {
    std::vector<TOutlinePolygon>* Polygons;
    FT_Vector Last{0, 0};

    void Add(double X, double Y)
    {
        TPoint P{static_cast<int>(std::lround(X / 64.0)), static_cast<int>(std::lround(-Y / 64.0))};
        TOutlinePolygon& Poly = Polygons->back();
        if (Poly.empty() || !(Poly.back() == P))
            Poly.push_back(P);
    }
};

constexpr int CurveSteps = 8;

int MoveTo(const FT_Vector* To, void* User)
{
    auto* F = static_cast<TFlattener*>(User);
    F->Polygons->emplace_back();
    F->Add(static_cast<double>(To->x), static_cast<double>(To->y));
    F->Last = *To;
    return 0;
}

int LineTo(const FT_Vector* To, void* User)
{
    auto* F = static_cast<TFlattener*>(User);
    F->Add(static_cast<double>(To->x), static_cast<double>(To->y));
    F->Last = *To;
    return 0;
}

int ConicTo(const FT_Vector* Control, const FT_Vector* To, void* User)
{
    auto* F = static_cast<TFlattener*>(User);
    for (int I = 1; I <= CurveSteps; ++I) {
        double T = static_cast<double>(I) / CurveSteps, U = 1 - T;
        double X = U * U * F->Last.x + 2 * U * T * Control->x + T * T * To->x;
        double Y = U * U * F->Last.y + 2 * U * T * Control->y + T * T * To->y;
        F->Add(X, Y);
    }
    F->Last = *To;
    return 0;
}

int CubicTo(const FT_Vector* C1, const FT_Vector* C2, const FT_Vector* To, void* User)
{
    auto* F = static_cast<TFlattener*>(User);
    for (int I = 1; I <= CurveSteps; ++I) {
        double T = static_cast<double>(I) / CurveSteps, U = 1 - T;
        double X = U * U * U * F->Last.x + 3 * U * U * T * C1->x + 3 * U * T * T * C2->x +
                   T * T * T * To->x;
        double Y = U * U * U * F->Last.y + 3 * U * U * T * C1->y + 3 * U * T * T * C2->y +
                   T * T * T * To->y;
        F->Add(X, Y);
    }
    F->Last = *To;
    return 0;
}

// The average width of lowercase text in font units, letters weighted by how often they occur
// in English. Newer faces store a plain average of all glyphs instead, which makes tab stops
// and dialog units wider than the faces they stand in for.
double WeightedAverageWidth(FT_Face F)
{
    static const int Weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                    56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};
    double Sum = 0;
    for (int I = 0; I < 27; ++I) {
        char32_t Code = I < 26 ? static_cast<char32_t>('a' + I) : U' ';
        if (FT_Load_Char(F, Code, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
            return 0;
        Sum += static_cast<double>(F->glyph->advance.x) * Weights[I];
    }
    return Sum / 1000.0;
}

// ---- The cache -----------------------------------------------------------------------------

using TCacheKey = std::tuple<bool, std::string, int, int, bool, bool, bool, int, int, int, int>;

TCacheKey KeyOf(const TFontRequest& R, bool Mode)
{
    return TCacheKey{Mode,         Lower(R.FaceName), R.Height,  R.Weight,         R.Italic,
                     R.Underline,  R.StrikeOut,       R.CharSet, R.PitchAndFamily, R.Escapement,
                     R.Orientation};
}

constexpr size_t CacheLimit = 256;

} // namespace

// ---- Public functions ----------------------------------------------------------------------

void SetDeterministicFontMetrics(bool Value)
{
    Deterministic = Value;
}

bool DeterministicFontMetrics()
{
    return Deterministic;
}

std::string MapFaceName(const std::string& FaceName)
{
    static const std::map<std::string, std::string> Table = {
        {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"microsoft sans serif", "Liberation Sans"},
        {"tahoma", "Liberation Sans"},
        {"verdana", "Liberation Sans"},
        {"ms shell dlg", "Liberation Sans"},
        {"ms shell dlg 2", "Liberation Sans"},
        {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
        {"fixedsys", "Liberation Mono"},
        {"terminal", "Liberation Mono"},
        {"liberation sans", "Liberation Sans"},
        {"liberation serif", "Liberation Serif"},
        {"liberation mono", "Liberation Mono"},
        {"dejavu sans mono", "DejaVu Sans Mono"},
        {"dejavu serif", "DejaVu Serif"},
    };
    auto It = Table.find(Lower(FaceName));
    return It == Table.end() ? "DejaVu Sans" : It->second;
}

bool FontFamilyInstalled(const std::string& Family)
{
    std::lock_guard<std::mutex> Lock(EngineMutex());
    FcPattern* Pattern = FcPatternCreate();
    FcObjectSet* Objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, nullptr);
    if (!Pattern || !Objects) {
        if (Pattern)
            FcPatternDestroy(Pattern);
        if (Objects)
            FcObjectSetDestroy(Objects);
        return false;
    }
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcFontSet* Set = FcFontList(nullptr, Pattern, Objects);
    bool Found = Set && Set->nfont > 0;
    if (Set)
        FcFontSetDestroy(Set);
    FcObjectSetDestroy(Objects);
    FcPatternDestroy(Pattern);
    return Found;
}

std::vector<std::string> InstalledFontFamilies()
{
    std::vector<std::string> Families;
    std::lock_guard<std::mutex> Lock(EngineMutex());
    FcPattern* Pattern = FcPatternCreate();
    FcObjectSet* Objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* Set = Pattern && Objects ? FcFontList(nullptr, Pattern, Objects) : nullptr;
    if (Set) {
        for (int I = 0; I < Set->nfont; ++I) {
            FcChar8* Value = nullptr;
            for (int N = 0;
                 FcPatternGetString(Set->fonts[I], FC_FAMILY, N, &Value) == FcResultMatch; ++N)
                if (Value && *Value)
                    Families.emplace_back(reinterpret_cast<const char*>(Value));
        }
        FcFontSetDestroy(Set);
    }
    if (Objects)
        FcObjectSetDestroy(Objects);
    if (Pattern)
        FcPatternDestroy(Pattern);
    std::sort(Families.begin(), Families.end());
    Families.erase(std::unique(Families.begin(), Families.end()), Families.end());
    return Families;
}

std::vector<TFontFamilyPitch> ScreenFontFamilies()
{
    // Family -> all its faces fixed so far. A face without a spacing is proportional.
    std::map<std::string, bool> Fixed;
    {
        std::lock_guard<std::mutex> Lock(EngineMutex());
        FcPattern* Pattern = FcPatternCreate();
        FcObjectSet* Objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr);
        FcFontSet* Set = Pattern && Objects ? FcFontList(nullptr, Pattern, Objects) : nullptr;
        if (Set) {
            for (int I = 0; I < Set->nfont; ++I) {
                int Spacing = FC_PROPORTIONAL;
                FcPatternGetInteger(Set->fonts[I], FC_SPACING, 0, &Spacing);
                const bool FaceFixed = Spacing == FC_MONO || Spacing == FC_CHARCELL;
                FcChar8* Value = nullptr;
                for (int N = 0;
                     FcPatternGetString(Set->fonts[I], FC_FAMILY, N, &Value) == FcResultMatch;
                     ++N) {
                    if (!Value || !*Value)
                        continue;
                    auto Inserted = Fixed.emplace(reinterpret_cast<const char*>(Value), FaceFixed);
                    if (!Inserted.second)
                        Inserted.first->second = Inserted.first->second && FaceFixed;
                }
            }
            FcFontSetDestroy(Set);
        }
        if (Objects)
            FcObjectSetDestroy(Objects);
        if (Pattern)
            FcPatternDestroy(Pattern);
    }
    const bool AllFixed = DeterministicFontMetrics();
    std::vector<TFontFamilyPitch> Families;
    Families.reserve(Fixed.size());
    for (const auto& Entry : Fixed)
        Families.push_back({Entry.first, AllFixed || Entry.second ? FIXED_PITCH : VARIABLE_PITCH});
    return Families;
}

char32_t SymbolCharToUnicode(const std::string& FaceName, unsigned char Byte)
{
    if (Lower(FaceName) == "wingdings") {
        for (const TSymbolPair& P : WingdingsCodes)
            if (P.Byte == Byte)
                return P.Code;
        return Byte;
    }
    char32_t Code = 0;
    if (Byte >= 0x20 && Byte <= 0x7E)
        Code = SymbolLow[Byte - 0x20];
    else if (Byte >= 0xA0)
        Code = SymbolHigh[Byte - 0xA0];
    return Code ? Code : Byte;
}

// ---- TFontInstance -------------------------------------------------------------------------

std::shared_ptr<TFontInstance> TFontInstance::Get(const TFontRequest& Request)
{
    static std::mutex CacheMutex;
    static std::map<TCacheKey, std::shared_ptr<TFontInstance>> Cache;
    const bool Mode = DeterministicFontMetrics();
    TCacheKey Key = KeyOf(Request, Mode);
    std::lock_guard<std::mutex> Lock(CacheMutex);
    auto It = Cache.find(Key);
    if (It != Cache.end())
        return It->second;
    if (Cache.size() >= CacheLimit)
        for (auto Old = Cache.begin(); Old != Cache.end();)
            Old = Old->second.use_count() == 1 ? Cache.erase(Old) : std::next(Old);
    std::shared_ptr<TFontInstance> Font(new TFontInstance(Request));
    if (!Mode)
        Font->Resolve();
    if (Font->Face)
        Font->ComputeFaceMetrics();
    else
        Font->ComputeDeterministicMetrics();
    Cache.emplace(Key, Font);
    return Font;
}

TFontInstance::TFontInstance(const TFontRequest& Request) : FRequest(Request)
{
    const std::string Wanted = Lower(Request.FaceName);
    SymbolTable =
        Wanted == "symbol" || (Request.CharSet == SYMBOL_CHARSET && Wanted == "wingdings");
    Angle = Request.Escapement / 10.0 * Pi / 180.0;
    AsciiAdvances.assign(256, -1);
}

TFontInstance::~TFontInstance()
{
    if (Face && Face->Face) {
        std::lock_guard<std::mutex> Lock(EngineMutex());
        FT_Done_Face(Face->Face);
    }
}

// Finds the face file through fontconfig and opens it; leaves Face empty (deterministic
// metrics) when no font file can be opened at all.
void TFontInstance::Resolve()
{
    std::lock_guard<std::mutex> Lock(EngineMutex());
    if (!Library())
        return;
    const std::string Family = MapFaceName(FRequest.FaceName);
    const int Weight = FRequest.Weight <= 0 ? FW_NORMAL : std::clamp(FRequest.Weight, 1, 1000);
    std::vector<TFaceMatch> Candidates;
    TFaceMatch Match;
    if (MatchFace(Family, Weight, FRequest.Italic, Match))
        Candidates.push_back(Match);
    // fontconfig answers with whatever it has; a missing stand-in falls back to DejaVu Sans.
    if (Candidates.empty() || Lower(Candidates[0].Family) != Lower(Family)) {
        TFaceMatch DejaVu;
        if (MatchFace("DejaVu Sans", Weight, FRequest.Italic, DejaVu) &&
            Lower(DejaVu.Family) == "dejavu sans")
            Candidates.insert(Candidates.begin(), DejaVu);
    }
    for (const TFaceMatch& M : Candidates) {
        FT_Face F = nullptr;
        if (FT_New_Face(Library(), M.File.c_str(), M.Index, &F) != 0)
            continue;
        if (!FT_IS_SCALABLE(F) || F->units_per_EM == 0) {
            FT_Done_Face(F);
            continue;
        }
        Face = std::make_unique<TFontFace>();
        Face->Face = F;
        Face->Embolden = Weight >= 600 && M.Weight < FC_WEIGHT_DEMIBOLD;
        Face->Oblique = FRequest.Italic && M.Slant == FC_SLANT_ROMAN;
        FFamilyName = M.Family;
        FFilePath = M.File;
        FT_Select_Charmap(F, FT_ENCODING_UNICODE);
        return;
    }
}

void TFontInstance::ComputeDeterministicMetrics()
{
    int H = FRequest.Height == 0 ? DefaultFontCellHeight : std::abs(FRequest.Height);
    H = std::min(H, 10000);
    CellHeight = H;
    EmPixels = H;
    TTextMetric& M = FMetrics;
    M.tmHeight = H;
    M.tmAscent = (4 * H + 4) / 5;
    M.tmDescent = H - M.tmAscent;
    M.tmAveCharWidth = (H + 1) / 2;
    M.tmMaxCharWidth = M.tmAveCharWidth;
    M.tmWeight = FRequest.Weight <= 0 ? FW_NORMAL : FRequest.Weight;
    M.tmItalic = FRequest.Italic;
    M.tmUnderlined = FRequest.Underline;
    M.tmStruckOut = FRequest.StrikeOut;
    M.tmPitchAndFamily = TMPF_TRUETYPE | TMPF_VECTOR | FF_SWISS;
    M.tmCharSet = static_cast<unsigned char>(
        SymbolTable ? SYMBOL_CHARSET
                    : (FRequest.CharSet == DEFAULT_CHARSET ? ANSI_CHARSET : FRequest.CharSet));
}

// Cell metrics from the face's Windows ascent and descent, as the classic rasteriser derives
// them: a cell height scales the em so that ascent + descent fill it; a character height is
// the em itself, and the cell is that plus the internal leading.
void TFontInstance::ComputeFaceMetrics()
{
    std::lock_guard<std::mutex> Lock(EngineMutex());
    FT_Face F = Face->Face;
    const auto* OS2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
    const auto* Hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(F, FT_SFNT_HHEA));
    double Asc = F->ascender, Desc = -F->descender;
    if (OS2 && OS2->usWinAscent + OS2->usWinDescent > 0) {
        Asc = OS2->usWinAscent;
        Desc = OS2->usWinDescent;
    }
    if (Asc + Desc <= 0) {
        Asc = F->units_per_EM * 0.8;
        Desc = F->units_per_EM * 0.2;
    }
    const double Units = F->units_per_EM;
    TTextMetric& M = FMetrics;
    int Requested = FRequest.Height == 0 ? DefaultFontCellHeight : FRequest.Height;
    Requested = std::clamp(Requested, -10000, 10000);
    double Scale;
    if (Requested > 0) {
        Scale = Requested / (Asc + Desc);
        M.tmAscent = static_cast<int>(std::lround(Asc * Scale));
        M.tmDescent = Requested - M.tmAscent;
    } else {
        Scale = -Requested / Units;
        M.tmAscent = static_cast<int>(std::ceil(Asc * Scale - 1e-6));
        M.tmDescent = static_cast<int>(std::ceil(Desc * Scale - 1e-6));
    }
    M.tmHeight = M.tmAscent + M.tmDescent;
    EmPixels = Units * Scale;
    CellHeight = M.tmHeight;
    M.tmInternalLeading = std::max(0, M.tmHeight - static_cast<int>(std::lround(EmPixels)));
    if (Hhea) {
        double Gap = Hhea->Line_Gap - ((Asc + Desc) - (Hhea->Ascender - Hhea->Descender));
        M.tmExternalLeading = std::max(0, static_cast<int>(std::lround(Gap * Scale)));
    }
    FT_Set_Char_Size(F, 0, std::max<FT_F26Dot6>(1, std::lround(EmPixels * 64)), 72, 72);
    if (Face->Embolden)
        Face->EmboldenStrength = std::max<FT_Pos>(32, std::lround(EmPixels * 64 / 24));

    M.tmAveCharWidth = static_cast<int>(std::lround(WeightedAverageWidth(F) * Scale));
    if (M.tmAveCharWidth <= 0 && OS2 && OS2->xAvgCharWidth > 0)
        M.tmAveCharWidth = static_cast<int>(std::lround(OS2->xAvgCharWidth * Scale));
    if (M.tmAveCharWidth <= 0)
        M.tmAveCharWidth = std::max(1, AdvanceLocked('x'));
    M.tmMaxCharWidth = static_cast<int>(std::ceil(F->max_advance_width * Scale - 1e-6));
    M.tmWeight = FRequest.Weight <= 0 ? FW_NORMAL : FRequest.Weight;
    M.tmItalic = FRequest.Italic;
    M.tmUnderlined = FRequest.Underline;
    M.tmStruckOut = FRequest.StrikeOut;
    const std::string Family = Lower(FFamilyName);
    int FamilyBits = FF_SWISS;
    if (FT_IS_FIXED_WIDTH(F) || Family.find("mono") != std::string::npos)
        FamilyBits = FF_MODERN;
    else if (Family.find("serif") != std::string::npos && Family.find("sans") == std::string::npos)
        FamilyBits = FF_ROMAN;
    M.tmPitchAndFamily = static_cast<unsigned char>(
        TMPF_TRUETYPE | TMPF_VECTOR | (FT_IS_FIXED_WIDTH(F) ? 0 : TMPF_FIXED_PITCH) | FamilyBits);
    M.tmCharSet = static_cast<unsigned char>(
        SymbolTable ? SYMBOL_CHARSET
                    : (FRequest.CharSet == DEFAULT_CHARSET ? ANSI_CHARSET : FRequest.CharSet));
}

std::u32string TFontInstance::Decode(const std::string& Text, std::vector<size_t>* Offsets,
                                     TTextCoding Coding) const
{
    std::u32string Codes;
    if (Offsets)
        Offsets->clear();
    if (SymbolTable) {
        for (size_t I = 0; I < Text.size(); ++I) {
            Codes += SymbolCharToUnicode(FRequest.FaceName, static_cast<unsigned char>(Text[I]));
            if (Offsets)
                Offsets->push_back(I);
        }
        return Codes;
    }
    if (Coding == tcUtf8 || (Coding == tcAuto && IsValidUtf8(Text))) {
        size_t I = 0;
        while (I < Text.size()) {
            if (Offsets)
                Offsets->push_back(I);
            size_t Start = I;
            char32_t Code = 0;
            if (!DecodeUtf8At(Text, I, Code)) {
                I = Start + 1; // a stray byte of text said to be UTF-8
                Code = 0xFFFD;
            }
            Codes += Code;
        }
        return Codes;
    }
    for (size_t I = 0; I < Text.size(); ++I) {
        unsigned char B = static_cast<unsigned char>(Text[I]);
        Codes += (B >= 0x80 && B < 0xA0) ? static_cast<char32_t>(Cp1252High[B - 0x80]) : B;
        if (Offsets)
            Offsets->push_back(I);
    }
    return Codes;
}

// Control characters take no room and draw nothing.
int TFontInstance::AdvanceLocked(char32_t Code) const
{
    if (IsControl(Code))
        return 0;
    if (!Face)
        return FMetrics.tmAveCharWidth;
    if (Code < 256 && AsciiAdvances[Code] >= 0)
        return AsciiAdvances[Code];
    FT_Face F = Face->Face;
    int Advance = 0;
    if (FT_Load_Char(F, Code, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
        Advance = static_cast<int>((F->glyph->advance.x + 32) >> 6);
        if (Face->Embolden)
            Advance += static_cast<int>((Face->EmboldenStrength + 32) >> 6);
    }
    if (Code < 256)
        AsciiAdvances[Code] = Advance;
    return Advance;
}

int TFontInstance::CharAdvance(char32_t Code) const
{
    if (!Face)
        return AdvanceLocked(Code);
    std::lock_guard<std::mutex> Lock(EngineMutex());
    return AdvanceLocked(Code);
}

std::vector<int> TFontInstance::PenPositions(const std::u32string& Codes, int CharExtra,
                                             const std::vector<int>* Advances) const
{
    std::vector<int> Pen(Codes.size() + 1, 0);
    std::unique_lock<std::mutex> Lock(EngineMutex(), std::defer_lock);
    if (Face)
        Lock.lock();
    for (size_t I = 0; I < Codes.size(); ++I) {
        int Step = (Advances && I < Advances->size()) ? (*Advances)[I]
                                                      : AdvanceLocked(Codes[I]) + CharExtra;
        Pen[I + 1] = Pen[I] + Step;
    }
    return Pen;
}

TSize TFontInstance::TextExtent(const std::string& Text, int CharExtra, TTextCoding Coding) const
{
    std::u32string Codes = Decode(Text, nullptr, Coding);
    return TSize{PenPositions(Codes, CharExtra, nullptr).back(), FMetrics.tmHeight};
}

std::vector<int> TFontInstance::CaretPositions(const std::string& Text, int CharExtra,
                                               TTextCoding Coding) const
{
    std::vector<size_t> Offsets;
    std::u32string Codes = Decode(Text, &Offsets, Coding);
    std::vector<int> Pen = PenPositions(Codes, CharExtra, nullptr);
    std::vector<int> Result(Text.size() + 1, Pen.back());
    for (size_t C = 0; C < Codes.size(); ++C) {
        size_t End = C + 1 < Offsets.size() ? Offsets[C + 1] : Text.size();
        for (size_t B = Offsets[C]; B < End; ++B)
            Result[B] = Pen[C];
    }
    return Result;
}

TPoint TFontInstance::Turn(int DX, int DY) const
{
    if (Angle == 0)
        return TPoint{DX, DY};
    // Counter-clockwise on the screen, where y grows downwards.
    const double C = std::cos(Angle), S = std::sin(Angle);
    return TPoint{static_cast<int>(std::lround(DX * C + DY * S)),
                  static_cast<int>(std::lround(-DX * S + DY * C))};
}

TCoverageMask TFontInstance::Render(const std::string& Text, int CharExtra,
                                    const std::vector<int>* Advances, TTextCoding Coding) const
{
    std::u32string Codes = Decode(Text, nullptr, Coding);
    std::vector<int> Pen = PenPositions(Codes, CharExtra, Advances);
    std::vector<TPiece> Pieces;
    std::lock_guard<std::mutex> Lock(EngineMutex());
    if (!Library())
        return TCoverageMask{};
    const TTextMetric& M = FMetrics;

    if (!Face) {
        for (size_t I = 0; I < Codes.size(); ++I) {
            if (IsControl(Codes[I]) || IsBlankCode(Codes[I]) || Pen[I + 1] == Pen[I])
                continue;
            TPiece Piece;
            int Right = Pen[I] + std::min(M.tmAveCharWidth, Pen[I + 1] - Pen[I]);
            if (RasterizeBox(Pen[I], -M.tmAscent, Right, M.tmDescent, Angle, Piece))
                Pieces.push_back(std::move(Piece));
        }
    } else {
        FT_Face F = Face->Face;
        const FT_Matrix Rotation = RotationMatrix(Angle);
        const bool Turned = Angle != 0;
        FT_Int32 Flags = FT_LOAD_NO_BITMAP | (Turned || Face->Oblique ? FT_LOAD_NO_HINTING : 0);
        for (size_t I = 0; I < Codes.size(); ++I) {
            if (IsControl(Codes[I]) || IsBlankCode(Codes[I]))
                continue;
            if (FT_Load_Char(F, Codes[I], Flags) != 0 ||
                F->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
                continue;
            FT_Outline* Outline = &F->glyph->outline;
            if (Face->Embolden)
                FT_Outline_Embolden(Outline, Face->EmboldenStrength);
            if (Face->Oblique) {
                FT_Matrix Shear{0x10000, 0x3800, 0, 0x10000};
                FT_Outline_Transform(Outline, &Shear);
            }
            if (Turned)
                FT_Outline_Transform(Outline, &Rotation);
            FT_Outline_Translate(Outline,
                                 static_cast<FT_Pos>(std::lround(Pen[I] * std::cos(Angle) * 64)),
                                 static_cast<FT_Pos>(std::lround(Pen[I] * std::sin(Angle) * 64)));
            TPiece Piece;
            if (RasterizeOutline(Outline, Piece))
                Pieces.push_back(std::move(Piece));
        }
    }

    // Underline and strike-out run the length of the text.
    const int Length = Pen.back();
    if (Length > 0 && (FRequest.Underline || FRequest.StrikeOut)) {
        int Thickness = std::max(1, CellHeight / 14);
        int UnderTop = std::min(1, std::max(0, M.tmDescent - Thickness));
        int StrikeTop = -(M.tmAscent / 3) - Thickness / 2;
        if (Face) {
            FT_Face F = Face->Face;
            double Scale = EmPixels / F->units_per_EM;
            Thickness = std::max(1, static_cast<int>(std::lround(F->underline_thickness * Scale)));
            UnderTop =
                static_cast<int>(std::lround(-F->underline_position * Scale)) - Thickness / 2;
            const auto* OS2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(F, FT_SFNT_OS2));
            if (OS2 && OS2->yStrikeoutSize > 0)
                StrikeTop = -static_cast<int>(std::lround(OS2->yStrikeoutPosition * Scale));
            UnderTop = std::clamp(UnderTop, 0, std::max(0, M.tmDescent - Thickness));
        }
        TPiece Piece;
        if (FRequest.Underline &&
            RasterizeBox(0, UnderTop, Length, UnderTop + Thickness, Angle, Piece))
            Pieces.push_back(std::move(Piece));
        if (FRequest.StrikeOut &&
            RasterizeBox(0, StrikeTop, Length, StrikeTop + Thickness, Angle, Piece))
            Pieces.push_back(std::move(Piece));
    }
    return Compose(Pieces);
}

std::vector<TOutlinePolygon> TFontInstance::Outline(const std::string& Text, int CharExtra,
                                                    TTextCoding Coding) const
{
    std::u32string Codes = Decode(Text, nullptr, Coding);
    std::vector<int> Pen = PenPositions(Codes, CharExtra, nullptr);
    std::vector<TOutlinePolygon> Polygons;
    const double C = std::cos(Angle), S = std::sin(Angle);
    std::lock_guard<std::mutex> Lock(EngineMutex());
    const TTextMetric& M = FMetrics;
    for (size_t I = 0; I < Codes.size(); ++I) {
        if (IsControl(Codes[I]) || IsBlankCode(Codes[I]))
            continue;
        if (!Face) {
            // The box of the deterministic glyph, turned like its coverage.
            const int Right = Pen[I] + std::min(M.tmAveCharWidth, Pen[I + 1] - Pen[I]);
            const int Xs[4] = {Pen[I], Right, Right, Pen[I]};
            const int Ys[4] = {-M.tmAscent, -M.tmAscent, M.tmDescent, M.tmDescent};
            TOutlinePolygon Box;
            for (int K = 0; K < 4; ++K)
                Box.push_back(Turn(Xs[K], Ys[K]));
            Polygons.push_back(Box);
            continue;
        }
        FT_Face F = Face->Face;
        if (FT_Load_Char(F, Codes[I], FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0 ||
            F->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            continue;
        FT_Outline* Glyph = &F->glyph->outline;
        if (Face->Embolden)
            FT_Outline_Embolden(Glyph, Face->EmboldenStrength);
        if (Face->Oblique) {
            FT_Matrix Shear{0x10000, 0x3800, 0, 0x10000};
            FT_Outline_Transform(Glyph, &Shear);
        }
        if (Angle != 0) {
            FT_Matrix Rotation = RotationMatrix(Angle);
            FT_Outline_Transform(Glyph, &Rotation);
        }
        FT_Outline_Translate(Glyph, static_cast<FT_Pos>(std::lround(Pen[I] * C * 64)),
                             static_cast<FT_Pos>(std::lround(Pen[I] * S * 64)));
        FT_Outline_Funcs Funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
        TFlattener Flattener{&Polygons};
        FT_Outline_Decompose(Glyph, &Funcs, &Flattener);
    }
    Polygons.erase(std::remove_if(Polygons.begin(), Polygons.end(),
                                  [](const TOutlinePolygon& P) { return P.size() < 3; }),
                   Polygons.end());
    return Polygons;
}

std::unique_ptr<TStringList> InstalledFontList()
{
    auto List = std::make_unique<TStringList>();
    List->SetDuplicates(dupIgnore);
    List->SetSorted(true);
    List->BeginUpdate();
    for (const std::string& Family : InstalledFontFamilies())
        List->Add(Family);
    List->EndUpdate();
    return List;
}
