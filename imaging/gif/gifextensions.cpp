// imaging/gif/gifextensions.cpp: reading and writing the extension blocks and their registries.
#include "imaging/gif/gifextensions.h"

#include "platform/rtl/byteorder.h"

#include <cstring>

namespace {

template <class T>
TGIFExtension* CreateExtension(TGIFSubImage* AFrame)
{
    return new T(AFrame);
}

TGIFExtensionClass ResolveSelf(TGIFExtensionClass Self, TStream*)
{
    return Self;
}

void Skip(TStream* Stream, int64_t Count)
{
    if (Count != 0)
        Stream->Seek(Count, soCurrent);
}

} // namespace

TGIFExtension::TGIFExtension(TGIFSubImage* AFrame)
    : TGIFItem(AFrame ? AFrame->Image() : nullptr), FFrame(AFrame)
{
}

TGIFExtension::~TGIFExtension()
{
    if (FFrame && FFrame->Extensions())
        FFrame->Extensions()->Remove(this);
}

void TGIFExtension::SaveToStream(TStream* Stream)
{
    const std::uint8_t Bytes[2] = {'!', ExtensionLabel()};
    Stream->WriteBuffer(Bytes, 2);
}

void TGIFExtension::LoadFromStream(TStream* Stream)
{
    std::uint8_t Bytes[2];
    ReadExact(Stream, Bytes, 2);
    if (Bytes[0] != '!')
        throw GIFException("Invalid extension introducer");
    if (Bytes[1] != ExtensionLabel())
        throw GIFException("Internal error: Extension Instance does not match Extension Label");
}

// Graphic control extension

TGIFExtensionClass TGIFGraphicControlExtension::ClassRec()
{
    static const TGIFExtensionClassRec Rec{
        "TGIFGraphicControlExtension", CreateExtension<TGIFGraphicControlExtension>, ResolveSelf};
    return &Rec;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* AFrame)
    : TGIFExtension(AFrame)
{
    if (FFrame && !FFrame->GraphicControlExtension())
        FFrame->SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    if (FFrame) {
        if (HasTransparency())
            FFrame->SetTransparent(false);
        if (FFrame->GraphicControlExtension() == this)
            FFrame->SetGraphicControlExtension(nullptr);
    }
}

void TGIFGraphicControlExtension::SetHasTransparency(bool Value)
{
    FPacked = static_cast<std::uint8_t>(Value ? (FPacked | 1) : (FPacked & ~1));
    if (FFrame)
        FFrame->SetTransparent(Value);
}

void TGIFGraphicControlExtension::SetTransparentIndex(int Value)
{
    const TGIFColorMap* Map = FFrame ? FFrame->ActiveColorMap() : nullptr;
    if (Map && Map->Count() > 0 && Value >= Map->Count()) {
        ReportWarning(1, "Invalid color index");
        Value = 0;
    }
    FTransparentIndex = static_cast<std::uint8_t>(Value);
}

void TGIFGraphicControlExtension::SetDisposalMethod(int Value)
{
    FPacked = static_cast<std::uint8_t>((FPacked & 227) | ((Value * 4) & 28));
}

void TGIFGraphicControlExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    const std::uint8_t Bytes[6] = {FBlockSize,
                                   FPacked,
                                   static_cast<std::uint8_t>(FDelay),
                                   static_cast<std::uint8_t>(FDelay >> 8),
                                   FTransparentIndex,
                                   FTerminator};
    Stream->WriteBuffer(Bytes, 6);
}

void TGIFGraphicControlExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    std::uint8_t Bytes[6] = {};
    if (Stream->Read(Bytes, 6) < 6) {
        ReportWarning(1, "Premature end of data");
        return;
    }
    FBlockSize = Bytes[0];
    FPacked = Bytes[1];
    FDelay = ReadLE16(Bytes + 2);
    FTransparentIndex = Bytes[4];
    FTerminator = Bytes[5];
    if (HasTransparency() && FFrame)
        FFrame->SetTransparent(true);
}

// Plain text and comment extensions

TGIFExtensionClass TGIFTextExtension::ClassRec()
{
    static const TGIFExtensionClassRec Rec{"TGIFTextExtension", CreateExtension<TGIFTextExtension>,
                                           ResolveSelf};
    return &Rec;
}

TGIFTextExtension::TGIFTextExtension(TGIFSubImage* AFrame)
    : TGIFExtension(AFrame), FText(std::make_unique<TStringList>())
{
}

void TGIFTextExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    std::uint8_t Bytes[13] = {FBlockSize};
    const std::uint16_t Words[4] = {FLeft, FTop, FGridWidth, FGridHeight};
    for (int I = 0; I < 4; ++I) {
        Bytes[1 + 2 * I] = static_cast<std::uint8_t>(Words[I]);
        Bytes[2 + 2 * I] = static_cast<std::uint8_t>(Words[I] >> 8);
    }
    Bytes[9] = FCellWidth;
    Bytes[10] = FCellHeight;
    Bytes[11] = FForeground;
    Bytes[12] = FBackground;
    Stream->WriteBuffer(Bytes, 13);
    WriteTextBlocks(Stream, FText.get());
}

void TGIFTextExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    std::uint8_t Bytes[13];
    ReadExact(Stream, Bytes, 13);
    FBlockSize = Bytes[0];
    FLeft = ReadLE16(Bytes + 1);
    FTop = ReadLE16(Bytes + 3);
    FGridWidth = ReadLE16(Bytes + 5);
    FGridHeight = ReadLE16(Bytes + 7);
    FCellWidth = Bytes[9];
    FCellHeight = Bytes[10];
    FForeground = Bytes[11];
    FBackground = Bytes[12];
    ReadTextBlocks(Stream, FText.get());
}

TGIFExtensionClass TGIFCommentExtension::ClassRec()
{
    static const TGIFExtensionClassRec Rec{"TGIFCommentExtension",
                                           CreateExtension<TGIFCommentExtension>, ResolveSelf};
    return &Rec;
}

TGIFCommentExtension::TGIFCommentExtension(TGIFSubImage* AFrame)
    : TGIFExtension(AFrame), FText(std::make_unique<TStringList>())
{
}

void TGIFCommentExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    WriteTextBlocks(Stream, FText.get());
}

void TGIFCommentExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    ReadTextBlocks(Stream, FText.get());
}

// Application extensions

namespace {

TGIFExtensionClass ResolveApplication(TGIFExtensionClass Self, TStream* Stream)
{
    const int64_t Position = Stream->Position();
    std::uint8_t Size;
    if (!ReadByte(Stream, Size))
        return nullptr;
    char Ident[11];
    if (Size == 10)
        return Stream->Read(Ident, 10) == 10 ? TGIFUnknownAppExtension::ClassRec() : nullptr;
    if (Size == 11 && Stream->Read(Ident, 11) == 11) {
        TGIFExtensionClass Class = AppExtensionList().Find(std::string(Ident, 11));
        return Class ? Class : TGIFUnknownAppExtension::ClassRec();
    }
    Stream->SetPosition(Position);
    // Other first sub-blocks have no class of their own; their data are kept raw.
    return Self == TGIFApplicationExtension::ClassRec() ? TGIFUnknownAppExtension::ClassRec()
                                                        : Self;
}

TGIFExtensionClass ResolveAppSubclass(TGIFExtensionClass Self, TStream*)
{
    return Self;
}

} // namespace

TGIFExtensionClass TGIFApplicationExtension::ClassRec()
{
    static const TGIFExtensionClassRec Rec{"TGIFApplicationExtension", nullptr, ResolveApplication};
    return &Rec;
}

void TGIFApplicationExtension::SetIdentifier(const std::string& Value)
{
    std::memset(FIdent, 0, sizeof(FIdent));
    std::memcpy(FIdent, Value.data(), std::min<std::size_t>(Value.size(), 11));
}

void TGIFApplicationExtension::SaveToStream(TStream* Stream)
{
    TGIFExtension::SaveToStream(Stream);
    WriteByte(Stream, FBlockSize);
    Stream->WriteBuffer(FIdent, std::min<int>(FBlockSize, 11));
    if (!FExtra.empty())
        Stream->WriteBuffer(FExtra.data(), static_cast<int64_t>(FExtra.size()));
    WriteAppData(Stream);
}

void TGIFApplicationExtension::LoadFromStream(TStream* Stream)
{
    TGIFExtension::LoadFromStream(Stream);
    std::uint8_t Size;
    ReadExact(Stream, &Size, 1);
    if (Size == 10)
        std::memset(FIdent, 0, sizeof(FIdent));
    else if (Size < 11)
        throw GIFException("Unsupported Application Extension block size");
    ReadExact(Stream, FIdent, 11);
    FBlockSize = Size;
    FExtra.clear();
    if (Size > 11) {
        FExtra.resize(Size - 11u);
        ReadExact(Stream, FExtra.data(), static_cast<int64_t>(FExtra.size()));
    } else
        Skip(Stream, static_cast<int64_t>(Size) - 11);
    ReadAppData(Stream);
}

TGIFExtensionClass TGIFUnknownAppExtension::ClassRec()
{
    static const TGIFExtensionClassRec Rec{
        "TGIFUnknownAppExtension", CreateExtension<TGIFUnknownAppExtension>, ResolveAppSubclass};
    return &Rec;
}

void TGIFUnknownAppExtension::WriteAppData(TStream* Stream)
{
    for (const auto& Block : FBlocks) {
        WriteByte(Stream, static_cast<std::uint8_t>(Block->Size()));
        Stream->WriteBuffer(Block->Data.data(), Block->Size());
    }
    WriteByte(Stream, 0);
}

void TGIFUnknownAppExtension::ReadAppData(TStream* Stream)
{
    FBlocks.clear();
    std::uint8_t Size;
    while (ReadByte(Stream, Size) && Size != 0) {
        auto Block = std::make_unique<TGIFBlock>(Size);
        ReadExact(Stream, Block->Data.data(), Size);
        FBlocks.push_back(std::move(Block));
    }
}

TGIFExtensionClass TGIFAppExtNSLoop::ClassRec()
{
    static const TGIFExtensionClassRec Rec{"TGIFAppExtNSLoop", CreateExtension<TGIFAppExtNSLoop>,
                                           ResolveAppSubclass};
    return &Rec;
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* AFrame) : TGIFApplicationExtension(AFrame)
{
    SetIdentifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::WriteAppData(TStream* Stream)
{
    const std::uint8_t Loop[4] = {3, 1, static_cast<std::uint8_t>(FLoops),
                                  static_cast<std::uint8_t>(FLoops >> 8)};
    Stream->WriteBuffer(Loop, 4);
    if (FBufferSize != 0) {
        const std::uint8_t Buffer[6] = {5,
                                        2,
                                        static_cast<std::uint8_t>(FBufferSize),
                                        static_cast<std::uint8_t>(FBufferSize >> 8),
                                        static_cast<std::uint8_t>(FBufferSize >> 16),
                                        static_cast<std::uint8_t>(FBufferSize >> 24)};
        Stream->WriteBuffer(Buffer, 6);
    }
    WriteByte(Stream, 0);
}

void TGIFAppExtNSLoop::ReadAppData(TStream* Stream)
{
    // Read under either name, written under the one every reader knows.
    SetIdentifier("NETSCAPE2.0");
    FBlockSize = 11;
    FExtra.clear();
    std::uint8_t Length;
    while (ReadByte(Stream, Length) && Length != 0) {
        std::uint8_t Id;
        ReadExact(Stream, &Id, 1);
        int Left = Length - 1;
        if ((Id & 7) == 1) {
            if (Length < 3)
                throw GIFException("Invalid GIF data");
            std::uint8_t Bytes[2];
            ReadExact(Stream, Bytes, 2);
            FLoops = ReadLE16(Bytes);
            Left = Length - 3;
        } else if ((Id & 7) == 2) {
            if (Length < 5)
                throw GIFException("Invalid GIF data");
            std::uint8_t Bytes[4];
            ReadExact(Stream, Bytes, 4);
            FBufferSize =
                static_cast<std::uint32_t>(Bytes[0] | (Bytes[1] << 8) | (Bytes[2] << 16)) |
                (static_cast<std::uint32_t>(Bytes[3]) << 24);
            Left = Length - 5;
        }
        Skip(Stream, Left);
    }
}

// The frame's extension list

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* AFrame)
    : TGIFList(AFrame ? AFrame->Image() : nullptr), FFrame(AFrame)
{
}

TGIFExtension* TGIFExtensionList::Extension(int Index) const
{
    return static_cast<TGIFExtension*>(Items(Index));
}

void TGIFExtensionList::LoadFromStream(TStream* Stream, TObject*)
{
    std::uint8_t Next;
    if (!ReadByte(Stream, Next))
        return;
    while (Next != ',' && Next != ';') {
        if (Next != '!') {
            ReportWarning(1, "Invalid extension introducer");
            break;
        }
        TGIFExtensionClass Class = FindExtensionClass(Stream);
        if (!Class || !Class->Create)
            throw GIFException("Unknown extension type");
        Stream->Seek(-1, soCurrent);
        std::unique_ptr<TGIFExtension> Extension(Class->Create(FFrame));
        Extension->LoadFromStream(Stream);
        Add(Extension.release());
        if (!ReadByte(Stream, Next))
            return;
    }
    Stream->Seek(-1, soCurrent);
}

// Registries

void TExtensionList::Add(std::uint8_t Label, TGIFExtensionClass Class)
{
    FItems.emplace_back(Label, Class);
}

TGIFExtensionClass TExtensionList::Find(std::uint8_t Label) const
{
    for (auto It = FItems.rbegin(); It != FItems.rend(); ++It)
        if (It->first == Label)
            return It->second;
    return nullptr;
}

TExtensionList& ExtensionList()
{
    static TExtensionList List = [] {
        TExtensionList L;
        L.Add(0x01, TGIFTextExtension::ClassRec());
        L.Add(0xF9, TGIFGraphicControlExtension::ClassRec());
        L.Add(0xFE, TGIFCommentExtension::ClassRec());
        L.Add(0xFF, TGIFApplicationExtension::ClassRec());
        return L;
    }();
    return List;
}

void TAppExtensionList::Add(const std::string& Identifier, TGIFExtensionClass Class)
{
    FItems.emplace_back(Identifier, Class);
}

TGIFExtensionClass TAppExtensionList::Find(const std::string& Identifier) const
{
    for (auto It = FItems.rbegin(); It != FItems.rend(); ++It)
        if (It->first == Identifier)
            return It->second;
    return nullptr;
}

TAppExtensionList& AppExtensionList()
{
    static TAppExtensionList List = [] {
        TAppExtensionList L;
        L.Add("NETSCAPE2.0", TGIFAppExtNSLoop::ClassRec());
        L.Add("ANIMEXTS1.0", TGIFAppExtNSLoop::ClassRec());
        return L;
    }();
    return List;
}

TGIFExtensionClass FindExtensionClass(TStream* Stream)
{
    const int64_t Position = Stream->Position();
    std::uint8_t Label;
    if (!ReadByte(Stream, Label))
        return nullptr;
    TGIFExtensionClass Class = ExtensionList().Find(Label);
    while (Class) {
        TGIFExtensionClass Next = Class->ResolveClass(Class, Stream);
        if (Next == Class)
            break;
        Class = Next;
    }
    Stream->SetPosition(Position);
    return Class;
}

void WriteTextBlocks(TStream* Stream, const TStrings* Strings)
{
    for (int I = 0; I < Strings->Count(); ++I) {
        const std::string S = Strings->Strings(I);
        for (std::size_t Pos = 0; Pos < S.size(); Pos += 255) {
            const std::size_t N = std::min<std::size_t>(255, S.size() - Pos);
            WriteByte(Stream, static_cast<std::uint8_t>(N));
            Stream->WriteBuffer(S.data() + Pos, static_cast<int64_t>(N));
        }
    }
    WriteByte(Stream, 0);
}

void ReadTextBlocks(TStream* Stream, TStrings* Strings)
{
    Strings->Clear();
    std::uint8_t Size;
    while (ReadByte(Stream, Size) && Size != 0) {
        char Buffer[255];
        ReadExact(Stream, Buffer, Size);
        std::string S(Buffer, Size);
        const std::size_t Zero = S.find('\0');
        if (Zero != std::string::npos)
            S.resize(Zero);
        Strings->Add(S);
    }
}
