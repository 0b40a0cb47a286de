// imaging/gif/gifextensions.h: the extension blocks in front of a frame (graphic control, plain
// text, comment, application with the loop extension), the registries that map a label or an
// application identifier to a class, and the frame's extension list.
#pragma once

#include "imaging/gif/gifitems.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGIFExtension;

// The class of an extension: how to make one and how to pick a more specific class from the
// block at the stream position.
struct TGIFExtensionClassRec {
    const char* Name;
    TGIFExtension* (*Create)(TGIFSubImage* AFrame);
    const TGIFExtensionClassRec* (*ResolveClass)(const TGIFExtensionClassRec* Self,
                                                 TStream* Stream);
};
using TGIFExtensionClass = const TGIFExtensionClassRec*;

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage* AFrame);
    // Takes itself out of its frame's list.
    ~TGIFExtension() override;

    TGIFSubImage* Frame() const { return FFrame; }
    virtual std::uint8_t ExtensionLabel() const = 0;
    int RequiredVersion() const override { return 2; }
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

protected:
    TGIFSubImage* FFrame;
};

// Graphic control extension: disposal, delay, user input and transparency of its frame.
class TGIFGraphicControlExtension : public TGIFExtension {
public:
    static TGIFExtensionClass ClassRec();
    explicit TGIFGraphicControlExtension(TGIFSubImage* AFrame);
    ~TGIFGraphicControlExtension() override;

    std::uint8_t ExtensionLabel() const override { return 0xF9; }
    bool HasTransparency() const { return (FPacked & 1) != 0; }
    void SetHasTransparency(bool Value);
    int TransparentIndex() const { return FTransparentIndex; }
    void SetTransparentIndex(int Value);
    int DelayHundredths() const { return FDelay; }
    void SetDelayHundredths(int Value) { FDelay = static_cast<std::uint16_t>(Value); }
    bool WaitsForInput() const { return (FPacked & 2) != 0; }
    int DisposalMethod() const { return (FPacked >> 2) & 7; }
    void SetDisposalMethod(int Value);
    std::uint8_t PackedFields() const { return FPacked; }

    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

private:
    std::uint8_t FBlockSize = 4;
    std::uint8_t FPacked = 0;
    std::uint16_t FDelay = 0;
    std::uint8_t FTransparentIndex = 0;
    std::uint8_t FTerminator = 0;
};

// Plain text extension: a text grid drawn over the logical screen.
class TGIFTextExtension : public TGIFExtension {
public:
    static TGIFExtensionClass ClassRec();
    explicit TGIFTextExtension(TGIFSubImage* AFrame);
    std::uint8_t ExtensionLabel() const override { return 0x01; }
    TStringList* Text() const { return FText.get(); }
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int GridWidth() const { return FGridWidth; }
    int GridHeight() const { return FGridHeight; }
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    int ForegroundColorIndex() const { return FForeground; }
    int BackgroundColorIndex() const { return FBackground; }
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

private:
    std::uint8_t FBlockSize = 12;
    std::uint16_t FLeft = 0, FTop = 0, FGridWidth = 0, FGridHeight = 0;
    std::uint8_t FCellWidth = 0, FCellHeight = 0, FForeground = 0, FBackground = 0;
    std::unique_ptr<TStringList> FText;
};

class TGIFCommentExtension : public TGIFExtension {
public:
    static TGIFExtensionClass ClassRec();
    explicit TGIFCommentExtension(TGIFSubImage* AFrame);
    std::uint8_t ExtensionLabel() const override { return 0xFE; }
    TStringList* Text() const { return FText.get(); }
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

private:
    std::unique_ptr<TStringList> FText;
};

// Application extension: an 11-byte identifier (8 bytes name, 3 bytes authentication code) and
// data that the subclass reads and writes.
class TGIFApplicationExtension : public TGIFExtension {
public:
    static TGIFExtensionClass ClassRec();
    using TGIFExtension::TGIFExtension;
    std::uint8_t ExtensionLabel() const override { return 0xFF; }
    // The 11 identifier bytes.
    std::string Identifier() const { return std::string(FIdent, FIdent + 11); }
    void SetIdentifier(const std::string& Value);
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

protected:
    virtual void WriteAppData(TStream* Stream) = 0;
    virtual void ReadAppData(TStream* Stream) = 0;

    char FIdent[11] = {};
    // A first sub-block of another size than 11 is written back as it was read, so that its
    // bytes never pass for another application's identifier.
    std::uint8_t FBlockSize = 11;
    std::string FExtra;
};

// One raw data sub-block.
class TGIFBlock : public TObject {
public:
    explicit TGIFBlock(int ASize) : Data(static_cast<std::size_t>(ASize), 0) {}
    int Size() const { return static_cast<int>(Data.size()); }
    std::vector<std::uint8_t> Data;
};

// An application extension no class is registered for: its sub-blocks kept as they are.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    static TGIFExtensionClass ClassRec();
    using TGIFApplicationExtension::TGIFApplicationExtension;
    const std::vector<std::unique_ptr<TGIFBlock>>& Blocks() const { return FBlocks; }

protected:
    void WriteAppData(TStream* Stream) override;
    void ReadAppData(TStream* Stream) override;

private:
    std::vector<std::unique_ptr<TGIFBlock>> FBlocks;
};

// The loop extension ("NETSCAPE2.0", also read as "ANIMEXTS1.0").
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    static TGIFExtensionClass ClassRec();
    explicit TGIFAppExtNSLoop(TGIFSubImage* AFrame);
    int Loops() const { return FLoops; }
    void SetLoops(int Value) { FLoops = static_cast<std::uint16_t>(Value); }
    std::uint32_t BufferSize() const { return FBufferSize; }
    void SetBufferSize(std::uint32_t Value) { FBufferSize = Value; }

protected:
    void WriteAppData(TStream* Stream) override;
    void ReadAppData(TStream* Stream) override;

private:
    std::uint16_t FLoops = 0;
    std::uint32_t FBufferSize = 0;
};

// The extensions of one frame, in file order.
class TGIFExtensionList : public TGIFList {
public:
    explicit TGIFExtensionList(TGIFSubImage* AFrame);
    TGIFExtension* Extension(int Index) const;
    void LoadFromStream(TStream* Stream, TObject* Parent) override;

private:
    TGIFSubImage* FFrame;
};

// Label -> class; the last registration of a label wins.
class TExtensionList {
public:
    void Add(std::uint8_t Label, TGIFExtensionClass Class);
    TGIFExtensionClass Find(std::uint8_t Label) const;

private:
    std::vector<std::pair<std::uint8_t, TGIFExtensionClass>> FItems;
};
TExtensionList& ExtensionList();

// 11-byte application identifier -> class; the last registration wins.
class TAppExtensionList {
public:
    void Add(const std::string& Identifier, TGIFExtensionClass Class);
    TGIFExtensionClass Find(const std::string& Identifier) const;

private:
    std::vector<std::pair<std::string, TGIFExtensionClass>> FItems;
};
TAppExtensionList& AppExtensionList();

// The class of the extension at the stream position (just after its '!'); nil when none.
TGIFExtensionClass FindExtensionClass(TStream* Stream);

// Strings as text sub-blocks of at most 255 bytes each, ended by a zero byte.
void WriteTextBlocks(TStream* Stream, const TStrings* Strings);
// One string per sub-block, each cut at its first zero byte.
void ReadTextBlocks(TStream* Stream, TStrings* Strings);
