#include "platform/gfx/pdfwriter.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

#include <zlib.h>

#include <cmath>
#include <cstdio>

namespace {

// Windows-1252 bytes 0x80..0x9F (0: undefined, kept as the byte).
const char16_t Cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code points of valid UTF-8; false when the text is not.
bool DecodeUtf8(const std::string& Text, std::u32string& Codes)
{
    Codes.clear();
    for (std::size_t I = 0; I < Text.size();) {
        char32_t Code;
        if (!DecodeUtf8At(Text, I, Code))
            return false;
        Codes.push_back(Code);
    }
    return true;
}

std::string Hex4(unsigned Value)
{
    char Buffer[8];
    std::snprintf(Buffer, sizeof Buffer, "%04X", Value & 0xFFFF);
    return Buffer;
}

std::string Deflate(const TPdfWriter::TRowSource& Rows, int Width, int Height)
{
    z_stream Z{};
    if (deflateInit(&Z, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw EOutOfMemory("Out of memory");
    std::vector<std::uint8_t> Row(static_cast<std::size_t>(Width) * 3);
    std::string Out;
    unsigned char Buffer[64 * 1024];
    auto Pump = [&](int Flush) {
        int Result;
        do {
            Z.next_out = Buffer;
            Z.avail_out = sizeof Buffer;
            Result = deflate(&Z, Flush);
            Out.append(reinterpret_cast<const char*>(Buffer), sizeof Buffer - Z.avail_out);
        } while (Z.avail_out == 0 || (Flush == Z_FINISH && Result != Z_STREAM_END));
    };
    try {
        for (int Y = 0; Y < Height; ++Y) {
            Rows(Y, Row.data());
            Z.next_in = Row.data();
            Z.avail_in = static_cast<uInt>(Row.size());
            Pump(Z_NO_FLUSH);
        }
        Pump(Z_FINISH);
    } catch (...) {
        deflateEnd(&Z);
        throw;
    }
    deflateEnd(&Z);
    return Out;
}

// A literal string of WinAnsi bytes, kept to printable ASCII in the file.
std::string PdfByteString(const std::string& Bytes)
{
    std::string S = "(";
    for (char C : Bytes) {
        const auto B = static_cast<unsigned char>(C);
        if (C == '(' || C == ')' || C == '\\') {
            S += '\\';
            S += C;
        } else if (B < 0x20 || B > 0x7E) {
            char Octal[8];
            std::snprintf(Octal, sizeof Octal, "\\%03o", B);
            S += Octal;
        } else {
            S += C;
        }
    }
    return S + ")";
}

// One run as text operators: its font and size, a text matrix at the origin turned by the angle,
// and the characters with the corrections that put each where the run's advances say (TJ numbers
// move back by thousandths of the size), so that the font's own widths never let them drift.
std::string TextRunOperators(const TPdfTextRun& Run)
{
    const auto& Widths = PdfFontWidths(Run.Font);
    const double Radians = Run.Angle * 3.14159265358979323846 / 180;
    const double Cos = std::cos(Radians);
    const double Sin = std::sin(Radians);
    std::string S = "/F" + std::to_string(Run.Font + 1) + " " + PdfNumber(Run.Size) + " Tf " +
                    PdfNumber(Cos) + " " + PdfNumber(Sin) + " " + PdfNumber(-Sin) + " " +
                    PdfNumber(Cos) + " " + PdfNumber(Run.X) + " " + PdfNumber(Run.Y) + " Tm [";
    double Pen = 0;  // where the font's widths have put the pen, thousandths of the size
    double Want = 0; // where the next character starts
    std::string Pending;
    for (std::size_t I = 0; I < Run.Bytes.size(); ++I) {
        const long Adjust = std::lround(Pen - Want);
        if (Adjust != 0) {
            if (!Pending.empty())
                S += PdfByteString(Pending);
            Pending.clear();
            S += std::to_string(Adjust);
            Pen -= static_cast<double>(Adjust);
        }
        const auto Byte = static_cast<unsigned char>(Run.Bytes[I]);
        const int Width = Byte >= PdfFirstChar ? Widths[Byte - PdfFirstChar] : 0;
        const double Advance = (I < Run.Advances.size() ? Run.Advances[I] : 0) * 1000 / Run.Size;
        if (Width > 0 && Advance > 0 && std::fabs(Advance - Width) > 100) {
            // A character far wider or narrower than the drawn one (a '?' standing in for
            // what the encoding lacks) is stretched to its place, so that no gap splits a word.
            if (!Pending.empty())
                S += PdfByteString(Pending);
            Pending.clear();
            S += "] TJ " + PdfNumber(100 * Advance / Width) + " Tz [" +
                 PdfByteString(Run.Bytes.substr(I, 1)) + "] TJ 100 Tz [";
            Pen += Advance;
        } else {
            Pending += Run.Bytes[I];
            Pen += Width;
        }
        Want += Advance;
    }
    if (!Pending.empty())
        S += PdfByteString(Pending);
    return S + "] TJ\n";
}

} // namespace

std::string PdfNumber(double Value)
{
    char Buffer[32];
    std::snprintf(Buffer, sizeof Buffer, "%.2f", Value);
    std::string S = Buffer;
    while (S.back() == '0')
        S.pop_back();
    if (S.back() == '.')
        S.pop_back();
    return S == "-0" ? "0" : S;
}

std::string PdfTextString(const std::string& Text)
{
    bool Plain = true;
    for (char C : Text)
        if (static_cast<unsigned char>(C) < 0x20 || static_cast<unsigned char>(C) > 0x7E)
            Plain = false;
    if (Plain) {
        std::string S = "(";
        for (char C : Text) {
            if (C == '(' || C == ')' || C == '\\')
                S += '\\';
            S += C;
        }
        return S + ")";
    }
    std::u32string Codes;
    if (!DecodeUtf8(Text, Codes)) {
        Codes.clear();
        for (char C : Text) {
            const auto B = static_cast<unsigned char>(C);
            const char16_t High = B >= 0x80 && B < 0xA0 ? Cp1252High[B - 0x80] : 0;
            Codes.push_back(High ? High : B);
        }
    }
    std::string S = "<FEFF";
    for (char32_t Code : Codes) {
        if (Code >= 0x10000) {
            const char32_t V = Code - 0x10000;
            S += Hex4(0xD800 + (V >> 10));
            S += Hex4(0xDC00 + (V & 0x3FF));
        } else {
            S += Hex4(Code);
        }
    }
    return S + ">";
}

TPdfWriter::TPdfWriter(TStream* Stream) : FStream(Stream)
{
    // The second line's high bytes mark the file as binary for programs that guess.
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    NewObject(); // 1: the catalogue
    NewObject(); // 2: the pages tree
}

int TPdfWriter::NewObject()
{
    FObjectAt.push_back(-1);
    return static_cast<int>(FObjectAt.size());
}

void TPdfWriter::Write(const std::string& Text)
{
    FStream->WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    FOffset += static_cast<std::int64_t>(Text.size());
}

void TPdfWriter::BeginObject(int Number)
{
    FObjectAt[static_cast<std::size_t>(Number) - 1] = FOffset;
    Write(std::to_string(Number) + " 0 obj\n");
}

void TPdfWriter::WriteStreamObject(int Number, const std::string& Dictionary,
                                   const std::string& Data)
{
    BeginObject(Number);
    Write("<< " + Dictionary + " /Length " + std::to_string(Data.size()) + " >>\nstream\n");
    Write(Data);
    Write("\nendstream\nendobj\n");
}

int TPdfWriter::FontObject(TPdfStandardFont Font)
{
    if (FFontObjects[Font])
        return FFontObjects[Font];
    const int Number = NewObject();
    std::string Widths;
    for (int W : PdfFontWidths(Font))
        Widths += (Widths.empty() ? "" : " ") + std::to_string(W);
    BeginObject(Number);
    Write("<< /Type /Font /Subtype /Type1 /BaseFont /" + std::string(PdfFontName(Font)) +
          " /Encoding /WinAnsiEncoding /FirstChar " + std::to_string(PdfFirstChar) + " /LastChar " +
          std::to_string(PdfLastChar) + " /Widths [" + Widths + "] >>\nendobj\n");
    FFontObjects[Font] = Number;
    return Number;
}

void TPdfWriter::AddImagePage(int PixelWidth, int PixelHeight, double PageWidth, double PageHeight,
                              const TRowSource& Rows, const std::vector<TPdfTextRun>& Text)
{
    if (FFinished)
        throw EInvalidOperation("The document is already finished");
    // PDF viewers take pages from 3 to 14400 points.
    if (PixelWidth < 1 || PixelHeight < 1 || !(PageWidth >= 3 && PageWidth <= 14400) ||
        !(PageHeight >= 3 && PageHeight <= 14400))
        throw EInvalidOperation("Invalid page size");
    const std::string Width = PdfNumber(PageWidth);
    const std::string Height = PdfNumber(PageHeight);
    const int Image = NewObject();
    const int Content = NewObject();
    const int Page = NewObject();
    WriteStreamObject(Image,
                      "/Type /XObject /Subtype /Image /Width " + std::to_string(PixelWidth) +
                          " /Height " + std::to_string(PixelHeight) +
                          " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode",
                      Deflate(Rows, PixelWidth, PixelHeight));
    // The picture's unit square stretched over the page, then the text, invisible.
    std::string Operators = "q " + Width + " 0 0 " + Height + " 0 0 cm /Im1 Do Q";
    bool Used[PdfStandardFontCount] = {};
    std::string Texts;
    for (const TPdfTextRun& Run : Text)
        if (!Run.Bytes.empty() && Run.Size > 0) {
            Texts += TextRunOperators(Run);
            Used[Run.Font] = true;
        }
    if (!Texts.empty())
        Operators += "\nBT 3 Tr\n" + Texts + "ET";
    std::string Fonts;
    for (int F = 0; F < PdfStandardFontCount; ++F)
        if (Used[F])
            Fonts += " /F" + std::to_string(F + 1) + " " +
                     std::to_string(FontObject(static_cast<TPdfStandardFont>(F))) + " 0 R";
    WriteStreamObject(Content, "", Operators);
    BeginObject(Page);
    Write("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Width + " " + Height +
          "] /Resources << /XObject << /Im1 " + std::to_string(Image) + " 0 R >>" +
          (Fonts.empty() ? std::string() : " /Font <<" + Fonts + " >>") + " >> /Contents " +
          std::to_string(Content) + " 0 R >>\nendobj\n");
    FPageObjects.push_back(Page);
}

void TPdfWriter::Finish()
{
    if (FFinished)
        throw EInvalidOperation("The document is already finished");
    BeginObject(1);
    Write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    BeginObject(2);
    std::string Kids;
    for (int Page : FPageObjects)
        Kids += (Kids.empty() ? "" : " ") + std::to_string(Page) + " 0 R";
    Write("<< /Type /Pages /Kids [" + Kids + "] /Count " + std::to_string(FPageObjects.size()) +
          " >>\nendobj\n");
    std::string InfoEntries;
    if (!FTitle.empty())
        InfoEntries += " /Title " + PdfTextString(FTitle);
    if (!FCreator.empty())
        InfoEntries += " /Creator " + PdfTextString(FCreator);
    int Info = 0;
    if (!InfoEntries.empty()) {
        Info = NewObject();
        BeginObject(Info);
        Write("<<" + InfoEntries + " >>\nendobj\n");
    }
    const std::int64_t XrefAt = FOffset;
    std::string Table = "xref\n0 " + std::to_string(FObjectAt.size() + 1) + "\n";
    Table += "0000000000 65535 f \n";
    for (std::int64_t At : FObjectAt) {
        char Entry[32];
        std::snprintf(Entry, sizeof Entry, "%010lld 00000 n \n", static_cast<long long>(At));
        Table += Entry;
    }
    Write(Table);
    Write("trailer\n<< /Size " + std::to_string(FObjectAt.size() + 1) + " /Root 1 0 R" +
          (Info ? " /Info " + std::to_string(Info) + " 0 R" : std::string()) + " >>\nstartxref\n" +
          std::to_string(XrefAt) + "\n%%EOF\n");
    FFinished = true;
}
