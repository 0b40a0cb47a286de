#include "controls/entry/ovccaret.h"

#include "controls/entry/ovcbase.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/input.h"

TOvcCaret::TOvcCaret() : FBitmap(std::make_unique<TBitmap>()) {}

TOvcCaret::~TOvcCaret() = default;

void TOvcCaret::Release()
{
    if (FRefCount > 0)
        --FRefCount;
    if (FRefCount == 0)
        delete this;
}

void TOvcCaret::Changed()
{
    if (OnChange)
        OnChange();
}

void TOvcCaret::SetBitmap(const TBitmap* Value)
{
    if (Value == nullptr)
        return;
    FBitmap->Assign(Value);
    Changed();
}

void TOvcCaret::SetBitmapHotSpotX(int Value)
{
    if (Value == FBitmapHotSpotX)
        return;
    FBitmapHotSpotX = Value;
    if (FShape == csBitmap)
        Changed();
}

void TOvcCaret::SetBitmapHotSpotY(int Value)
{
    if (Value == FBitmapHotSpotY)
        return;
    FBitmapHotSpotY = Value;
    if (FShape == csBitmap)
        Changed();
}

void TOvcCaret::SetShape(TOvcCaretShape Value)
{
    if (Value == FShape)
        return;
    FShape = Value;
    switch (Value) {
    case csBlock:
        FAlign = caLeft;
        break;
    case csHalfBlock:
        FAlign = caBottom;
        break;
    case csVertLine:
        FAlign = caLeft;
        FCaretWidth = 2;
        break;
    case csHorzLine:
        FAlign = caBottom;
        FCaretHeight = 2;
        break;
    case csBitmap:
        // An empty bitmap leaves the size as it was: a caret is never 0 pixels.
        if (FBitmap->Height() > 0)
            FCaretHeight = FBitmap->Height();
        if (FBitmap->Width() > 0)
            FCaretWidth = FBitmap->Width();
        break;
    case csCustom:
        break;
    }
    Changed();
}

void TOvcCaret::SetAlign(TOvcCaretAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    Changed();
}

void TOvcCaret::SetBlinkTime(Word Value)
{
    if (Value == FBlinkTime)
        return;
    FBlinkTime = Value;
    Changed();
}

void TOvcCaret::SetCaretHeight(int Value)
{
    if (Value <= 0 || Value == FCaretHeight)
        return;
    FCaretHeight = Value;
    Changed();
}

void TOvcCaret::SetCaretWidth(int Value)
{
    if (Value <= 0 || Value == FCaretWidth)
        return;
    FCaretWidth = Value;
    Changed();
}

void TOvcCaret::SetIsGray(bool Value)
{
    if (Value == FIsGray)
        return;
    FIsGray = Value;
    Changed();
}

TOvcSingleCaret::TOvcSingleCaret(TOvcCustomControlEx* Control) : FControl(Control)
{
    FCaret = new TOvcCaret;
    FCaret->AddRef();
    FCaret->OnChange = [this] { Refresh(); };
    Compute();
}

TOvcSingleCaret::~TOvcSingleCaret()
{
    SetVisible(false);
    SetLinked(false);
    FCaret->OnChange = nullptr;
    FCaret->Release();
}

void TOvcSingleCaret::SetCaret(TOvcCaret* Value)
{
    if (Value == nullptr || Value == FCaret)
        return;
    // Unlinked first, so that the old caret's blink time is undone by the old caret.
    const bool WasLinked = FLinked;
    SetLinked(false);
    Value->AddRef();
    // A caret shared with others must not call back into a holder that let it go.
    FCaret->OnChange = nullptr;
    FCaret->Release();
    FCaret = Value;
    FCaret->OnChange = [this] { Refresh(); };
    Compute();
    SetLinked(WasLinked);
}

void TOvcSingleCaret::SetCellHeight(int Value)
{
    if (Value <= 0 || Value == FCellHeight)
        return;
    FCellHeight = Value;
    Refresh();
}

void TOvcSingleCaret::SetCellWidth(int Value)
{
    if (Value <= 0 || Value == FCellWidth)
        return;
    FCellWidth = Value;
    Refresh();
}

void TOvcSingleCaret::SetLinked(bool Value)
{
    if (Value == FLinked)
        return;
    if (Value) {
        if (FControl == nullptr || !FControl->HandleAllocated())
            return;
        FSavedBlinkTime = GetCaretBlinkTime();
        // A bitmap caret shows the bitmap's pixels; a grey one the system's grey pattern.
        HBITMAP Shape = nullptr;
        if (FCaret->Shape() == csBitmap && FCaret->Bitmap() != nullptr)
            Shape = FCaret->Bitmap()->Handle();
        else if (FCaret->IsGray())
            Shape = reinterpret_cast<HBITMAP>(1);
        CreateCaret(FControl->Handle(), Shape, FWidth, FHeight);
        FLinked = true;
        if (FVisible)
            ShowCaret(FControl->Handle());
        MoveCaret();
        if (FCaret->BlinkTime() != 0 && FCaret->BlinkTime() != FSavedBlinkTime)
            SetCaretBlinkTime(FCaret->BlinkTime());
        return;
    }
    FLinked = false;
    if (FSavedBlinkTime != 0 && GetCaretBlinkTime() != FSavedBlinkTime)
        SetCaretBlinkTime(FSavedBlinkTime);
    // The thread's one caret may belong to another window by now: leave that one alone.
    if (FControl != nullptr && FControl->HandleAllocated() &&
        GetCaretState().Owner == FControl->Handle())
        DestroyCaret();
}

void TOvcSingleCaret::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (!FLinked)
        return;
    if (Value)
        ShowCaret(FControl->Handle());
    else
        HideCaret(FControl->Handle());
}

void TOvcSingleCaret::SetPosition(int X, int Y)
{
    if (X < 0)
        X = INT_MAX;
    if (Y < 0)
        Y = INT_MAX;
    if (X == FX && Y == FY)
        return;
    FX = X;
    FY = Y;
    if (FLinked)
        MoveCaret();
}

void TOvcSingleCaret::Refresh()
{
    const bool WasLinked = FLinked;
    SetLinked(false);
    Compute();
    SetLinked(WasLinked);
}

void TOvcSingleCaret::Compute()
{
    const int H = FCellHeight;
    const int W = FCellWidth;
    switch (FCaret->Shape()) {
    case csBlock:
        FHeight = H;
        FWidth = W;
        break;
    case csHalfBlock:
        FHeight = H / 2;
        FWidth = W;
        break;
    case csVertLine:
        FHeight = H;
        FWidth = FCaret->CaretWidth();
        break;
    case csHorzLine:
        FHeight = FCaret->CaretHeight();
        FWidth = W;
        break;
    case csCustom:
    case csBitmap:
        FHeight = FCaret->CaretHeight();
        FWidth = FCaret->CaretWidth();
        break;
    }
    int X = 0;
    int Y = 0;
    switch (FCaret->Align()) {
    case caLeft:
        Y = (H - FHeight) / 2;
        break;
    case caTop:
        X = (W - FWidth) / 2;
        break;
    case caRight:
        X = W - FWidth;
        Y = (H - FHeight) / 2;
        break;
    case caBottom:
        X = (W - FWidth) / 2;
        Y = H - FHeight;
        break;
    case caCenter:
        X = (W - FWidth) / 2;
        Y = (H - FHeight) / 2;
        break;
    }
    if (FCaret->Shape() == csBitmap) {
        X -= FCaret->BitmapHotSpotX();
        Y -= FCaret->BitmapHotSpotY();
    }
    if (X == FXOffset && Y == FYOffset)
        return;
    FXOffset = X;
    FYOffset = Y;
    if (FLinked)
        MoveCaret();
}

void TOvcSingleCaret::MoveCaret()
{
    // Coordinates off the visible area stay there.
    SetCaretPos(FX == INT_MAX ? FX : FX + FXOffset, FY == INT_MAX ? FY : FY + FYOffset);
}

TOvcCaretPair::TOvcCaretPair(TOvcCustomControlEx* Control) : TOvcSingleCaret(Control)
{
    FInsertCaret = new TOvcCaret;
    FInsertCaret->AddRef();
    FOverwriteCaret = new TOvcCaret;
    FOverwriteCaret->AddRef();
    FOverwriteCaret->SetShape(csBlock);
    FInsertMode = true;
    SetCaret(FInsertCaret);
}

TOvcCaretPair::~TOvcCaretPair()
{
    FInsertCaret->Release();
    FOverwriteCaret->Release();
}

void TOvcCaretPair::SetInsertMode(bool Value)
{
    if (Value == FInsertMode)
        return;
    FInsertMode = Value;
    SetCaret(Value ? FInsertCaret : FOverwriteCaret);
}

void TOvcCaretPair::SetInsertCaret(TOvcCaret* Value)
{
    if (Value == nullptr || Value == FInsertCaret)
        return;
    Value->AddRef();
    FInsertCaret->Release();
    FInsertCaret = Value;
    if (FInsertMode)
        SetCaret(Value);
}

void TOvcCaretPair::SetOverwriteCaret(TOvcCaret* Value)
{
    if (Value == nullptr || Value == FOverwriteCaret)
        return;
    Value->AddRef();
    FOverwriteCaret->Release();
    FOverwriteCaret = Value;
    if (!FInsertMode)
        SetCaret(Value);
}
