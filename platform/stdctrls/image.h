// platform/stdctrls/image.h: TImage, a picture on the parent: at its size, centred, or
// stretched to the control; AutoSize takes the picture's size.
#pragma once

#include "platform/forms/controls.h"
#include "platform/gfx/graphic.h"

#include <memory>

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* Value) { FPicture->Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    // Where the picture goes in the client area.
    TRect DestRect() const;
    void Paint() override;

private:
    void PictureChanged(TObject* Sender);

    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};
