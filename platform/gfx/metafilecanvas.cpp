#include "platform/gfx/metafilecanvas.h"

#include "platform/gfx/metafile.h"
#include "platform/gfx/metafileformat.h"
#include "platform/gfx/referencescreen.h"
#include "platform/rtl/convert.h"

#include <algorithm>

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice) : FMetafile(AMetafile)
{
    if (!FMetafile)
        throw EInvalidGraphicOperation("No metafile to draw on");
    const TReferenceScreen Screen = ReferenceScreen();
    FPixelsPerInch = std::max(1, Screen.PixelsPerInch);
    int DeviceWidth = Screen.Width;
    int DeviceHeight = Screen.Height;
    if (ReferenceDevice && ReferenceDevice->Device()) {
        const TCanvasDevice* Reference = ReferenceDevice->Device();
        FPixelsPerInch = std::max(1, Reference->PixelsPerInchY());
        DeviceWidth = Reference->Width();
        DeviceHeight = Reference->Height();
    }
    if (FMetafile->MMWidth() <= 0 || FMetafile->MMHeight() <= 0) {
        FMetafile->SetMMWidth(MulDiv(DeviceWidth, 2540, FPixelsPerInch));
        FMetafile->SetMMHeight(MulDiv(DeviceHeight, 2540, FPixelsPerInch));
    }
    const int Width = std::max(1, MulDiv(FMetafile->MMWidth(), FPixelsPerInch, 2540));
    const int Height = std::max(1, MulDiv(FMetafile->MMHeight(), FPixelsPerInch, 2540));
    FRecorder = std::make_unique<TRecordingDevice>(Width, Height, FPixelsPerInch);
    SetDevice(FRecorder.get());
}

TMetafileCanvas::~TMetafileCanvas()
{
    SetDevice(nullptr);
    auto Image = std::make_shared<TMetafileImage>();
    Image->Records = FRecorder->Calls();
    Image->Frame = TRect{0, 0, FRecorder->Width(), FRecorder->Height()};
    Image->PixelsPerInch = FPixelsPerInch;
    FMetafile->SetImage(std::move(Image));
}
