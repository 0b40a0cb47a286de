// platform/ui/notify.cpp: sending a control's WM_NOTIFY to its parent.
#include "platform/ui/notify.h"

#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/windowstyles.h"

LRESULT SendNotify(HWND From, UINT Code, NMHDR& Header)
{
    Header.hwndFrom = From;
    Header.idFrom = static_cast<std::uintptr_t>(GetWindowLong(From, GWL_ID));
    Header.code = Code;
    const HWND Parent = GetParent(From);
    if (Parent == 0)
        return 0;
    return SendMessage(Parent, WM_NOTIFY, Header.idFrom, reinterpret_cast<LPARAM>(&Header));
}
