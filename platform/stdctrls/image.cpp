#include "platform/stdctrls/image.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage()
{
    FPicture->OnChange = nullptr;
}

void TImage::SetStretch(bool Value)
{
    if (Value != FStretch) {
        FStretch = Value;
        Invalidate();
    }
}

void TImage::SetCenter(bool Value)
{
    if (Value != FCenter) {
        FCenter = Value;
        Invalidate();
    }
}

void TImage::SetTransparent(bool Value)
{
    if (Value != FTransparent) {
        FTransparent = Value;
        PictureChanged(this);
    }
}

void TImage::SetAutoSize(bool Value)
{
    if (Value != FAutoSize) {
        FAutoSize = Value;
        PictureChanged(this);
    }
}

void TImage::PictureChanged(TObject*)
{
    TGraphic* Graphic = FPicture->Graphic();
    if (Graphic != nullptr && Graphic->Transparent() != FTransparent) {
        // Changing the graphic tells the picture again; that call lands here with them equal.
        Graphic->SetTransparent(FTransparent);
        return;
    }
    if (FAutoSize && Graphic != nullptr && Graphic->Width() > 0 && Graphic->Height() > 0)
        SetBounds(Left(), Top(), Graphic->Width(), Graphic->Height());
    Invalidate();
}

TRect TImage::DestRect() const
{
    const int W = FPicture->Width();
    const int H = FPicture->Height();
    if (FStretch)
        return ClientRect();
    if (FCenter)
        return Bounds((Width() - W) / 2, (Height() - H) / 2, W, H);
    return Bounds(0, 0, W, H);
}

void TImage::Paint()
{
    TGraphic* Graphic = FPicture->Graphic();
    if (Graphic == nullptr || Graphic->Empty())
        return;
    Canvas()->StretchDraw(DestRect(), Graphic);
}
