#include "platform/ui/screen.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <string>

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

int TScreen::PixelsPerInch() const
{
    return DisplayDriver().NativeScreen().PixelsPerInch;
}

TCustomForm* TScreen::Forms(int Index) const
{
    if (Index < 0 || Index >= FormCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FForms[static_cast<std::size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* Form)
{
    if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end())
        FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
    if (FActiveForm == Form) {
        FActiveForm = nullptr;
        FActiveControl = nullptr;
    }
}

void TScreen::MoveFormToFront(TCustomForm* Form)
{
    auto Found = std::find(FForms.begin(), FForms.end(), Form);
    if (Found != FForms.end())
        std::rotate(FForms.begin(), Found, Found + 1);
}
