// platform/gfx/metafile.h: TMetafile, a picture kept as the canvas calls that drew it, played
// again on any device and scaled to the rectangle it is drawn into; TMetafileCanvas records
// them. The calls are those of the recording device, with their full drawing state.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/recordingdevice.h"

#include <memory>
#include <vector>

class TMetafile : public TGraphic {
public:
    using TRecord = TRecordingDevice::TCall;

    TMetafile();
    ~TMetafile() override;

    // Another metafile shares its records; nil empties this one.
    void Assign(const TPersistent* Source) override;
    // Plays the records with the frame they were drawn in mapped onto Rect of ACanvas, within
    // the canvas' clip; a 1:1 rectangle gives exactly the pixels of the drawing itself.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

    // True until a metafile canvas has been closed on it or it has been loaded.
    bool Empty() const override { return FImage == nullptr; }
    // Screen pixels (96 per inch) of the picture size kept in MMWidth and MMHeight.
    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    // Hundredths of a millimetre.
    int MMWidth() const { return FMMWidth; }
    int MMHeight() const { return FMMHeight; }
    void SetMMWidth(int Value);
    void SetMMHeight(int Value);
    // Which of the two classic file kinds the picture is meant for (the export formats).
    bool Enhanced() const { return FEnhanced; }
    void SetEnhanced(bool Value);

    void Clear();
    // The recorded calls, in device pixels of the frame.
    const std::vector<TRecord>& Records() const;
    // The rectangle the calls were drawn in (device pixels), and the pixels per inch there.
    TRect Frame() const;
    int PixelsPerInch() const;

    // Our own binary form: a versioned header, then length-prefixed records. Loading checks
    // every size and value and raises EInvalidGraphic "Metafile is not valid" for anything it
    // cannot take; the metafile is unchanged then.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

private:
    friend class TMetafileCanvas;
    struct TImage {
        std::vector<TRecord> Records;
        TRect Frame;
        int PixelsPerInch = 96;
    };

    std::shared_ptr<const TImage> FImage;
    int FMMWidth = 0;
    int FMMHeight = 0;
    bool FEnhanced = true;
};

// Draws into a metafile: everything drawn between construction and destruction becomes the
// metafile's picture, replacing what it held. The frame is the metafile's size at the
// reference device's resolution; a metafile without a size takes the reference device's (nil:
// the screen's).
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
    ~TMetafileCanvas() override;

private:
    TMetafile* FMetafile;
    std::unique_ptr<TRecordingDevice> FRecorder;
    int FPixelsPerInch;
};
