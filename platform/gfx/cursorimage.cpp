#include "platform/gfx/cursorimage.h"

HCURSOR LoadCursor(const std::string& Name)
{
    return LoadImage(Name, IMAGE_CURSOR, 32, 32, LR_DEFAULTCOLOR);
}

HCURSOR LoadCursor(int Id)
{
    return LoadCursor(std::to_string(Id));
}

HCURSOR LoadCursorFromFile(const std::string& FileName)
{
    return LoadImage(FileName, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
}

HCURSOR CreateCursorFromData(const std::string& Data, int Width, int Height)
{
    return CreateIconFromData(Data, Width, Height, false);
}

bool DestroyCursor(HCURSOR Cursor)
{
    return DestroyIcon(Cursor);
}

TPoint CursorHotSpot(HCURSOR Cursor)
{
    if (!IsIconHandle(Cursor))
        return TPoint{};
    if (Cursor->Icon)
        return TPoint{Cursor->Image.Width / 2, Cursor->Image.Height / 2};
    return Cursor->Image.HotSpot;
}
