// controls/grid/advutildraw.cpp: the small drawing and system helpers of the grid.
#include "controls/grid/advutil.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/commctrl.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <memory>

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, const TRect& Rect)
{
    const int Width = Bitmap->Width();
    const int Height = Bitmap->Height();
    if (Width <= 0 || Height <= 0)
        return;
    const TColor KeyColor = Bitmap->Canvas()->Pixels(0, 0);
    auto Work = std::make_unique<TBitmap>();
    Work->SetSize(Width, Height);
    const TRect Whole = Bounds(0, 0, Width, Height);
    Work->Canvas()->Brush()->SetColor(BackColor);
    Work->Canvas()->FillRect(Whole);
    BrushCopy(Work->Canvas(), Whole, Bitmap, Whole, KeyColor);
    Canvas->Draw(Rect.Left, Rect.Top, Work.get());
}

void MakeWindowTransparent(HWND Window)
{
    SetWindowLong(Window, GWL_EXSTYLE, GetWindowLong(Window, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

int FileVersionMS(const std::string& FileName)
{
    // The common controls are the only library with a version resource here.
    if (!SameText(ExtractFileName(FileName), "comctl32.dll"))
        return -1;
    const TComCtlVersion Version = GetComCtlVersion();
    return static_cast<int>(Version.Major * 65536 + Version.Minor);
}
