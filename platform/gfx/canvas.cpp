// The canvas itself: its device, pen, brush and font, the drawing state a device gets with every
// call, the SaveDC stack and the lock. The drawing calls are in the other canvas*.cpp files.
#include "platform/gfx/canvas.h"

#include "platform/gfx/recordingdevice.h"

#include <algorithm>

TColor TCanvas::Plain(TColor Color)
{
    return ColorToRGB(Color) & 0xFFFFFF;
}

struct TCanvas::TSaved {
    std::unique_ptr<TPen> Pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> Brush = std::make_unique<TBrush>();
    std::unique_ptr<TFont> Font = std::make_unique<TFont>();
    TSettings Settings;
};

TCanvas::TCanvas(TCanvasDevice* Device)
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>())
{
    auto Handler = [this](TObject* Sender) { ObjectChanged(Sender); };
    FPen->OnChange = Handler;
    FBrush->OnChange = Handler;
    FFont->OnChange = Handler;
    FSettings.TextColor = FFont->Color();
    SetDevice(Device);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetDevice(TCanvasDevice* Value)
{
    FDevice = Value;
    FSettings.Clip.reset();
    if (FDevice)
        FFont->SetPixelsPerInch(FDevice->PixelsPerInchY());
    if (FSettings.MapMode != MM_TEXT && FSettings.MapMode < MM_ISOTROPIC)
        SetMapMode(FSettings.MapMode);
}

void TCanvas::ObjectChanged(TObject* Sender)
{
    if (Sender == FBrush.get()) {
        // A solid brush also gives the text background; any other brush makes text and
        // hatches transparent.
        if (FBrush->Style() == bsSolid && !FBrush->Pattern()) {
            FSettings.BkColor = FBrush->Color();
            FSettings.BkMode = OPAQUE;
        } else {
            FSettings.BkColor =
                static_cast<TColor>(~static_cast<std::uint32_t>(Plain(FBrush->Color())) & 0xFFFFFF);
            FSettings.BkMode = TRANSPARENT;
        }
    } else if (Sender == FFont.get()) {
        FSettings.TextColor = FFont->Color();
    }
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TFontRequest TCanvas::FontRequest() const
{
    TFontRequest R;
    R.FaceName = FFont->Name();
    const int H = FFont->Height();
    R.Height = H < 0 ? -DeviceLength(-H, true) : DeviceLength(H, true);
    R.Weight = FFont->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    R.Italic = FFont->Style().Contains(fsItalic);
    R.Underline = FFont->Style().Contains(fsUnderline);
    R.StrikeOut = FFont->Style().Contains(fsStrikeOut);
    R.CharSet = FFont->Charset();
    R.PitchAndFamily = FFont->Pitch() == fpFixed      ? FIXED_PITCH
                       : FFont->Pitch() == fpVariable ? VARIABLE_PITCH
                                                      : DEFAULT_PITCH;
    R.Escapement = FFont->Escapement();
    R.Orientation = FFont->Orientation();
    return R;
}

std::shared_ptr<TFontInstance> TCanvas::FontInstance() const
{
    return TFontInstance::Get(FontRequest());
}

TDeviceState TCanvas::State() const
{
    TDeviceState S;
    S.Pen.Color = Plain(FPen->Color());
    S.Pen.Width = std::max(1, DeviceLength(FPen->Width(), false));
    S.Pen.Style = FPen->Style();
    S.Pen.Alternate = FPen->Alternate();
    S.Brush.Color = Plain(FBrush->Color());
    S.Brush.Style = FBrush->Style();
    S.Brush.Pattern = FBrush->Pattern();
    S.Font = FontRequest();
    S.TextColor = Plain(FSettings.TextColor);
    S.Rop2 = PenModeToRop2(FPen->Mode());
    S.BkMode = FSettings.BkMode;
    S.BkColor = Plain(FSettings.BkColor);
    S.Clip = FSettings.Clip ? &*FSettings.Clip : nullptr;
    return S;
}

int TCanvas::SaveDC()
{
    TSaved S;
    S.Pen->Assign(FPen.get());
    S.Brush->Assign(FBrush.get());
    S.Font->SetPixelsPerInch(FFont->PixelsPerInch());
    S.Font->Assign(FFont.get());
    S.Settings = FSettings;
    FSaved.push_back(std::move(S));
    return static_cast<int>(FSaved.size());
}

bool TCanvas::RestoreDC(int Level)
{
    const int Count = static_cast<int>(FSaved.size());
    const int Target = Level < 0 ? Count + Level + 1 : Level;
    if (Target < 1 || Target > Count)
        return false;
    TSaved S = std::move(FSaved[static_cast<std::size_t>(Target - 1)]);
    FSaved.resize(static_cast<std::size_t>(Target - 1));
    FPen->Assign(S.Pen.get());
    FBrush->Assign(S.Brush.get());
    FFont->Assign(S.Font.get());
    // Last: assigning the brush and font has set the text colours and background from them.
    FSettings = std::move(S.Settings);
    return true;
}

void TCanvas::Lock()
{
    FLock.Enter();
    ++FLockCount;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.Leave();
}

bool TCanvas::TryLock()
{
    if (!FLock.TryEnter())
        return false;
    ++FLockCount;
    return true;
}

int GetDeviceCaps(HDC DC, int Index)
{
    if (DC && DC->Device())
        return DC->Device()->DeviceCaps(Index);
    static const TRecordingDevice NoDevice(0, 0);
    return NoDevice.DeviceCaps(Index);
}
