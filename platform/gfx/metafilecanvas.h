// platform/gfx/metafilecanvas.h: TMetafileCanvas, the canvas that records a metafile's picture
// (platform/gfx/metafile.h) through a recording device.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/recordingdevice.h"

#include <memory>

class TMetafile;

// Draws into a metafile: everything drawn between construction and destruction becomes the
// metafile's picture, replacing what it held. The frame is the metafile's size at the
// reference device's resolution; a metafile without a size takes the reference device's (nil:
// the reference screen's, platform/gfx/referencescreen.h).
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
    ~TMetafileCanvas() override;

private:
    TMetafile* FMetafile;
    std::unique_ptr<TRecordingDevice> FRecorder;
    int FPixelsPerInch;
};
