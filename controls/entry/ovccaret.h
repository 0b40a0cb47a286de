// controls/entry/ovccaret.h: TOvcCaret, the description of a caret that controls may share, and
// the managers that put one on the screen: TOvcSingleCaret, and TOvcCaretPair with one caret for
// insert mode and one for overwrite mode.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <climits>
#include <functional>
#include <memory>

class TBitmap;
class TOvcCustomControlEx;

enum TOvcCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };
enum TOvcCaretAlign { caLeft, caTop, caRight, caBottom, caCenter };

// Lives while anyone holds a reference: made with none, freed by the last Release.
class TOvcCaret : public TPersistent {
public:
    TOvcCaret();
    ~TOvcCaret() override;

    void AddRef() { ++FRefCount; }
    void Release();

    TBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies Value; nil is ignored.
    void SetBitmap(const TBitmap* Value);
    int BitmapHotSpotX() const { return FBitmapHotSpotX; }
    void SetBitmapHotSpotX(int Value);
    int BitmapHotSpotY() const { return FBitmapHotSpotY; }
    void SetBitmapHotSpotY(int Value);
    TOvcCaretShape Shape() const { return FShape; }
    void SetShape(TOvcCaretShape Value);
    TOvcCaretAlign Align() const { return FAlign; }
    void SetAlign(TOvcCaretAlign Value);
    // 0 keeps the system's blink time.
    Word BlinkTime() const { return FBlinkTime; }
    void SetBlinkTime(Word Value);
    // Values of 0 and below are refused.
    int CaretHeight() const { return FCaretHeight; }
    void SetCaretHeight(int Value);
    int CaretWidth() const { return FCaretWidth; }
    void SetCaretWidth(int Value);
    bool IsGray() const { return FIsGray; }
    void SetIsGray(bool Value);

    // Set by the holder that shows the caret.
    std::function<void()> OnChange;

private:
    void Changed();

    std::unique_ptr<TBitmap> FBitmap;
    int FBitmapHotSpotX = 0;
    int FBitmapHotSpotY = 0;
    TOvcCaretShape FShape = csVertLine;
    TOvcCaretAlign FAlign = caLeft;
    Word FBlinkTime = 0;
    int FCaretHeight = 10;
    int FCaretWidth = 2;
    bool FIsGray = false;
    Word FRefCount = 0;
};

class TOvcSingleCaret : public TPersistent {
public:
    explicit TOvcSingleCaret(TOvcCustomControlEx* Control);
    ~TOvcSingleCaret() override;

    TOvcCaret* Caret() const { return FCaret; }
    void SetCaret(TOvcCaret* Value);
    int CellHeight() const { return FCellHeight; }
    void SetCellHeight(int Value);
    int CellWidth() const { return FCellWidth; }
    void SetCellWidth(int Value);
    // On only when the control has a window: the platform caret exists in it.
    bool Linked() const { return FLinked; }
    void SetLinked(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // A negative coordinate is kept as MaxInt, off the visible area.
    void SetPosition(int X, int Y);
    int X() const { return FX; }
    int Y() const { return FY; }
    // Where the caret sits within its cell.
    int XOffset() const { return FXOffset; }
    int YOffset() const { return FYOffset; }
    // The caret's size as shown in the cell.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

protected:
    // Unlinks, takes the caret's new shape and size, links again as it was.
    void Refresh();

private:
    void Compute();
    void MoveCaret();

    TOvcCaret* FCaret = nullptr;
    int FCellHeight = 10;
    bool FLinked = false;
    int FX = 0;
    int FY = 0;
    bool FVisible = false;
    int FCellWidth = 10;
    unsigned FSavedBlinkTime = 0;
    TOvcCustomControlEx* FControl = nullptr;
    int FXOffset = 0;
    int FYOffset = 0;
    int FWidth = 0;
    int FHeight = 0;
};

class TOvcCaretPair : public TOvcSingleCaret {
public:
    explicit TOvcCaretPair(TOvcCustomControlEx* Control);
    ~TOvcCaretPair() override;

    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value);
    TOvcCaret* InsertCaret() const { return FInsertCaret; }
    void SetInsertCaret(TOvcCaret* Value);
    TOvcCaret* OverwriteCaret() const { return FOverwriteCaret; }
    void SetOverwriteCaret(TOvcCaret* Value);

private:
    bool FInsertMode = true;
    TOvcCaret* FInsertCaret = nullptr;
    TOvcCaret* FOverwriteCaret = nullptr;
};
