// controls/entry/ovcpb.h: TOvcPictureBase, the entry field with a picture mask: mask positions
// take input, literals stay; values are formatted into the mask and stripped out of it again.
#pragma once

#include "controls/entry/ovcef.h"
#include "controls/entry/ovcpbmask.h"

#include <string>

class TOvcPictureBase : public TOvcBaseEntryField {
public:
    explicit TOvcPictureBase(TComponent* AOwner);

    bool ValidateContents(bool ReportError) override;
    void CaretToEnd() override;
    void CaretToStart() override;
    Word FirstEditPosition() override;
    bool IsEmpty() override;
    std::string GetDisplayText(int Size = 255) override;
    void SetCaretPosition(int Pos) override;
    void SetPicture(const std::string& Mask) override;
    void GetStrippedText(std::string& Text) override;
    void SetEditText(const std::string& Text) override;
    Word Revalidate(bool Post) override;
    // Run before each editing command while the text is still formatted.
    virtual void PrepareTextForEdit();

    // The mask laid over the field's positions.
    const TOvcPictureMask& Layout() const { return FLayout; }

protected:
    // A float data type (Real to Comp).
    bool IsFloatType() const;
    // Rebuilds the literal map from the mask and MaxLength.
    void RebuildLiteralMap();
    const TOvcIntlSup& Intl() const;
    const TOvcUserData& User() const;
    std::string FormatIntoMask(const std::string& Text) const;
    std::string StripLiterals(const std::string& Text) const;
    // Picture fields (not numeric ones) with a '.' in the mask: integer positions right-
    // justified, blank decimals filled with '0'.
    void AlignDecimals();

    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);

    TOvcPictureMask FLayout{"X", 1};
    TW_MESSAGE_MAP();
};
