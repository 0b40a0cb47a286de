// platform/gfx/metafile.h: TMetafile, a picture kept as the canvas calls that drew it, played
// again on any device and scaled to the rectangle it is drawn into. The calls are those of the
// recording device, with their full drawing state. TMetafileCanvas (metafilecanvas.h) records
// them, metafilewriter.h and metafilereader.h keep them in our binary form and metafileplayer.h
// plays them.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/metafilecanvas.h"
#include "platform/gfx/recordingdevice.h"

#include <memory>
#include <vector>

struct TMetafileImage;

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
    // A new picture, as a metafile canvas leaves it.
    void SetImage(std::shared_ptr<const TMetafileImage> Image);

    std::shared_ptr<const TMetafileImage> FImage;
    int FMMWidth = 0;
    int FMMHeight = 0;
    bool FEnhanced = true;
};
