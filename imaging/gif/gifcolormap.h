// imaging/gif/gifcolormap.h: the colour tables of a GIF picture: the global one of the header and
// the local one of a frame, with their file form, palette exchange and sorting by usage.
#pragma once

#include "imaging/gif/gifexception.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/palette.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class TGIFHeader;
class TGIFSubImage;

// (pixels using an entry, entry index)
using TColorUsage = std::array<std::pair<int, int>, 256>;

class TGIFColorMap : public TPersistent {
public:
    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }
    bool SortedByUsage() const { return FSorted; }
    void SetSortedByUsage(bool Value) { FSorted = Value; }
    // Entry I as red, green, blue (I below Count).
    const std::uint8_t* Entry(int I) const { return FEntries.data() + 3 * I; }
    const std::uint8_t* Data() const { return FEntries.data(); }

    void ResetTable();
    void Reserve(int N);
    int AppendColor(TColor Color);
    int AppendDistinctColor(TColor Color);
    void RemoveColor(int Index);
    int FindColor(TColor Color) const;
    TColor ColorAt(int Index);
    int IndexBits() const;
    void SaveToStream(TStream* Stream) const;
    void LoadFromStream(TStream* Stream, int N);
    void FromPalette(HPALETTE Palette);
    void FromRGBQuads(const RGBQUAD* Quads, int N);
    void FromSelectedDIB(HDC DC);
    // A new palette of the entries (nil for an empty table); the caller owns it.
    HPALETTE ToPalette() const;
    void Assign(const TPersistent* Source) override;

    virtual void ReportWarning(int Severity, const std::string& Message) = 0;
    // Adds the pixels using each entry to Usage[Index].first; the caller starts it at {0, Index}.
    virtual void CountUsage(TColorUsage& Usage) = 0;
    virtual void RemapPixels(const std::uint8_t* Map) = 0;
    virtual bool Reorder() = 0;
    virtual void NotifyChanged() = 0;

protected:
    bool SortByUsage();

private:
    std::vector<std::uint8_t> FEntries;
    int FCount = 0;
    int FCapacity = 0;
    bool FSorted = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    explicit TGIFGlobalColorMap(TGIFHeader* AHeader) : FHeader(AHeader) {}
    TGIFHeader* Header() const { return FHeader; }

    void ReportWarning(int Severity, const std::string& Message) override;
    void CountUsage(TColorUsage& Usage) override;
    void RemapPixels(const std::uint8_t* Map) override;
    bool Reorder() override;
    void NotifyChanged() override;

private:
    // The frames whose pixels index this table.
    std::vector<TGIFSubImage*> FramesUsingIt() const;

    TGIFHeader* FHeader;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    explicit TGIFLocalColorMap(TGIFSubImage* AFrame) : FFrame(AFrame) {}
    TGIFSubImage* Frame() const { return FFrame; }

    void ReportWarning(int Severity, const std::string& Message) override;
    void CountUsage(TColorUsage& Usage) override;
    void RemapPixels(const std::uint8_t* Map) override;
    bool Reorder() override;
    void NotifyChanged() override;

private:
    TGIFSubImage* FFrame;
};
