// platform/gfx/graphic.cpp: TGraphic, TPicture and the picture-format registry.
#include "platform/gfx/graphic.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/pngformat.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <mutex>
#include <vector>

void TGraphic::SetPalette(HPALETTE) {}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Changed(this);
}

void TGraphic::SetModified(bool Value)
{
    if (Value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::Changed(TObject*)
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName)
{
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const std::string& FileName)
{
    TMemoryStream Stream;
    SaveToStream(&Stream);
    AtomicWriteFile(FileName, std::string(static_cast<const char*>(Stream.Memory()),
                                          static_cast<std::size_t>(Stream.Size())));
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE)
{
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = 0;
    AData = 0;
    APalette = nullptr;
}

namespace {

struct TFileFormat {
    std::string Extension; // lower case, no dot
    std::string Description;
    TGraphicClass GraphicClass;
};

struct TClipFormat {
    UINT Format;
    TGraphicClass GraphicClass;
};

struct TRegistry {
    std::mutex Mutex;
    std::vector<TFileFormat> Files; // the latest first
    std::vector<TClipFormat> Clips;
};

TRegistry& Registry()
{
    static TRegistry R;
    static const bool Initialised = [] {
        // Icons are registered here rather than beside TIcon, so that a program that never
        // names TIcon still opens icon files.
        R.Files.push_back(TFileFormat{"ico", "Icon", TMetaClass::Of<TIcon>()});
        R.Files.push_back(
            TFileFormat{"png", "Portable Network Graphics", TMetaClass::Of<TPngImage>()});
        R.Files.push_back(TFileFormat{"bmp", "Bitmaps", TMetaClass::Of<TBitmap>()});
        R.Clips.push_back(TClipFormat{CF_BITMAP, TMetaClass::Of<TBitmap>()});
        R.Clips.push_back(TClipFormat{CF_DIB, TMetaClass::Of<TBitmap>()});
        return true;
    }();
    (void)Initialised;
    return R;
}

std::string ExtensionOf(const std::string& FileName)
{
    std::string Ext = ExtractFileExt(FileName);
    if (!Ext.empty() && Ext[0] == '.')
        Ext.erase(0, 1);
    return LowerCase(Ext);
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicClass GraphicClass)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    std::string Ext = LowerCase(Extension);
    if (!Ext.empty() && Ext[0] == '.')
        Ext.erase(0, 1);
    R.Files.insert(R.Files.begin(), TFileFormat{Ext, Description, GraphicClass});
}

void TPicture::RegisterClipboardFormat(UINT AFormat, TGraphicClass GraphicClass)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    R.Clips.insert(R.Clips.begin(), TClipFormat{AFormat, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    // A class goes with every class derived from it.
    auto Derived = [&](TGraphicClass C) { return C && C->InheritsFrom(AClass); };
    R.Files.erase(std::remove_if(R.Files.begin(), R.Files.end(),
                                 [&](const TFileFormat& F) { return Derived(F.GraphicClass); }),
                  R.Files.end());
    R.Clips.erase(std::remove_if(R.Clips.begin(), R.Clips.end(),
                                 [&](const TClipFormat& F) { return Derived(F.GraphicClass); }),
                  R.Clips.end());
}

TGraphicClass TPicture::FileFormatClass(const std::string& Extension)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    std::string Ext = LowerCase(Extension);
    if (!Ext.empty() && Ext[0] == '.')
        Ext.erase(0, 1);
    for (const TFileFormat& F : R.Files)
        if (F.Extension == Ext)
            return F.GraphicClass;
    return nullptr;
}

bool TPicture::SupportsClipboardFormat(UINT AFormat)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    return std::any_of(R.Clips.begin(), R.Clips.end(),
                       [&](const TClipFormat& F) { return F.Format == AFormat; });
}

std::string GraphicFilter(TGraphicClass GraphicClass)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    std::string All, Each;
    int Count = 0;
    // Oldest first, one entry per extension.
    std::vector<std::string> Seen;
    for (auto It = R.Files.rbegin(); It != R.Files.rend(); ++It) {
        if (!It->GraphicClass || !It->GraphicClass->InheritsFrom(GraphicClass))
            continue;
        if (std::find(Seen.begin(), Seen.end(), It->Extension) != Seen.end())
            continue;
        Seen.push_back(It->Extension);
        const std::string Mask = "*." + It->Extension;
        All += (Count++ ? ";" : "") + Mask;
        Each += "|" + It->Description + " (" + Mask + ")|" + Mask;
    }
    if (Count > 1)
        return "All (" + All + ")|" + All + Each;
    return Each.empty() ? std::string() : Each.substr(1);
}

std::string GraphicExtension(TGraphicClass GraphicClass)
{
    TRegistry& R = Registry();
    std::lock_guard<std::mutex> Lock(R.Mutex);
    for (auto It = R.Files.rbegin(); It != R.Files.rend(); ++It)
        if (It->GraphicClass == GraphicClass)
            return It->Extension;
    return std::string();
}

std::unique_ptr<TGraphic> TPicture::NewGraphic(TGraphicClass GraphicClass)
{
    std::unique_ptr<TPersistent> Object = GraphicClass->CreatePersistent();
    auto* Graphic = dynamic_cast<TGraphic*>(Object.get());
    if (!Graphic)
        throw EInvalidGraphic("Invalid graphic class " + GraphicClass->ClassName());
    Object.release();
    return std::unique_ptr<TGraphic>(Graphic);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> Value)
{
    FGraphic = std::move(Value);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject* Sender) { Changed(Sender); };
    Changed(this);
}

void TPicture::Changed(TObject*)
{
    if (OnChange)
        OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* Value)
{
    if (!Value) {
        TakeGraphic(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> Copy = NewGraphic(Value->ClassType());
    Copy->Assign(Value);
    TakeGraphic(std::move(Copy));
}

TBitmap* TPicture::Bitmap()
{
    if (auto* B = dynamic_cast<TBitmap*>(FGraphic.get()))
        return B;
    TakeGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(const TBitmap* Value)
{
    SetGraphic(Value);
}

int TPicture::Width() const
{
    return FGraphic ? FGraphic->Width() : 0;
}

int TPicture::Height() const
{
    return FGraphic ? FGraphic->Height() : 0;
}

void TPicture::LoadFromFile(const std::string& FileName)
{
    const std::string Ext = ExtensionOf(FileName);
    TGraphicClass Class = FileFormatClass(Ext);
    if (!Class)
        throw EInvalidGraphic("Unknown picture file extension (." + Ext + ")");
    std::unique_ptr<TGraphic> Graphic = NewGraphic(Class);
    Graphic->LoadFromFile(FileName);
    TakeGraphic(std::move(Graphic));
}

void TPicture::SaveToFile(const std::string& FileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette)
{
    TGraphicClass Class = nullptr;
    {
        TRegistry& R = Registry();
        std::lock_guard<std::mutex> Lock(R.Mutex);
        for (const TClipFormat& F : R.Clips)
            if (F.Format == AFormat) {
                Class = F.GraphicClass;
                break;
            }
    }
    if (!Class)
        throw EInvalidGraphic("Unsupported clipboard format");
    std::unique_ptr<TGraphic> Graphic = NewGraphic(Class);
    Graphic->LoadFromClipboardFormat(AFormat, AData, APalette);
    TakeGraphic(std::move(Graphic));
}

void TPicture::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = 0;
    AData = 0;
    APalette = nullptr;
    if (FGraphic)
        FGraphic->SaveToClipboardFormat(AFormat, AData, APalette);
}

void TPicture::Assign(const TPersistent* Source)
{
    if (!Source) {
        TakeGraphic(nullptr);
    } else if (const auto* P = dynamic_cast<const TPicture*>(Source)) {
        SetGraphic(P->Graphic());
    } else if (const auto* G = dynamic_cast<const TGraphic*>(Source)) {
        SetGraphic(G);
    } else {
        TPersistent::Assign(Source);
    }
}

void TPicture::AssignTo(TPersistent* Dest) const
{
    if (FGraphic)
        Dest->Assign(FGraphic.get());
    else
        TPersistent::AssignTo(Dest);
}
