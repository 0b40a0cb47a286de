#include "platform/ui/screen.h"

#include "platform/gfx/cursorimage.h"
#include "platform/gfx/fontengine.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
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
    for (const auto& Entry : FCursors)
        DestroyCursor(Entry.second);
    if (Screen == this)
        Screen = nullptr;
}

void TScreen::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    FCursor = Value;
    // Back to each window's own cursor: the one under the pointer chooses again.
    if (Value == crDefault) {
        ::SetCursor(crArrow);
        RefreshPointerShape();
    } else {
        ::SetCursor(Value);
    }
}

HCURSOR TScreen::Cursors(int Index) const
{
    const auto Found = FCursors.find(Index);
    return Found != FCursors.end() ? Found->second : nullptr;
}

void TScreen::SetCursors(int Index, HCURSOR Value)
{
    const auto Found = FCursors.find(Index);
    if (Found != FCursors.end()) {
        if (Found->second == Value)
            return;
        DestroyCursor(Found->second);
        FCursors.erase(Found);
    }
    if (Value != nullptr)
        FCursors.emplace(Index, Value);
}

TStrings* TScreen::Fonts()
{
    if (!FFonts)
        FFonts = InstalledFontList();
    return FFonts.get();
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
