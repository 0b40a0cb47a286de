// controls/entry/ovcpbmask.h: the picture-mask engine of picture and numeric entry fields,
// without a window: which characters a mask character accepts, the literal map of a mask,
// formatting a text into the mask and stripping the literals again, edit positions and the
// digit counts of number masks.
#pragma once

#include "platform/rtl/types.h"

#include <string>
#include <vector>

class TOvcIntlSup;
class TOvcUserData;

// The characters that accept input in a mask; every other character is a literal.
bool IsPictureMaskChar(char C);
// Substitution literals 241 to 248 show a character of the user mask data.
bool IsSubstLiteral(char C);
// The alpha set: space , - . A-Z a-z and the alphabetic characters from 128 to 255.
bool IsAlphaSetChar(char C);

// C case-converted by MaskChar, then tested against its set. Prev is the character before
// the position (for mixed case). Returns false for NUL and characters outside the set.
bool AcceptPictureChar(char MaskChar, char& C, char Prev, const TOvcIntlSup& Intl,
                       const TOvcUserData& UserData);

// Literal map values.
enum : Byte { lmLiteral = 0, lmMask = 1, lmSemiLiteral = 2 };

// A mask laid over MaxLength positions, with what the formatting needs to know.
class TOvcPictureMask {
public:
    // Mask: the picture as used ('p' and 'g' stand outside the positions); Numeric: a field of
    // the numeric class; FloatType: a float data type; DecimalPlaces: decimals when the mask
    // has no '.'.
    TOvcPictureMask(const std::string& Mask, int MaxLength, bool Numeric = false,
                    bool FloatType = false, int DecimalPlaces = 0);

    const std::string& Picture() const { return FPicture; }
    int MaxLength() const { return FMaxLength; }
    // The mask character of a position: the last one repeated past the mask's end.
    char MaskCharAt(int Pos) const;
    Byte MapAt(int Pos) const;
    bool IsMaskPosition(int Pos) const { return FAllMask || MapAt(Pos) == lmMask; }
    const std::vector<Byte>& LiteralMap() const { return FMap; }
    int SemiLiteralCount() const { return FSemiLiterals; }
    bool AllMask() const { return FAllMask; }
    bool IsHex() const { return Has('K'); }
    bool IsOctal() const { return Has('O'); }
    bool IsBinary() const { return Has('b'); }
    bool Has(char C) const { return FPicture.find(C) != std::string::npos; }
    // The position of the mask's '.' within MaxLength, or -1.
    int DotPos() const { return FDotPos; }
    bool IsNumberMask() const;

    // Leading literal positions (at most MaxLength - 1) plus the semi-literal count.
    int FirstEditPosition() const;
    // The last mask position.
    int LastEditPosition() const;
    // Digits a numeric field holds (sign included), those before the point, and decimals.
    int MaxDigits() const { return FMaxDigits; }
    int MaxIntegerDigits() const { return FMaxIntDigits; }
    int Decimals() const { return FDecimals; }

    // Text (with '.' as its decimal point) put into the mask; MaxLength characters.
    std::string FormatIntoMask(const std::string& Text, bool RightJustify, const TOvcIntlSup& Intl,
                               const TOvcUserData& UserData) const;
    // The reverse: mask positions only, no currency or separators, '.' as the decimal point.
    std::string StripLiterals(const std::string& Text, const TOvcIntlSup& Intl) const;
    // Blank mask positions shown as PadChar, other mask characters as PasswordChar when
    // Password; literals stay.
    std::string PadAndMask(const std::string& Text, char PadChar, bool Password,
                           char PasswordChar) const;
    // True when every mask position of Text is blank.
    bool IsBlank(const std::string& Text) const;

private:
    void Build();

    std::string FPicture;
    std::string FPositions; // the picture without 'p' and 'g' in numeric fields
    int FMaxLength;
    bool FNumeric;
    bool FFloatType;
    int FDecimalPlaces;
    std::vector<Byte> FMap;
    int FSemiLiterals = 0;
    bool FAllMask = false;
    int FDotPos = -1;
    int FMaxDigits = 0;
    int FMaxIntDigits = 0;
    int FDecimals = 0;
};
