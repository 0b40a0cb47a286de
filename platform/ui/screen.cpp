#include "platform/ui/screen.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/sysmetrics.h"

TScreen* Screen = nullptr;

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    RegisterCursorIdents();
}

TScreen::~TScreen()
{
    if (Screen == this)
        Screen = nullptr;
}

void TScreen::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    FCursor = Value;
    DisplayDriver().SetPointerShape(Value == crDefault ? crArrow : Value);
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const
{
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    return Work;
}
