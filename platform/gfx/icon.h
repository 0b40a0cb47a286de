// platform/gfx/icon.h: TIcon, the picture of an ICO file (one of its images is shown, drawn
// through its mask or alpha), and icon handles (HICON) for units that pass icons by handle.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/icoformat.h"

#include <memory>
#include <string>

// What an icon or cursor handle holds.
struct TIconHandle {
    TIconImage Image;
    bool Icon = true; // false: a cursor, whose Image.HotSpot counts
};
using HICON = TIconHandle*;
using HCURSOR = HICON;

// A new handle holding a copy of Image; DestroyIcon frees it.
HICON CreateIconFromImage(const TIconImage& Image, bool Icon = true);
// The image of an ICO or CUR file nearest Width x Height (0: the first image's size), scaled
// to that size; an icon file's hot spot is the centre. EInvalidGraphic when Data is not one.
HICON CreateIconFromData(const std::string& Data, int Width, int Height, bool Icon = true);
HICON CopyIcon(HICON Icon);
// False for nil or a handle that is not live.
bool DestroyIcon(HICON Icon);
bool IsIconHandle(HICON Icon);
// The icon at its size, X and Y in logical units.
bool DrawIcon(HDC DC, int X, int Y, HICON Icon);

enum : unsigned { IMAGE_ICON = 1, IMAGE_CURSOR = 2 };
enum : unsigned { LR_DEFAULTCOLOR = 0, LR_LOADFROMFILE = 0x0010, LR_DEFAULTSIZE = 0x0040 };
// The image nearest Width x Height of the program's icon (IMAGE_ICON) or cursor
// (IMAGE_CURSOR) resource Name, or of the file Name with LR_LOADFROMFILE. A size of 0 takes
// the first image's size, or 32 x 32 with LR_DEFAULTSIZE. Nil when there is no such resource
// or file or it is not a valid picture.
HICON LoadImage(const std::string& Name, unsigned Type, int Width, int Height, unsigned Flags);

// The stock icons, generated pictures of 32 x 32 pixels.
enum : int {
    IDI_APPLICATION = 32512,
    IDI_HAND = 32513,
    IDI_QUESTION = 32514,
    IDI_EXCLAMATION = 32515,
    IDI_ASTERISK = 32516,
    IDI_ERROR = IDI_HAND,
    IDI_WARNING = IDI_EXCLAMATION,
    IDI_INFORMATION = IDI_ASTERISK
};
// A stock icon by its IDI_ number, or the program's icon resource Name at 32 x 32; nil when
// there is none. The caller frees it with DestroyIcon.
HICON LoadIcon(int StockId);
HICON LoadIcon(const std::string& Name);

// Draws Image into Dest (logical units, stretched to it): alpha blended over the canvas when
// the image has alpha and the device keeps pixels; otherwise the AND mask, then the XOR colour.
void DrawIconImage(TCanvas* Canvas, const TRect& Dest, const TIconImage& Image);
// Image scaled to Width x Height by nearest pixels.
TIconImage ScaleIconImage(const TIconImage& Image, int Width, int Height);

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    // Takes a TIcon; a nil source empties the icon.
    void Assign(const TPersistent* Source) override;
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

    bool Empty() const override;
    // The shown image's size.
    int Width() const override;
    int Height() const override;
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    // The size whose nearest image of the file is shown; 32 x 32 unless set.
    void SetSize(int AWidth, int AHeight);
    // Icons always draw through their mask.
    bool Transparent() const override { return true; }

    // The handle of the shown image, owned by the icon; nil when empty.
    HICON Handle();
    // The icon takes Value over (nil empties it).
    void SetHandle(HICON Value);
    // The handle passes to the caller; the icon becomes empty.
    HICON ReleaseHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // The shown image; nil when empty.
    const TIconImage* Image() const;
    // All images of the file (one after SetHandle).
    const TIconFile& File() const { return FFile; }

    // Reads the rest of the stream as an ICO file; EInvalidGraphic when it is not one (the
    // icon stays as it was).
    void LoadFromStream(TStream* Stream) override;
    // A loaded file goes out as it came in; an icon made from a handle as a 32-bit ICO file.
    // EInvalidGraphic "Cannot save an empty icon" when empty.
    void SaveToStream(TStream* Stream) override;
    // A RT_ICON resource; EResNotFound when there is none.
    void LoadFromResourceName(const std::string& ResName);

private:
    void TakeFile(TIconFile File, std::string Data);
    void FreeHandle();
    void PickImage();

    TIconFile FFile;
    std::string FData; // the file as read, saved back unchanged
    int FCurrent = -1;
    int FRequestWidth = 32;
    int FRequestHeight = 32;
    HICON FHandle = nullptr; // made on demand from FFile.Images[FCurrent]
};
