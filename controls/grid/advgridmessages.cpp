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

        // editing (advgridedit.cpp)

        // editor controls (advgrideditors.cpp)

        // scroll bars (advgridscroll.cpp)
        OnMessage<&TAdvStringGrid::WMHScroll>(WM_HSCROLL),
        OnMessage<&TAdvStringGrid::WMVScroll>(WM_VSCROLL),

        // keyboard and mouse (advgridkeys.cpp, advgridmouse.cpp)

        // hints, wheel, panning, sizing (advgridhints.cpp, advgridautosize.cpp)
    });
    static constexpr TMessageMap Map{Handlers, &TStringGrid::ClassMessageMap};
    return Map;
}
