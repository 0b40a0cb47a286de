// controls/entry/ovcnf.h: the numeric entry field, edited like a pocket calculator (digits enter
// at the right, Backspace takes the last one off, '-' toggles the sign), holding one of ten
// numeric types, checked against its range and stepped by the spinner and the arrow keys.
#pragma once

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcpb.h"

#include <cstdint>
#include <optional>
#include <string>

enum TNumericDataType {
    nftLongInt,
    nftWord,
    nftInteger,
    nftByte,
    nftShortInt,
    nftReal,
    nftExtended,
    nftDouble,
    nftSingle,
    nftComp,
};

// The mask a numeric field takes when its data type is set.
std::string DefaultNumericMask(TNumericDataType Value);

class TOvcCustomNumericField : public TOvcPictureBase {
public:
    explicit TOvcCustomNumericField(TComponent* AOwner);

    TNumericDataType DataType() const { return FNumericType; }
    virtual void SetDataType(TNumericDataType Value);
    const std::string& PictureMask() const { return FPictureMask; }
    virtual void SetPictureMask(const std::string& Value);

    void CaretToEnd() override;
    void CaretToStart() override;
    void EditCommand(TMessage& Msg, Word Cmd) override;
    std::string GetDisplayText(int Size = 255) override;
    Word TransferValue(void* Data, int Mode) override;
    Word CheckEditText() override;
    void SetCaretPosition(int Pos) override;
    void PrepareTextForEdit() override;
    void SetPicture(const std::string& Mask) override;
    void StepValue(bool Wrap, double Delta) override;

protected:
    void CreateWnd() override;

    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMCut(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    // The stripped text as a raw value of the field's type; nullopt when it does not convert.
    std::optional<TRangeType> TextToRaw(const std::string& Stripped) const;
    // The edit text for a raw value.
    std::string RawToEditText(const TRangeType& Raw) const;
    bool IsIntegerData() const;
    // The mask as used: MaxLength, the literal map and the digit counts from FPictureMask.
    void ApplyMask();
    // The digit string from the edit text, and the edit text from the digit string.
    void LoadDigits();
    void RebuildFromDigits();
    int SignAndDigits() const { return static_cast<int>(FDigits.size()) + (FNegative ? 1 : 0); }
    // A typed (or pasted) character; false when refused.
    bool EnterChar(char C, bool Pasted);
    // The controller's entry options hold Option (auto-advance).
    bool CanAdvance(TOvcBaseEFOption Option) const;
    void CopyShownNumber();
    void ClearDigits();
    bool HasSelection() const;

    TNumericDataType FNumericType = nftLongInt;
    std::string FPictureMask = "iiiiiiiiiii";
    std::string FDigits;
    bool FNegative = false;
    bool FAdvancePending = false;
};

class TOvcNumericField : public TOvcCustomNumericField {
public:
    explicit TOvcNumericField(TComponent* AOwner) : TOvcCustomNumericField(AOwner) {}
};
