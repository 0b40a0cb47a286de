// platform/stdctrls/memo.h: TCustomMemo, the multi-line edit (Lines, ScrollBars, WordWrap,
// WantReturns, WantTabs, Alignment, CaretPos), and TMemo. The rich edit derives from it.
#pragma once

#include "platform/stdctrls/edit.h"

#include <memory>

class TStrings;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // The lines as the window shows them (wrapped lines count as lines), read and written
    // through the window.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(const TStrings* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    // X: the byte offset in the caret's line, Y: the line.
    TPoint CaretPos() const;
    void SetCaretPos(const TPoint& Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    std::unique_ptr<TStrings> FLines;
    TAlignment FAlignment = taLeftJustify;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
