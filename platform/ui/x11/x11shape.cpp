// platform/ui/x11/x11shape.cpp: window regions on X11: a shaped top-level window's bounding
// shape is the region's rectangles (the SHAPE extension), so it shows and takes the mouse only
// there.
#include "platform/ui/x11/x11driver.h"

#include <X11/extensions/shape.h>

#include <algorithm>
#include <climits>
#include <vector>

void TX11Driver::SetNativeShape(HWND Wnd, bool Shaped, const std::vector<TRect>& Rects)
{
    TWindow* Win = Lookup(Wnd);
    int EventBase = 0, ErrorBase = 0;
    if (Win == nullptr || !XShapeQueryExtension(FDisplay, &EventBase, &ErrorBase))
        return;
    if (!Shaped) {
        XShapeCombineMask(FDisplay, Win->Id, ShapeBounding, 0, 0, None, ShapeSet);
        Done();
        return;
    }
    std::vector<XRectangle> Boxes;
    Boxes.reserve(Rects.size());
    for (const TRect& R : Rects) {
        if (R.Width() <= 0 || R.Height() <= 0 || R.Left < SHRT_MIN || R.Top < SHRT_MIN ||
            R.Left > SHRT_MAX || R.Top > SHRT_MAX)
            continue;
        Boxes.push_back(XRectangle{static_cast<short>(R.Left), static_cast<short>(R.Top),
                                   static_cast<unsigned short>(std::min(R.Width(), USHRT_MAX)),
                                   static_cast<unsigned short>(std::min(R.Height(), USHRT_MAX))});
    }
    // The region's bands are sorted top to bottom and left to right within a band.
    XShapeCombineRectangles(FDisplay, Win->Id, ShapeBounding, 0, 0, Boxes.data(),
                            static_cast<int>(Boxes.size()), ShapeSet, YXBanded);
    Done();
}
