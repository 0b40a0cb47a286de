// platform/ui/shelldata.cpp: file-drop blocks, uri-lists and the "HTML Format" block.
#include "platform/ui/shelldata.h"

#include "platform/rtl/strings.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr char32_t Replacement = 0xFFFD;

void PutLe32(std::string& Out, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        Out += static_cast<char>((Value >> (8 * I)) & 0xFF);
}

std::uint32_t Le32(const unsigned char* P)
{
    return std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16 |
           std::uint32_t(P[3]) << 24;
}

void PutUtf16(std::string& Out, char32_t C)
{
    auto Unit = [&](std::uint32_t U) {
        Out += static_cast<char>(U & 0xFF);
        Out += static_cast<char>(U >> 8);
    };
    if (C >= 0x10000) {
        C -= 0x10000;
        Unit(0xD800 | (C >> 10));
        Unit(0xDC00 | (C & 0x3FF));
    } else {
        Unit(C);
    }
}

// The header of a file-drop block, when the data holds one whose names start inside it.
bool ReadHeader(const unsigned char* Bytes, std::size_t Size, DROPFILES& Header)
{
    if (Bytes == nullptr || Size < sizeof(DROPFILES))
        return false;
    Header.pFiles = Le32(Bytes);
    Header.ptX = static_cast<std::int32_t>(Le32(Bytes + 4));
    Header.ptY = static_cast<std::int32_t>(Le32(Bytes + 8));
    Header.fNC = static_cast<std::int32_t>(Le32(Bytes + 12));
    Header.fWide = static_cast<std::int32_t>(Le32(Bytes + 16));
    return Header.pFiles >= sizeof(DROPFILES) && Header.pFiles <= Size;
}

int HexValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// Percent-decodes Text; false for a bad escape or an encoded NUL.
bool PercentDecode(const std::string& Text, std::string& Out)
{
    Out.clear();
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '%') {
            Out += Text[I];
            continue;
        }
        if (I + 2 >= Text.size())
            return false;
        const int High = HexValue(Text[I + 1]), Low = HexValue(Text[I + 2]);
        if (High < 0 || Low < 0 || (High == 0 && Low == 0))
            return false;
        Out += static_cast<char>(High * 16 + Low);
        I += 2;
    }
    return true;
}

std::string HostName()
{
    char Name[256] = {};
    if (gethostname(Name, sizeof Name - 1) != 0)
        return {};
    return Name;
}

// The path of one file: URI; false when it is no local file's.
bool FileUriPath(const std::string& Uri, std::string& Path)
{
    if (Uri.size() < 5 || !SameText(Uri.substr(0, 5), "file:") ||
        Uri.find('\0') != std::string::npos)
        return false;
    std::string Rest = Uri.substr(5);
    if (Rest.rfind("//", 0) == 0) {
        const std::size_t Slash = Rest.find('/', 2);
        if (Slash == std::string::npos)
            return false;
        const std::string Host = Rest.substr(2, Slash - 2);
        if (!Host.empty() && !SameText(Host, "localhost") && Host != HostName())
            return false;
        Rest.erase(0, Slash);
    }
    // A query or fragment is no part of a file's name.
    const std::size_t End = Rest.find_first_of("?#");
    if (End != std::string::npos)
        Rest.erase(End);
    return !Rest.empty() && Rest[0] == '/' && PercentDecode(Rest, Path);
}

// The offsets a description block gives (LLONG_MIN: not given) and where its lines end.
struct THeaderValues {
    long long StartHTML = LLONG_MIN, EndHTML = LLONG_MIN;
    long long StartFragment = LLONG_MIN, EndFragment = LLONG_MIN;
    std::string SourceURL;
    std::size_t End = 0; // where the block's lines stop
};

bool ParseNumber(const std::string& Text, long long& Value)
{
    std::size_t I = 0;
    const bool Negative = !Text.empty() && Text[0] == '-';
    if (Negative)
        I = 1;
    if (I >= Text.size() || Text.size() - I > 12)
        return false;
    long long Result = 0;
    for (; I < Text.size(); ++I) {
        if (Text[I] < '0' || Text[I] > '9')
            return false;
        Result = Result * 10 + (Text[I] - '0');
    }
    Value = Negative ? -Result : Result;
    return true;
}

bool ParseHeader(const std::string& Data, THeaderValues& Values)
{
    std::size_t At = 0;
    while (At < Data.size()) {
        std::size_t LineEnd = Data.find_first_of("\r\n", At);
        if (LineEnd == std::string::npos)
            LineEnd = Data.size();
        const std::string Line = Data.substr(At, LineEnd - At);
        const std::size_t Colon = Line.find(':');
        if (Colon == std::string::npos || Colon == 0)
            break;
        bool Name = true;
        for (std::size_t I = 0; I < Colon; ++I)
            Name =
                Name && ((Line[I] >= 'A' && Line[I] <= 'Z') || (Line[I] >= 'a' && Line[I] <= 'z'));
        if (!Name)
            break;
        const std::string Key = Line.substr(0, Colon), Value = Line.substr(Colon + 1);
        long long* Target = SameText(Key, "StartHTML")       ? &Values.StartHTML
                            : SameText(Key, "EndHTML")       ? &Values.EndHTML
                            : SameText(Key, "StartFragment") ? &Values.StartFragment
                            : SameText(Key, "EndFragment")   ? &Values.EndFragment
                                                             : nullptr;
        if (Target != nullptr && !ParseNumber(Trim(Value), *Target))
            return false;
        if (SameText(Key, "SourceURL"))
            Values.SourceURL = Value;
        At = LineEnd;
        if (At < Data.size() && Data[At] == '\r')
            ++At;
        if (At < Data.size() && Data[At] == '\n')
            ++At;
        Values.End = At;
    }
    return true;
}

bool RangeIn(long long Start, long long End, std::size_t From, std::size_t Size)
{
    return Start >= static_cast<long long>(From) && Start <= End &&
           End <= static_cast<long long>(Size);
}

// The position of Needle in Text with ASCII case ignored, from From; npos when absent.
std::size_t FindNoCase(const std::string& Text, const std::string& Needle, std::size_t From = 0)
{
    const std::string Lower = LowerCase(Text);
    return Lower.find(LowerCase(Needle), From);
}

std::string Digits10(std::size_t Value)
{
    std::string Text = std::to_string(Value);
    return std::string(Text.size() < 10 ? 10 - Text.size() : 0, '0') + Text;
}

} // namespace

// ---- UTF-16 ----

std::string Utf8ToUtf16Le(const std::string& Text)
{
    std::string Out;
    Out.reserve(Text.size() * 2);
    for (std::size_t I = 0; I < Text.size();) {
        char32_t C = 0;
        if (!DecodeUtf8At(Text, I, C)) {
            C = Replacement;
            ++I;
        }
        PutUtf16(Out, C);
    }
    return Out;
}

std::string Utf16LeToUtf8(const void* Data, std::size_t Size)
{
    const auto* Bytes = static_cast<const unsigned char*>(Data);
    std::string Out;
    for (std::size_t I = 0; I + 1 < Size; I += 2) {
        char32_t C = Bytes[I] | (Bytes[I + 1] << 8);
        if (C >= 0xD800 && C <= 0xDBFF && I + 3 < Size) {
            const char32_t Low = Bytes[I + 2] | (Bytes[I + 3] << 8);
            if (Low >= 0xDC00 && Low <= 0xDFFF) {
                C = 0x10000 + ((C - 0xD800) << 10) + (Low - 0xDC00);
                I += 2;
            }
        }
        if (C >= 0xD800 && C <= 0xDFFF)
            C = Replacement;
        AppendUtf8(Out, C);
    }
    return Out;
}

// ---- CF_HDROP ----

std::string BuildDropFiles(const std::vector<std::string>& Files, bool Wide, TPoint Point,
                           bool NonClient)
{
    std::string Out;
    PutLe32(Out, sizeof(DROPFILES));
    PutLe32(Out, static_cast<std::uint32_t>(Point.X));
    PutLe32(Out, static_cast<std::uint32_t>(Point.Y));
    PutLe32(Out, NonClient ? 1 : 0);
    PutLe32(Out, Wide ? 1 : 0);
    for (const std::string& File : Files) {
        // A name stops at a NUL: the rest could not be told from the next name.
        const std::string Name = File.substr(0, File.find('\0'));
        if (Name.empty())
            continue;
        Out += Wide ? Utf8ToUtf16Le(Name) : Name;
        Out.append(Wide ? 2 : 1, '\0');
    }
    Out.append(Wide ? 2 : 1, '\0');
    return Out;
}

std::vector<std::string> ReadDropFiles(const void* Data, std::size_t Size)
{
    const auto* Bytes = static_cast<const unsigned char*>(Data);
    DROPFILES Header{};
    std::vector<std::string> Files;
    if (!ReadHeader(Bytes, Size, Header))
        return Files;
    const std::size_t Unit = Header.fWide != 0 ? 2 : 1;
    std::size_t At = Header.pFiles;
    while (At + Unit <= Size) {
        std::size_t End = At;
        while (End + Unit <= Size && !(Bytes[End] == 0 && (Unit == 1 || Bytes[End + 1] == 0)))
            End += Unit;
        if (End + Unit > Size || End == At)
            break; // no NUL before the end, or the empty name that ends the list
        Files.push_back(Unit == 2
                            ? Utf16LeToUtf8(Bytes + At, End - At)
                            : std::string(reinterpret_cast<const char*>(Bytes + At), End - At));
        At = End + Unit;
    }
    return Files;
}

HDROP CreateDropFiles(const std::vector<std::string>& Files, bool Wide)
{
    const std::string Bytes = BuildDropFiles(Files, Wide);
    const HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Bytes.size());
    if (Mem == 0)
        return 0;
    std::memcpy(GlobalLock(Mem), Bytes.data(), Bytes.size());
    GlobalUnlock(Mem);
    return Mem;
}

unsigned DragQueryFile(HDROP Drop, unsigned File, char* Buffer, unsigned Size)
{
    const void* Bytes = GlobalLock(Drop);
    if (Bytes == nullptr)
        return 0;
    const std::vector<std::string> Files = ReadDropFiles(Bytes, GlobalSize(Drop));
    GlobalUnlock(Drop);
    if (File == 0xFFFFFFFFu)
        return static_cast<unsigned>(Files.size());
    if (File >= Files.size())
        return 0;
    const std::string& Name = Files[File];
    if (Buffer == nullptr || Size == 0)
        return static_cast<unsigned>(Name.size());
    const std::size_t Count = std::min<std::size_t>(Name.size(), Size - 1);
    std::memcpy(Buffer, Name.data(), Count);
    Buffer[Count] = '\0';
    return static_cast<unsigned>(Count);
}

bool DragQueryPoint(HDROP Drop, TPoint* Point)
{
    const auto* Bytes = static_cast<const unsigned char*>(GlobalLock(Drop));
    DROPFILES Header{};
    const bool Valid = ReadHeader(Bytes, GlobalSize(Drop), Header);
    if (Bytes != nullptr)
        GlobalUnlock(Drop);
    if (!Valid)
        return false;
    if (Point != nullptr)
        *Point = TPoint{Header.ptX, Header.ptY};
    return Header.fNC == 0;
}

void DragFinish(HDROP Drop)
{
    GlobalFree(Drop);
}

// ---- text/uri-list ----

std::vector<std::string> ParseUriList(const std::string& Text)
{
    std::vector<std::string> Paths;
    std::size_t At = 0;
    while (At < Text.size()) {
        std::size_t End = Text.find('\n', At);
        if (End == std::string::npos)
            End = Text.size();
        const std::string Line = Trim(Text.substr(At, End - At));
        At = End + 1;
        std::string Path;
        if (!Line.empty() && Line[0] != '#' && FileUriPath(Line, Path))
            Paths.push_back(Path);
    }
    return Paths;
}

std::string FileUri(const std::string& Path)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string Uri = "file://";
    for (unsigned char C : Path) {
        const bool Plain = (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') ||
                           (C >= '0' && C <= '9') || C == '-' || C == '.' || C == '_' || C == '~' ||
                           C == '/';
        if (Plain) {
            Uri += static_cast<char>(C);
        } else {
            Uri += '%';
            Uri += Hex[C >> 4];
            Uri += Hex[C & 15];
        }
    }
    return Uri;
}

std::string BuildUriList(const std::vector<std::string>& Paths)
{
    std::string Text;
    for (const std::string& Path : Paths)
        if (!Path.empty() && Path[0] == '/' && Path.find('\0') == std::string::npos)
            Text += FileUri(Path) + "\r\n";
    return Text;
}

// ---- "HTML Format" ----

bool ParseHtmlFormat(const std::string& Data, THtmlFormat& Out)
{
    const std::string Text = Data.substr(0, Data.find('\0'));
    THeaderValues Values;
    if (!ParseHeader(Text, Values))
        return false;
    const std::size_t Size = Text.size();
    const bool HasFragment = Values.StartFragment != LLONG_MIN && Values.EndFragment != LLONG_MIN;
    // Some writers give -1 for a document they do not mark.
    const bool HasHtml = Values.StartHTML >= 0 && Values.EndHTML >= 0;
    if (!HasFragment || !RangeIn(Values.StartFragment, Values.EndFragment, Values.End, Size))
        return false;
    if (HasHtml && !RangeIn(Values.StartHTML, Values.EndHTML, Values.End, Size))
        return false;
    if (!HasHtml && (Values.StartHTML != LLONG_MIN && Values.StartHTML != -1))
        return false;
    const auto Slice = [&](long long Start, long long End) {
        return Text.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(End - Start));
    };
    Out.Fragment = Slice(Values.StartFragment, Values.EndFragment);
    Out.Html = HasHtml ? Slice(Values.StartHTML, Values.EndHTML) : Out.Fragment;
    Out.SourceURL = Trim(Values.SourceURL);
    return true;
}

std::string BuildHtmlFormat(const std::string& Html, const std::string& SourceURL)
{
    static const std::string StartMark = "<!--StartFragment-->", EndMark = "<!--EndFragment-->";
    std::string Document = Html.substr(0, Html.find('\0'));
    std::size_t FragmentStart = Document.find(StartMark);
    std::size_t FragmentEnd = FragmentStart == std::string::npos
                                  ? std::string::npos
                                  : Document.find(EndMark, FragmentStart + StartMark.size());
    if (FragmentEnd != std::string::npos) {
        FragmentStart += StartMark.size();
    } else {
        const std::size_t Body = FindNoCase(Document, "<body");
        const std::size_t BodyOpen =
            Body == std::string::npos ? std::string::npos : Document.find('>', Body);
        const std::size_t BodyClose =
            BodyOpen == std::string::npos ? std::string::npos : LowerCase(Document).rfind("</body");
        if (BodyClose != std::string::npos && BodyClose > BodyOpen) {
            Document.insert(BodyClose, EndMark);
            Document.insert(BodyOpen + 1, StartMark);
            FragmentStart = BodyOpen + 1 + StartMark.size();
            FragmentEnd = BodyClose + StartMark.size();
        } else {
            Document = "<html><body>\r\n" + StartMark + Document + EndMark + "\r\n</body></html>";
            FragmentStart = Document.find(StartMark) + StartMark.size();
            FragmentEnd = Document.rfind(EndMark);
        }
    }
    std::string Url;
    for (char C : SourceURL)
        if (C != '\r' && C != '\n' && C != '\0')
            Url += C;
    const auto Header = [&](std::size_t StartHtml, std::size_t Start, std::size_t End) {
        std::string Block = "Version:0.9\r\nStartHTML:" + Digits10(StartHtml) +
                            "\r\nEndHTML:" + Digits10(StartHtml + Document.size()) +
                            "\r\nStartFragment:" + Digits10(StartHtml + Start) +
                            "\r\nEndFragment:" + Digits10(StartHtml + End) + "\r\n";
        if (!Url.empty())
            Block += "SourceURL:" + Url + "\r\n";
        return Block;
    };
    const std::size_t HeaderSize = Header(0, 0, 0).size();
    return Header(HeaderSize, FragmentStart, FragmentEnd) + Document;
}
