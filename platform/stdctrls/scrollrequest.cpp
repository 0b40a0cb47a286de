#include "platform/stdctrls/scrollrequest.h"

#include "platform/ui/messages.h"
#include "platform/ui/scrollbars.h"

std::optional<int> ScrollRequestPos(UINT Request, int Pos, const TScrollSteps& Steps, int Thumb)
{
    switch (Request) {
    case SB_LINEUP: // SB_LINELEFT
        return Pos - Steps.Line;
    case SB_LINEDOWN: // SB_LINERIGHT
        return Pos + Steps.Line;
    case SB_PAGEUP: // SB_PAGELEFT
        return Pos - Steps.Page;
    case SB_PAGEDOWN: // SB_PAGERIGHT
        return Pos + Steps.Page;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return Thumb;
    case SB_TOP: // SB_LEFT
        return 0;
    case SB_BOTTOM: // SB_RIGHT
        return Steps.Last;
    default:
        return std::nullopt;
    }
}

int ScrollTrackPos(HWND Wnd, int Bar)
{
    TScrollInfo Info;
    Info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Wnd, Bar, Info);
    return Info.nTrackPos;
}
