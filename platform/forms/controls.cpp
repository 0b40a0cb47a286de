#include "platform/forms/controls.h"

// ---- TGraphicControl

const TMessageMap& TGraphicControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TGraphicControl::WMPaint>(WM_PAINT),
    });
    static constexpr TMessageMap Map{Handlers, &TControl::ClassMessageMap};
    return Map;
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
    FCanvas->FreeHandle();
}

TCanvas* TGraphicControl::Canvas() const
{
    FCanvas->Prepare();
    return FCanvas.get();
}

// The parent paints its controls without a window with WM_PAINT and the device context.
void TGraphicControl::WMPaint(TMessage& Message)
{
    if (Message.WParam == 0) {
        Inherited(Message);
        return;
    }
    TControlCanvas::TPaintScope Scope(FCanvas.get(), reinterpret_cast<HDC>(Message.WParam));
    Paint();
}

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl()
{
    FCanvas->FreeHandle();
    DestroyHandle();
}

TCanvas* TCustomControl::Canvas() const
{
    FCanvas->Prepare();
    return FCanvas.get();
}

void TCustomControl::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomControl::PaintWindow(HDC DC)
{
    TControlCanvas::TPaintScope Scope(FCanvas.get(), DC);
    Paint();
}
