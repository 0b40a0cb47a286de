#include "platform/gfx/pdfwriter.h"

#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <map>

namespace {

// A picture whose pixel (x, y) of page P has a colour of its own.
void Gradient(int Page, int Width, int Y, std::uint8_t* Row)
{
    for (int X = 0; X < Width; ++X) {
        *Row++ = static_cast<std::uint8_t>(X * 7 + Page);
        *Row++ = static_cast<std::uint8_t>(Y * 13);
        *Row++ = static_cast<std::uint8_t>((X ^ Y) + 50 * Page);
    }
}

std::string TwoPageDocument(const std::string& Title)
{
    TStringStream Out;
    TPdfWriter Writer(&Out);
    Writer.SetTitle(Title);
    Writer.AddImagePage(5, 3, 595, 842, [](int Y, std::uint8_t* Row) { Gradient(0, 5, Y, Row); });
    Writer.AddImagePage(4, 6, 792, 612, [](int Y, std::uint8_t* Row) { Gradient(1, 4, Y, Row); });
    Writer.Finish();
    EXPECT_EQ(Writer.PageCount(), 2);
    return Out.DataString();
}

// The objects of a file by number, found through its cross-reference table (checking that every
// entry points at the object it names).
std::map<int, std::string> ObjectsByXref(const std::string& Pdf)
{
    std::map<int, std::string> Objects;
    const std::size_t StartXref = Pdf.rfind("startxref\n");
    EXPECT_NE(StartXref, std::string::npos);
    const long long XrefAt = std::atoll(Pdf.c_str() + StartXref + 10);
    EXPECT_EQ(Pdf.compare(static_cast<std::size_t>(XrefAt), 5, "xref\n"), 0);
    std::size_t At = static_cast<std::size_t>(XrefAt) + 5;
    const int First = std::atoi(Pdf.c_str() + At);
    const int Count = std::atoi(Pdf.c_str() + Pdf.find(' ', At) + 1);
    EXPECT_EQ(First, 0);
    At = Pdf.find('\n', At) + 1;
    for (int N = 0; N < Count; ++N, At += 20) {
        const std::string Entry = Pdf.substr(At, 20);
        EXPECT_EQ(Entry.size(), 20u);
        if (N == 0) {
            EXPECT_EQ(Entry, "0000000000 65535 f \n");
            continue;
        }
        EXPECT_EQ(Entry.substr(10), " 00000 n \n") << N;
        const auto Offset = static_cast<std::size_t>(std::atoll(Entry.c_str()));
        const std::string Head = std::to_string(N) + " 0 obj\n";
        EXPECT_EQ(Pdf.compare(Offset, Head.size(), Head), 0) << "object " << N;
        const std::size_t End = Pdf.find("endobj\n", Offset);
        Objects[N] = Pdf.substr(Offset + Head.size(), End - Offset - Head.size());
    }
    const std::string Trailer = Pdf.substr(At);
    EXPECT_NE(Trailer.find("/Size " + std::to_string(Count)), std::string::npos) << Trailer;
    return Objects;
}

std::string Inflate(const std::string& Data)
{
    std::string Out(1 << 16, '\0');
    uLongf Size = Out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(Out.data()), &Size,
                         reinterpret_cast<const Bytef*>(Data.data()), Data.size()),
              Z_OK);
    Out.resize(Size);
    return Out;
}

std::string StreamData(const std::string& Object)
{
    const std::size_t Begin = Object.find("stream\n") + 7;
    const std::size_t End = Object.rfind("\nendstream");
    const std::size_t Length = Object.find("/Length ");
    EXPECT_NE(Length, std::string::npos);
    EXPECT_EQ(std::stoul(Object.substr(Length + 8)), End - Begin);
    return Object.substr(Begin, End - Begin);
}

} // namespace

TEST(PdfWriter, TheCrossReferenceTablePointsAtEveryObject)
{
    const std::string Pdf = TwoPageDocument("Report");
    EXPECT_EQ(Pdf.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_EQ(Pdf.substr(Pdf.size() - 6), "%%EOF\n");
    const std::map<int, std::string> Objects = ObjectsByXref(Pdf);
    ASSERT_EQ(Objects.size(), 9u); // catalogue, pages, 3 per page, information
    EXPECT_NE(Objects.at(1).find("/Type /Catalog /Pages 2 0 R"), std::string::npos);
    EXPECT_NE(Objects.at(2).find("/Kids [5 0 R 8 0 R] /Count 2"), std::string::npos);
    EXPECT_NE(Objects.at(5).find("/MediaBox [0 0 595 842]"), std::string::npos);
    EXPECT_NE(Objects.at(8).find("/MediaBox [0 0 792 612]"), std::string::npos);
    EXPECT_NE(Objects.at(9).find("/Title (Report) /Creator (Tarnwick)"), std::string::npos);
}

TEST(PdfWriter, EachPageIsItsPictureDeflatedAndStretchedOverThePage)
{
    const std::map<int, std::string> Objects = ObjectsByXref(TwoPageDocument(""));
    struct TCase {
        int Image;
        int Width;
        int Height;
        std::string Placement;
    };
    const std::vector<TCase> Cases = {{3, 5, 3, "q 595 0 0 842 0 0 cm /Im1 Do Q"},
                                      {6, 4, 6, "q 792 0 0 612 0 0 cm /Im1 Do Q"}};
    for (const TCase& C : Cases) {
        const std::string& Image = Objects.at(C.Image);
        EXPECT_NE(Image.find("/Subtype /Image /Width " + std::to_string(C.Width) + " /Height " +
                             std::to_string(C.Height) +
                             " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode"),
                  std::string::npos);
        std::string Expected;
        for (int Y = 0; Y < C.Height; ++Y) {
            std::string Row(static_cast<std::size_t>(C.Width) * 3, '\0');
            Gradient(C.Image == 3 ? 0 : 1, C.Width, Y, reinterpret_cast<std::uint8_t*>(Row.data()));
            Expected += Row;
        }
        EXPECT_EQ(Inflate(StreamData(Image)), Expected);
        EXPECT_EQ(StreamData(Objects.at(C.Image + 1)), C.Placement);
        EXPECT_NE(Objects.at(C.Image + 2)
                      .find("/Resources << /XObject << /Im1 " + std::to_string(C.Image) +
                            " 0 R >> >> /Contents " + std::to_string(C.Image + 1) + " 0 R"),
                  std::string::npos);
    }
    // No title: the information holds the creator alone.
    EXPECT_EQ(Objects.at(9), "<< /Creator (Tarnwick) >>\n");
}

TEST(PdfWriter, TheSamePagesGiveTheSameBytes)
{
    EXPECT_EQ(TwoPageDocument("Same"), TwoPageDocument("Same"));
}

TEST(PdfWriter, AnEmptyDocumentIsStillWellFormed)
{
    TStringStream Out;
    TPdfWriter Writer(&Out);
    Writer.SetCreator("");
    Writer.Finish();
    const std::map<int, std::string> Objects = ObjectsByXref(Out.DataString());
    ASSERT_EQ(Objects.size(), 2u);
    EXPECT_NE(Objects.at(2).find("/Kids [] /Count 0"), std::string::npos);
    EXPECT_EQ(Out.DataString().find("/Info"), std::string::npos);
}

TEST(PdfWriter, TextStringsAreEscapedOrWrittenAsUtf16)
{
    struct TCase {
        std::string Text;
        std::string Pdf;
    };
    const std::vector<TCase> Cases = {
        {"Plain text", "(Plain text)"},
        {"a(b)c\\", "(a\\(b\\)c\\\\)"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         "<FEFF0047007200FC00DF0065>"},
        {"\xF0\x9F\x98\x80", "<FEFFD83DDE00>"},
        {"\x80 \xE9", "<FEFF20AC002000E9>"}, // not UTF-8: Windows-1252
        {"Tab\t", "<FEFF0054006100620009>"},
        {"", "()"}};
    for (const TCase& C : Cases)
        EXPECT_EQ(PdfTextString(C.Text), C.Pdf) << C.Text;
}

TEST(PdfWriter, NumbersHaveAtMostTwoDecimals)
{
    struct TCase {
        double Value;
        std::string Pdf;
    };
    const std::vector<TCase> Cases = {{612, "612"}, {595.2, "595.2"}, {841.92, "841.92"},
                                      {0.004, "0"}, {-1.5, "-1.5"},   {2479.999, "2480"},
                                      {-0.001, "0"}};
    for (const TCase& C : Cases)
        EXPECT_EQ(PdfNumber(C.Value), C.Pdf) << C.Value;
}

TEST(PdfWriter, BadPagesAndLateCallsAreRefused)
{
    TStringStream Out;
    TPdfWriter Writer(&Out);
    auto White = [](int, std::uint8_t* Row) { Row[0] = Row[1] = Row[2] = 255; };
    EXPECT_THROW(Writer.AddImagePage(0, 1, 10, 10, White), EInvalidOperation);
    EXPECT_THROW(Writer.AddImagePage(1, 1, 10, 0, White), EInvalidOperation);
    EXPECT_THROW(Writer.AddImagePage(1, 1, 20000, 10, White), EInvalidOperation);
    Writer.AddImagePage(1, 1, 10, 10, White);
    Writer.Finish();
    EXPECT_THROW(Writer.AddImagePage(1, 1, 10, 10, White), EInvalidOperation);
    EXPECT_THROW(Writer.Finish(), EInvalidOperation);
}
