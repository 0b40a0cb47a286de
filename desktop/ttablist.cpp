// desktop/ttablist.cpp: the tab-stop list box's window style.
#include "desktop/ttablist.h"

#include "platform/stdctrls/listboxwindow.h"

void TTabListBox::CreateParams(TCreateParams& Params)
{
    TListBox::CreateParams(Params);
    Params.Style |= LBS_USETABSTOPS;
}
