// platform/gfx/canvas.h: TCanvas, the drawing surface of controls, bitmaps and printers. It keeps
// the pen, brush, font, clip, mapping and text state, turns logical coordinates into device
// ones and hands each call to its device (platform/gfx/device.h). The calls are implemented by
// topic: canvasmapping, canvasshapes, canvastext, canvascopy, canvasclip, canvaspaths and
// canvasframes.cpp.
#pragma once

#include "platform/gfx/device.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/region.h"
#include "platform/gfx/rop.h"
#include "platform/gfx/textlayout.h"
#include "platform/rtl/events.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/object.h"
#include "platform/rtl/thread.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TCanvas;
class TGraphic;
// The handle units pass to the drawing calls: the canvas itself.
using HDC = TCanvas*;

// Text alignment (SetTextAlign).
enum : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24
};

// Mapping modes.
enum : int {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8
};

// DrawEdge.
enum : unsigned {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    BDR_OUTER = 0x0003,
    BDR_INNER = 0x000C,
    BDR_RAISED = 0x0005,
    BDR_SUNKEN = 0x000A,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_TOPRIGHT = BF_TOP | BF_RIGHT,
    BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000
};

// DrawFrameControl.
enum : unsigned {
    DFC_CAPTION = 1,
    DFC_MENU = 2,
    DFC_SCROLL = 3,
    DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0000,
    DFCS_BUTTONRADIOIMAGE = 0x0001,
    DFCS_BUTTONRADIOMASK = 0x0002,
    DFCS_BUTTONRADIO = 0x0004,
    DFCS_BUTTON3STATE = 0x0008,
    DFCS_BUTTONPUSH = 0x0010,
    DFCS_SCROLLUP = 0x0000,
    DFCS_SCROLLDOWN = 0x0001,
    DFCS_SCROLLLEFT = 0x0002,
    DFCS_SCROLLRIGHT = 0x0003,
    DFCS_SCROLLCOMBOBOX = 0x0005,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_CHECKED = 0x0400,
    DFCS_TRANSPARENT = 0x0800,
    DFCS_HOT = 0x1000,
    DFCS_ADJUSTRECT = 0x2000,
    DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000
};

class TCanvas : public TPersistent {
public:
    // The device is not owned; a canvas without one draws nothing and measures with the
    // screen's 96 pixels per inch.
    explicit TCanvas(TCanvasDevice* Device = nullptr);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TCanvasDevice* Device() const { return FDevice; }
    // A new device also resets the clip; the font takes the device's pixels per inch.
    void SetDevice(TCanvasDevice* Value);
    HDC Handle() { return this; }
    bool HandleAllocated() const { return FDevice != nullptr; }

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }
    void SetPen(const TPen* Value) { FPen->Assign(Value); }
    void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    TPoint PenPos() const { return FSettings.PenPos; }
    void SetPenPos(const TPoint& Value) { FSettings.PenPos = Value; }
    std::uint32_t CopyMode() const { return FSettings.CopyMode; }
    void SetCopyMode(std::uint32_t Value) { FSettings.CopyMode = Value; }

    // Lines and shapes, in logical coordinates.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    void PolyPolygon(const std::vector<std::vector<TPoint>>& Polygons);
    int PolyFillMode() const { return FSettings.PolyFillMode; } // ALTERNATE or WINDING
    void SetPolyFillMode(int Value);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void FillRgn(const TRegion& Region);
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Value);

    // Text. TextOut moves the pen position to the end of the text.
    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const TRect& R, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text) const;
    int TextHeight(const std::string& Text) const;
    TSize TextExtent(const std::string& Text) const;
    // DT_ flags of platform/gfx/textlayout.h; with DT_CALCRECT R receives the text's rectangle
    // and nothing is drawn. The height of the text.
    int DrawText(const std::string& Text, TRect& R, unsigned Format);
    // Dx: the step after each byte (logical units), or nil for the font's.
    bool ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const std::string& Text,
                    const int* Dx = nullptr);
    bool GetTextMetrics(TTextMetric& Metrics) const;
    unsigned TextAlign() const { return FSettings.TextAlign; }
    unsigned SetTextAlign(unsigned Value); // the previous alignment
    int BkMode() const { return FSettings.BkMode; }
    int SetBkMode(int Value); // the previous mode
    TColor BkColor() const { return FSettings.BkColor; }
    TColor SetBkColor(TColor Value);
    // Follows Font.Color until set directly.
    TColor TextColor() const { return FSettings.TextColor; }
    TColor SetTextColor(TColor Value);
    int TextCharacterExtra() const { return FSettings.CharExtra; }
    int SetTextCharacterExtra(int Value);

    // Frames and controls of the 3-D look.
    void DrawFocusRect(const TRect& R);
    bool DrawEdge(TRect& R, unsigned Edge, unsigned Flags);
    bool DrawFrameControl(const TRect& R, unsigned Type, unsigned State);

    // Copying between canvases.
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& Src);
    bool BitBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                std::uint32_t Rop);
    bool StretchBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                    int SrcWidth, int SrcHeight, std::uint32_t Rop);
    bool PatBlt(int X, int Y, int Width, int Height, std::uint32_t Rop);
    // Any picture at its own size with its top-left corner at (X, Y), or stretched to Rect.
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    int StretchBltMode() const { return FSettings.StretchMode; }
    int SetStretchBltMode(int Value);

    // Clipping. Regions are in device coordinates, rectangles in logical ones.
    TRect ClipRect() const;
    int GetClipBox(TRect& R) const;
    // A copy of Region becomes the clip; nil removes the clip.
    int SelectClipRgn(const TRegion* Region);
    // 0 when there is no clip, 1 when Dest received it.
    int GetClipRgn(TRegion& Dest) const;
    int IntersectClipRect(int Left, int Top, int Right, int Bottom);
    int ExcludeClipRect(int Left, int Top, int Right, int Bottom);
    int OffsetClipRgn(int DX, int DY);
    bool PtVisible(int X, int Y) const;

    // Mapping between logical and device coordinates.
    int MapMode() const { return FSettings.MapMode; }
    int SetMapMode(int Value);
    bool SetWindowOrgEx(int X, int Y, TPoint* Old = nullptr);
    bool SetViewportOrgEx(int X, int Y, TPoint* Old = nullptr);
    bool SetWindowExtEx(int X, int Y, TSize* Old = nullptr);
    bool SetViewportExtEx(int X, int Y, TSize* Old = nullptr);
    bool OffsetWindowOrgEx(int DX, int DY, TPoint* Old = nullptr);
    bool OffsetViewportOrgEx(int DX, int DY, TPoint* Old = nullptr);
    TPoint WindowOrg() const { return FSettings.WindowOrg; }
    TPoint ViewportOrg() const { return FSettings.ViewportOrg; }
    TSize WindowExt() const { return FSettings.WindowExt; }
    TSize ViewportExt() const { return FSettings.ViewportExt; }
    bool LPtoDP(TPoint* Points, int Count) const;
    bool DPtoLP(TPoint* Points, int Count) const;
    TPoint LPtoDP(const TPoint& P) const;
    TPoint DPtoLP(const TPoint& P) const;

    // Paths: between BeginPath and EndPath lines, shapes and text become figures.
    bool BeginPath();
    bool EndPath();
    bool AbortPath();
    bool CloseFigure();
    bool StrokePath();
    bool FillPath();
    bool StrokeAndFillPath();

    // State stack: SaveDC returns the new level; RestoreDC(-1) goes back one level, a
    // positive level back to that level.
    int SaveDC();
    bool RestoreDC(int Level);

    // For painter threads: the canvas is drawn by the thread that holds the lock.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return FLockCount; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

private:
    // Everything SaveDC keeps besides the pen, brush and font.
    struct TSettings {
        TPoint PenPos;
        std::uint32_t CopyMode = SRCCOPY;
        int PolyFillMode = ALTERNATE;
        unsigned TextAlign = TA_LEFT | TA_TOP;
        int BkMode = OPAQUE;
        TColor BkColor = clWhite;
        TColor TextColor = clWindowText;
        int CharExtra = 0;
        int StretchMode = BLACKONWHITE;
        std::optional<TRegion> Clip;
        int MapMode = MM_TEXT;
        TPoint WindowOrg;
        TPoint ViewportOrg;
        TSize WindowExt{1, 1};
        TSize ViewportExt{1, 1};
    };
    struct TSaved;
    // Calls OnChanging now and OnChange when the drawing call is done.
    class TChangeScope {
    public:
        explicit TChangeScope(TCanvas* Canvas) : FCanvas(Canvas) { FCanvas->Changing(); }
        ~TChangeScope() { FCanvas->Changed(); }
        TChangeScope(const TChangeScope&) = delete;
        TChangeScope& operator=(const TChangeScope&) = delete;

    private:
        TCanvas* FCanvas;
    };
    static TColor Plain(TColor Color);
    struct TFigure {
        std::vector<TPoint> Points; // device coordinates
        bool Closed = false;
    };

    void ObjectChanged(TObject* Sender);
    void Changing();
    void Changed();
    TDeviceState State() const;
    TFontRequest FontRequest() const;
    std::shared_ptr<TFontInstance> FontInstance() const;
    int DeviceLength(int Logical, bool Vertical) const;
    int LogicalLength(int Device, bool Vertical) const;
    TRect DeviceRect(int X1, int Y1, int X2, int Y2) const;
    // The device rectangle of R; false without a device or when it is empty.
    bool DeviceArea(const TRect& R, TRect& Device) const;
    // A device rectangle in logical coordinates, normalised.
    TRect LogicalRect(const TRect& Device) const;
    // The whole device; empty without one.
    TRect DeviceBounds() const;
    bool SetExtent(TSize& Extent, int X, int Y, TSize* Old);
    void AdjustIsotropic();
    // The strips of a one-pixel frame around the device rectangle R, none of them overlapping.
    static std::vector<TRect> FrameStrips(const TRect& R);
    void DrawShape(TShapeKind Kind, int X1, int Y1, int X2, int Y2, TSize Corner, TPoint Start,
                   TPoint End);
    void AddFigure(std::vector<TPoint> Points, bool Closed);
    std::vector<int> CharAdvances(const TFontInstance& Font, const std::string& Text, const int* Dx,
                                  TTextCoding Coding = tcAuto) const;
    // Text at a device baseline origin.
    void DeviceText(TPoint Origin, const std::string& Text, std::vector<int> Advances,
                    unsigned Options, const TRect& DeviceRect, TTextCoding Coding = tcAuto);
    void FillDeviceRect(const TRect& R, TColor Color);
    void DrawPathFigures(bool Fill, bool Stroke);

    TCanvasDevice* FDevice = nullptr;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    TSettings FSettings;
    bool FPathOpen = false;
    bool FPathReady = false;
    std::vector<TFigure> FPath;
    std::vector<TSaved> FSaved;
    TCriticalSection FLock;
    int FLockCount = 0;
};

// The device's capabilities (platform/gfx/device.h); a canvas without a device answers as an
// empty screen at 96 pixels per inch does.
int GetDeviceCaps(HDC DC, int Index);
