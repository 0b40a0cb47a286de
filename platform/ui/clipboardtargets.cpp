// platform/ui/clipboardtargets.cpp: the clipboard's formats as the desktop's targets and back.
#include "platform/ui/clipboardtargets.h"

#include "platform/gfx/bmpformat.h"
#include "platform/gfx/palette.h"
#include "platform/gfx/pngformat.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/strings.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/shelldata.h"

#include <algorithm>
#include <cstring>

const char* const PrivateTargetPrefix = "application/x-tarnwick-";

namespace {

const char* const Utf8Target = "UTF8_STRING";
const char* const Latin1Target = "STRING";
const std::vector<std::string> TextTargets = {Utf8Target, "text/plain;charset=utf-8", Latin1Target,
                                              "TEXT", "text/plain"};
const char* const PngTarget = "image/png";
const char* const HtmlTarget = "text/html";
const char* const RtfTarget = "text/rtf";
const char* const UriListTarget = "text/uri-list";
// Longer names of registered formats from other programs are not taken.
constexpr std::size_t MaxNameLength = 255;

UINT HtmlFormat()
{
    return RegisterClipboardFormat("HTML Format");
}

UINT RtfFormat()
{
    return RegisterClipboardFormat("Rich Text Format");
}

std::string Latin1ToUtf8(const std::string& Text)
{
    std::string Result;
    for (unsigned char C : Text)
        AppendUtf8(Result, C);
    return Result;
}

// Characters outside Latin-1 become '?'; invalid bytes are taken as they are.
std::string Utf8ToLatin1(const std::string& Text)
{
    std::string Result;
    for (std::size_t I = 0; I < Text.size();) {
        char32_t C = 0;
        if (!DecodeUtf8At(Text, I, C)) {
            Result += Text[I++];
            continue;
        }
        Result += C < 0x100 ? static_cast<char>(C) : '?';
    }
    return Result;
}

std::string UpToNul(const std::string& Bytes)
{
    return Bytes.substr(0, Bytes.find('\0'));
}

const std::string* BlockOf(const TClipboardSnapshot& Snapshot, UINT Format)
{
    for (const auto& Block : Snapshot.Blocks)
        if (Block.first == Format)
            return &Block.second;
    return nullptr;
}

bool SnapshotText(const TClipboardSnapshot& Snapshot, std::string& Text)
{
    if (const std::string* Ansi = BlockOf(Snapshot, CF_TEXT)) {
        Text = UpToNul(*Ansi);
        return true;
    }
    if (const std::string* Wide = BlockOf(Snapshot, CF_UNICODETEXT)) {
        std::size_t End = 0;
        while (End + 1 < Wide->size() && ((*Wide)[End] != 0 || (*Wide)[End + 1] != 0))
            End += 2;
        Text = Utf16LeToUtf8(Wide->data(), End);
        return true;
    }
    return false;
}

bool IsTextTarget(const std::string& Target)
{
    return std::find(TextTargets.begin(), TextTargets.end(), Target) != TextTargets.end();
}

// Text from another program: UTF-8, except STRING (Latin-1) and text/html that starts with a
// UTF-16 byte-order mark, as some browsers send it.
std::string TextOfTarget(const std::string& Target, const std::string& Data)
{
    if (Target == Latin1Target)
        return Latin1ToUtf8(Data);
    if (Data.size() >= 2 && static_cast<unsigned char>(Data[0]) == 0xFF &&
        static_cast<unsigned char>(Data[1]) == 0xFE)
        return Utf16LeToUtf8(Data.data() + 2, Data.size() - 2);
    return Data;
}

HGLOBAL BlockOfBytes(const std::string& Bytes)
{
    const HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Bytes.size());
    if (Mem == 0)
        return 0;
    if (!Bytes.empty()) {
        std::memcpy(GlobalLock(Mem), Bytes.data(), Bytes.size());
        GlobalUnlock(Mem);
    }
    return Mem;
}

std::string FormatName(UINT Format)
{
    char Name[256] = {};
    const int Length = GetClipboardFormatName(Format, Name, sizeof Name);
    return std::string(Name, static_cast<std::size_t>(std::max(Length, 0)));
}

// A registered format that travels only between this program's processes.
bool IsPrivateFormat(UINT Format)
{
    return Format >= 0xC000 && Format != HtmlFormat() && Format != RtfFormat() &&
           !FormatName(Format).empty();
}

bool StartsWith(const std::string& Text, const std::string& Prefix)
{
    return Text.rfind(Prefix, 0) == 0;
}

} // namespace

void AddToSnapshot(TClipboardSnapshot& Snapshot, UINT Format, HANDLE Data, HANDLE Palette)
{
    if (Format == CF_BITMAP) {
        const auto Handle = reinterpret_cast<HBITMAP>(Data);
        if (!IsBitmap(Handle))
            return;
        auto Image = std::make_shared<TDibImage>(*Handle);
        const auto Colors = reinterpret_cast<HPALETTE>(Palette);
        if (Colors != nullptr && IsPalette(Colors) && Image->BitCount <= 8) {
            std::vector<TColor> Table = PaletteColors(Colors);
            Table.resize(std::min(Table.size(), std::size_t(1) << Image->BitCount));
            if (!Table.empty())
                Image->Colors = std::move(Table);
        }
        Snapshot.Bitmap = std::move(Image);
        return;
    }
    if (Format == CF_PALETTE || Format == CF_METAFILEPICT)
        return;
    const void* Bytes = GlobalLock(Data);
    if (Bytes == nullptr)
        return;
    Snapshot.Blocks.emplace_back(Format,
                                 std::string(static_cast<const char*>(Bytes), GlobalSize(Data)));
    GlobalUnlock(Data);
}

std::vector<std::string> SnapshotTargets(const TClipboardSnapshot& Snapshot)
{
    std::vector<std::string> Targets;
    auto Add = [&](const std::string& Target) {
        if (std::find(Targets.begin(), Targets.end(), Target) == Targets.end())
            Targets.push_back(Target);
    };
    if (Snapshot.Bitmap)
        Add(PngTarget);
    for (const auto& Block : Snapshot.Blocks) {
        const UINT Format = Block.first;
        THtmlFormat Html;
        if (Format == CF_TEXT || Format == CF_UNICODETEXT)
            for (const std::string& Target : TextTargets)
                Add(Target);
        else if (Format == CF_DIB)
            Add(PngTarget);
        else if (Format == HtmlFormat() && ParseHtmlFormat(Block.second, Html))
            Add(HtmlTarget);
        else if (Format == RtfFormat())
            Add(RtfTarget);
        else if (Format == CF_HDROP &&
                 !ReadDropFiles(Block.second.data(), Block.second.size()).empty())
            Add(UriListTarget);
        else if (IsPrivateFormat(Format))
            Add(PrivateTargetPrefix + FormatName(Format));
    }
    return Targets;
}

bool RenderTarget(const TClipboardSnapshot& Snapshot, const std::string& Target, std::string& Data)
{
    if (IsTextTarget(Target)) {
        std::string Text;
        if (!SnapshotText(Snapshot, Text))
            return false;
        Data = Target == Latin1Target ? Utf8ToLatin1(Text) : Text;
        return true;
    }
    if (Target == PngTarget) {
        try {
            if (Snapshot.Bitmap) {
                Data = WritePng(*Snapshot.Bitmap);
                return true;
            }
            if (const std::string* Dib = BlockOf(Snapshot, CF_DIB)) {
                Data = WritePng(
                    ReadPackedDib(reinterpret_cast<const std::uint8_t*>(Dib->data()), Dib->size()));
                return true;
            }
        } catch (const Exception&) {
        }
        return false;
    }
    if (Target == HtmlTarget) {
        const std::string* Block = BlockOf(Snapshot, HtmlFormat());
        THtmlFormat Html;
        if (Block == nullptr || !ParseHtmlFormat(*Block, Html))
            return false;
        Data = Html.Html;
        return true;
    }
    if (Target == RtfTarget) {
        const std::string* Block = BlockOf(Snapshot, RtfFormat());
        if (Block == nullptr)
            return false;
        Data = UpToNul(*Block);
        return true;
    }
    if (Target == UriListTarget) {
        const std::string* Block = BlockOf(Snapshot, CF_HDROP);
        if (Block == nullptr)
            return false;
        Data = BuildUriList(ReadDropFiles(Block->data(), Block->size()));
        return !Data.empty();
    }
    if (StartsWith(Target, PrivateTargetPrefix)) {
        const std::string Name = Target.substr(std::strlen(PrivateTargetPrefix));
        for (const auto& Block : Snapshot.Blocks)
            if (IsPrivateFormat(Block.first) && SameText(FormatName(Block.first), Name)) {
                Data = Block.second;
                return true;
            }
    }
    return false;
}

std::vector<UINT> FormatsOfTargets(const std::vector<std::string>& Targets)
{
    std::vector<UINT> Formats;
    auto Add = [&](UINT Format) {
        if (Format != 0 && std::find(Formats.begin(), Formats.end(), Format) == Formats.end())
            Formats.push_back(Format);
    };
    for (const std::string& Target : Targets) {
        if (IsTextTarget(Target)) {
            Add(CF_TEXT);
            Add(CF_UNICODETEXT);
        } else if (Target == PngTarget) {
            Add(CF_BITMAP);
            Add(CF_DIB);
        } else if (Target == HtmlTarget) {
            Add(HtmlFormat());
        } else if (Target == RtfTarget || Target == "application/rtf") {
            Add(RtfFormat());
        } else if (Target == UriListTarget) {
            Add(CF_HDROP);
        } else if (StartsWith(Target, PrivateTargetPrefix) &&
                   Target.size() > std::strlen(PrivateTargetPrefix) &&
                   Target.size() < std::strlen(PrivateTargetPrefix) + MaxNameLength) {
            const UINT Format =
                RegisterClipboardFormat(Target.substr(std::strlen(PrivateTargetPrefix)));
            if (IsPrivateFormat(Format))
                Add(Format);
        }
    }
    return Formats;
}

std::vector<std::string> TargetsForFormat(UINT Format, const std::vector<std::string>* Offered)
{
    std::vector<std::string> Wanted;
    if (Format == CF_TEXT || Format == CF_UNICODETEXT)
        Wanted =
            Offered != nullptr ? TextTargets : std::vector<std::string>{Utf8Target, Latin1Target};
    else if (Format == CF_BITMAP || Format == CF_DIB)
        Wanted = {PngTarget};
    else if (Format == HtmlFormat())
        Wanted = {HtmlTarget};
    else if (Format == RtfFormat())
        Wanted = {RtfTarget, "application/rtf"};
    else if (Format == CF_HDROP)
        Wanted = {UriListTarget};
    else if (IsPrivateFormat(Format))
        Wanted = {PrivateTargetPrefix + FormatName(Format)};
    if (Offered == nullptr)
        return Wanted;
    // Registered names match whatever their case, as they do within a process.
    std::vector<std::string> Found;
    for (const std::string& Target : Wanted)
        for (const std::string& Given : *Offered)
            if (Given == Target || (IsPrivateFormat(Format) && SameText(Given, Target))) {
                Found.push_back(Given);
                break;
            }
    return Found;
}

HANDLE ImportTarget(UINT Format, const std::string& Target, const std::string& Data)
{
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) {
        const std::string Text = TextOfTarget(Target, Data);
        return BlockOfBytes(Format == CF_TEXT ? Text + '\0'
                                              : Utf8ToUtf16Le(Text) + std::string(2, '\0'));
    }
    if (Format == CF_BITMAP || Format == CF_DIB) {
        try {
            TDibImage Image =
                ReadPng(reinterpret_cast<const std::uint8_t*>(Data.data()), Data.size());
            if (Format == CF_DIB)
                return BlockOfBytes(WritePackedDib(Image));
            TBitmap Bitmap;
            Bitmap.SetImage(std::move(Image));
            return reinterpret_cast<HANDLE>(Bitmap.ReleaseHandle());
        } catch (const Exception&) {
            return 0; // not a picture we can read
        }
    }
    if (Format == HtmlFormat())
        return BlockOfBytes(BuildHtmlFormat(TextOfTarget(Target, Data)) + '\0');
    if (Format == RtfFormat())
        return BlockOfBytes(UpToNul(Data) + '\0');
    if (Format == CF_HDROP) {
        const std::vector<std::string> Files = ParseUriList(Data);
        return Files.empty() ? 0 : BlockOfBytes(BuildDropFiles(Files));
    }
    if (IsPrivateFormat(Format))
        return BlockOfBytes(Data);
    return 0;
}
