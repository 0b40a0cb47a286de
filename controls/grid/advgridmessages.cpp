// The grid's message map: which message goes to which handler. Each group of handlers lives in
// the file its comment names.
#include "controls/grid/advgrid.h"

#include "platform/forms/messagemap.h"
#include "platform/ui/messages.h"

const TMessageMap& TAdvStringGrid::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        // timer (advgridtimer.cpp)
        OnMessage<&TAdvStringGrid::WMTimer>(WM_TIMER),

        // sorting (advgridsort.cpp)
        OnMessage<&TAdvStringGrid::WMEraseBkgnd>(WM_ERASEBKGND),

        // editing (advgridedit.cpp)

        // editor controls (advgrideditors.cpp)
        OnMessage<&TAdvStringGrid::WMCommand>(WM_COMMAND),

        // scroll bars (advgridscroll.cpp)
        OnMessage<&TAdvStringGrid::WMHScroll>(WM_HSCROLL),
        OnMessage<&TAdvStringGrid::WMVScroll>(WM_VSCROLL),

        // keyboard and mouse (advgridkeys.cpp, advgridmouse.cpp)
        OnMessage<&TAdvStringGrid::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TAdvStringGrid::WMChar>(WM_CHAR),
        OnMessage<&TAdvStringGrid::WMSetCursor>(WM_SETCURSOR),
        OnMessage<&TAdvStringGrid::WMLButtonDblClk>(WM_LBUTTONDBLCLK),
        OnMessage<&TAdvStringGrid::WMRButtonDown>(WM_RBUTTONDOWN),
        OnMessage<&TAdvStringGrid::CMCursorChanged>(CM_CURSORCHANGED),
        OnMessage<&TAdvStringGrid::CMDialogChar>(CM_DIALOGCHAR),

        // hints, wheel, panning, sizing (advgridhints.cpp, advgridautosize.cpp)
        OnMessage<&TAdvStringGrid::CMHintShow>(CM_HINTSHOW),
        OnMessage<&TAdvStringGrid::WMMouseWheel>(WM_MOUSEWHEEL),
        OnMessage<&TAdvStringGrid::WMMButtonDown>(WM_MBUTTONDOWN),
        OnMessage<&TAdvStringGrid::WMSize>(WM_SIZE),
    });
    static constexpr TMessageMap Map{Handlers, &TStringGrid::ClassMessageMap};
    return Map;
}
