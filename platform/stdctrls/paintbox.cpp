#include "platform/stdctrls/paintbox.h"

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetColor(Color());
    if (OnPaint)
        OnPaint(this);
}
