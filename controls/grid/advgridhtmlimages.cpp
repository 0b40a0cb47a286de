// controls/grid/advgridhtmlimages.cpp: finding, sizing and drawing the pictures of grid HTML.
#include "controls/grid/advgridhtmlimages.h"

#include "controls/grid/advgridhtmlparse.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/icon.h"
#include "platform/rtl/resources.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace AdvGridHtml {

namespace {

bool StartsNoCase(const std::string& Text, const std::string& Upper)
{
    return Text.size() >= Upper.size() && UpperCase(Text.substr(0, Upper.size())) == Upper;
}

int Scaled(int Value, const THtmlImageRequest& Request)
{
    if (!Request.ForPrinter)
        return Value;
    double Factor = Request.ScaleFactor;
    if (!(Factor >= MinScaleFactor))
        Factor = Factor > 0 ? MinScaleFactor : 1.0;
    Factor = std::min(Factor, MaxScaleFactor);
    return std::clamp(static_cast<int>(std::lround(Value * Factor)), 0, MaxImageSize);
}

// A picture file small enough to read for a cell, loaded through the registered formats.
std::unique_ptr<TPicture> LoadPictureFile(const std::string& FileName)
{
    std::error_code Error;
    const std::filesystem::path Path(FileName);
    if (FileName.empty() || !std::filesystem::is_regular_file(Path, Error))
        return nullptr;
    const auto Bytes = std::filesystem::file_size(Path, Error);
    if (Error || Bytes > static_cast<std::uintmax_t>(MaxPictureFileBytes))
        return nullptr;
    auto Picture = std::make_unique<TPicture>();
    try {
        Picture->LoadFromFile(FileName);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!Picture->Graphic() || Picture->Graphic()->Empty())
        return nullptr;
    return Picture;
}

// Our own small and large icons: the folder for an existing directory, the document otherwise;
// a number picks from the two (0 document, 1 folder).
std::optional<std::string> SystemIconName(const std::string& Name)
{
    if (const auto Number = LeadingInt(Name);
        Number && UpperCase(Name).find_first_not_of(" +-0123456789") == std::string::npos) {
        if (*Number == 0)
            return std::string("GRIDDOCUMENT");
        if (*Number == 1)
            return std::string("GRIDFOLDER");
        return std::nullopt;
    }
    std::error_code Error;
    if (!Name.empty() && std::filesystem::is_directory(std::filesystem::path(Name), Error))
        return std::string("GRIDFOLDER");
    return std::string("GRIDDOCUMENT");
}

bool ImageListImage(TCanvas* Canvas, TImageList* Images, const THtmlImageRequest& Request,
                    const std::string& Number, int X, int Y, TSize& Size)
{
    const auto Index = LeadingInt(Number);
    if (!Images || !Index || *Index < 0 || *Index >= Images->Count())
        return false;
    Size = TSize{Scaled(std::min(Images->Width(), MaxImageSize), Request),
                 Scaled(std::min(Images->Height(), MaxImageSize), Request)};
    if (!Canvas)
        return true;
    if (!Request.ForPrinter) {
        Images->Draw(Canvas, X, Y, *Index);
        return true;
    }
    TBitmap Bitmap;
    if (Images->GetBitmap(*Index, &Bitmap))
        Canvas->StretchDraw(TRect{X, Y, X + Size.cx, Y + Size.cy}, &Bitmap);
    return true;
}

bool SystemIcon(TCanvas* Canvas, const THtmlImageRequest& Request, const std::string& Name,
                bool Large, int X, int Y, TSize& Size)
{
    const auto Resource = SystemIconName(Name);
    if (!Resource)
        return false;
    const int Side = Large ? 32 : 16;
    HICON Icon = LoadImage(*Resource, IMAGE_ICON, Side, Side, LR_DEFAULTCOLOR);
    if (!Icon)
        return false;
    Size = TSize{Scaled(Side, Request), Scaled(Side, Request)};
    if (Canvas)
        DrawIconImage(Canvas, TRect{X, Y, X + Size.cx, Y + Size.cy}, Icon->Image);
    DestroyIcon(Icon);
    return true;
}

bool ResourceBitmap(TCanvas* Canvas, const THtmlImageRequest& Request, const std::string& Name,
                    int X, int Y, TSize& Size)
{
    if (Name.empty() || !FindResource(RT_BITMAP, Name))
        return false;
    TBitmap Bitmap;
    try {
        Bitmap.LoadFromResourceName(Name);
    } catch (const std::exception&) {
        return false;
    }
    Size = TSize{Scaled(std::min(Bitmap.Width(), MaxImageSize), Request),
                 Scaled(std::min(Bitmap.Height(), MaxImageSize), Request)};
    if (Canvas)
        Canvas->StretchDraw(TRect{X, Y, X + Size.cx, Y + Size.cy}, &Bitmap);
    return true;
}

bool PictureFile(TCanvas* Canvas, const THtmlImageRequest& Request, const std::string& FileName,
                 int X, int Y, TSize& Size)
{
    const auto Picture = LoadPictureFile(FileName);
    if (!Picture)
        return false;
    const int Width = std::clamp(Request.Width, 0, MaxImageSize);
    const int Height = std::clamp(Request.Height, 0, MaxImageSize);
    if (Width >= 1 && Height >= 1)
        Size = TSize{Width, Height};
    else
        Size = TSize{std::min(Picture->Width(), MaxImageSize),
                     std::min(Picture->Height(), MaxImageSize)};
    Size = TSize{Scaled(Size.cx, Request), Scaled(Size.cy, Request)};
    if (Canvas)
        Canvas->StretchDraw(TRect{X, Y, X + Size.cx, Y + Size.cy}, Picture->Graphic());
    return true;
}

} // namespace

bool HtmlImage(TCanvas* Canvas, TImageList* Images, const THtmlImageRequest& Request, int X, int Y,
               TSize& Size)
{
    const std::string& Src = Request.Source;
    Size = TSize{0, 0};
    if (StartsNoCase(Src, "IDX:"))
        return ImageListImage(Canvas, Images, Request, Src.substr(4), X, Y, Size);
    if (StartsNoCase(Src, "SSYS:"))
        return SystemIcon(Canvas, Request, Src.substr(5), false, X, Y, Size);
    if (StartsNoCase(Src, "LSYS:"))
        return SystemIcon(Canvas, Request, Src.substr(5), true, X, Y, Size);
    if (StartsNoCase(Src, "RES://"))
        return ResourceBitmap(Canvas, Request, Src.substr(6), X, Y, Size);
    if (StartsNoCase(Src, "FILE://"))
        return PictureFile(Canvas, Request, Src.substr(7), X, Y, Size);
    return false;
}

void TileBackground(TCanvas* Canvas, const std::string& FileName, const TRect& R)
{
    if (R.Right <= R.Left || R.Bottom <= R.Top)
        return;
    const auto Picture = LoadPictureFile(FileName);
    if (!Picture)
        return;
    const int Width = Picture->Width();
    const int Height = Picture->Height();
    if (Width <= 0 || Height <= 0)
        return;
    const int Level = Canvas->SaveDC();
    Canvas->IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
    for (int Y = R.Top; Y < R.Bottom; Y += Height)
        for (int X = R.Left; X < R.Right; X += Width)
            Canvas->Draw(X, Y, Picture->Graphic());
    Canvas->RestoreDC(Level);
}

} // namespace AdvGridHtml
