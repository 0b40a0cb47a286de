// controls/entry/ovcnf.cpp: TOvcCustomNumericField (see the header).
#include "controls/entry/ovcnf.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/strings.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

Byte FieldType(TNumericDataType Value)
{
    return static_cast<Byte>(fidLongInt + static_cast<int>(Value));
}

bool IsNumericDataType(int Value)
{
    return Value >= nftLongInt && Value <= nftComp;
}

// The 32-bit value of a raw integer limit narrowed and widened as the type stores it.
std::int32_t NarrowInteger(Byte Type, std::int32_t V)
{
    switch (Type) {
    case fidWord:
        return static_cast<std::uint16_t>(V);
    case fidSmallInt:
        return static_cast<std::int16_t>(V);
    case fidByte:
        return static_cast<std::uint8_t>(V);
    case fidShortInt:
        return static_cast<std::int8_t>(V);
    default:
        return V;
    }
}

// A value stepped within Lo..Hi: a step down from Lo or up from Hi wraps to the other limit (or
// changes nothing, nullopt, without Wrap); any other step adds Step and is clamped.
template <class T>
std::optional<T> SteppedValue(T V, T Lo, T Hi, bool Wrap, double Delta, T Step)
{
    if (Delta < 0 && V <= Lo)
        return Wrap ? std::optional<T>(Hi) : std::nullopt;
    if (Delta > 0 && V >= Hi)
        return Wrap ? std::optional<T>(Lo) : std::nullopt;
    return std::clamp(V + Step, Lo, Hi);
}

} // namespace

std::string DefaultNumericMask(TNumericDataType Value)
{
    switch (Value) {
    case nftLongInt:
        return "iiiiiiiiiii";
    case nftWord:
        return "99999";
    case nftInteger:
        return "iiiiii";
    case nftByte:
        return "999";
    case nftShortInt:
        return "iiii";
    case nftComp:
        return "iiiiiiiiii";
    default:
        return "##########";
    }
}

const TMessageMap& TOvcCustomNumericField::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcCustomNumericField::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TOvcCustomNumericField::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TOvcCustomNumericField::WMCut>(WM_CUT),
    });
    static constexpr TMessageMap Map{Handlers, &TOvcPictureBase::ClassMessageMap};
    return Map;
}

TOvcCustomNumericField::TOvcCustomNumericField(TComponent* AOwner) : TOvcPictureBase(AOwner)
{
    FFieldClass = fcNumeric;
    FType = static_cast<Byte>(fsubNumeric) | static_cast<Byte>(fidLongInt);
    FRangeHi = TRangeType::FromLong(2147483647);
    FRangeLo = TRangeType::FromLong(-2147483647 - 1);
    ApplyMask();
}

bool TOvcCustomNumericField::IsIntegerData() const
{
    return FNumericType <= nftShortInt;
}

void TOvcCustomNumericField::ApplyMask()
{
    TOvcPictureBase::SetPicture(FPictureMask);
    FDataSize = 0;
}

void TOvcCustomNumericField::SetDataType(TNumericDataType Value)
{
    if (!IsNumericDataType(Value))
        throw EOvcException(LibraryString(30188));
    if (Value == FNumericType)
        return;
    FNumericType = Value;
    FType = static_cast<Byte>(fsubNumeric | FieldType(Value));
    DefaultRange(FieldType(Value), FRangeLo, FRangeHi);
    FDecimalPlaces = 0;
    FPictureMask = DefaultNumericMask(Value);
    ApplyMask();
    if (HandleAllocated()) {
        FValueLoaded = false;
        RecreateWnd();
    }
}

void TOvcCustomNumericField::SetPictureMask(const std::string& Value)
{
    if (Value.empty() || Value == FPictureMask)
        return;
    const bool Point = Value.find('.') != std::string::npos;
    const bool Whole = Value.find_first_of("9i") != std::string::npos;
    if (Designing() && IsFloatType() && Point && Whole)
        throw EInvalidPictureMask(Value);
    FPictureMask = Value;
    if (Designing() || !HandleAllocated()) {
        ApplyMask();
        return;
    }
    SetPicture(FPictureMask);
    RecreateWnd();
}

void TOvcCustomNumericField::SetPicture(const std::string& Mask)
{
    if (!HandleAllocated()) {
        TOvcPictureBase::SetPicture(Mask);
        FDataSize = 0;
        return;
    }
    const std::optional<TRangeType> Value = TextToRaw(StripLiterals(FEditText));
    TOvcPictureBase::SetPicture(Mask);
    FDataSize = 0;
    FEditText = RawToEditText(Value.value_or(TRangeType()));
}

// Conversions -----------------------------------------------------------------------------------

std::optional<TRangeType> TOvcCustomNumericField::TextToRaw(const std::string& Stripped) const
{
    const Byte Type = FieldType(FNumericType);
    if (IsIntegerData())
        return RangeTextToRaw(Type, Trim(Stripped), FPicture, 0, Intl());
    const std::string Fixed = FixNumberText(Stripped, Intl().DecimalChar());
    return RangeTextToRaw(Type, Fixed, FPicture, 0, Intl());
}

std::string TOvcCustomNumericField::RawToEditText(const TRangeType& Raw) const
{
    const Byte Type = FieldType(FNumericType);
    if (IsIntegerData()) {
        const TRangeType Narrowed = TRangeType::FromLong(NarrowInteger(Type, Raw.AsLong()));
        return FormatIntoMask(
            RawToRangeText(Type, Narrowed, FPicture, FDecimalPlaces, FMaxLength, Intl()));
    }
    const long double V = Type == fidReal ? Raw.AsReal() : Raw.AsExtended();
    const int Decimals = FLayout.Decimals();
    const int Width = FLayout.MaxDigits();
    const int Needed = std::snprintf(nullptr, 0, "%*.*Lf", Width, Decimals, V);
    std::vector<char> Buffer(static_cast<std::size_t>(std::max(Needed, 0)) + 1);
    std::snprintf(Buffer.data(), Buffer.size(), "%*.*Lf", Width, Decimals, V);
    std::string Text = Trim(std::string(Buffer.data()));
    if (FDecimalPlaces != 0 && Text.find('.') != std::string::npos) {
        while (!Text.empty() && Text.back() == '0')
            Text.pop_back();
        if (!Text.empty() && Text.back() == '.')
            Text.pop_back();
    }
    return FormatIntoMask(Text);
}

Word TOvcCustomNumericField::TransferValue(void* Data, int Mode)
{
    if (Data == nullptr || Designing() || (Mode != 1 && Mode != 2))
        return TOvcPictureBase::TransferValue(Data, Mode);
    const Byte Type = FieldType(FNumericType);
    auto* Bytes = static_cast<Byte*>(Data);
    if (Mode == 1) {
        const TRangeType Raw = TextToRaw(StripLiterals(FEditText)).value_or(TRangeType());
        const std::int32_t L = Raw.AsLong();
        switch (Type) {
        case fidLongInt:
            std::memcpy(Bytes, &L, 4);
            break;
        case fidWord:
        case fidSmallInt:
            std::memcpy(Bytes, &L, 2); // little-endian: the low half
            break;
        case fidByte:
        case fidShortInt:
            Bytes[0] = static_cast<Byte>(L);
            break;
        case fidReal: {
            const double D = Raw.AsReal();
            std::memcpy(Bytes, &D, sizeof D);
            break;
        }
        case fidExtended:
            std::memcpy(Bytes, Raw.Bytes.data(), 10);
            break;
        case fidDouble: {
            const double D = static_cast<double>(Raw.AsExtended());
            std::memcpy(Bytes, &D, sizeof D);
            break;
        }
        case fidSingle: {
            const float F = static_cast<float>(Raw.AsExtended());
            std::memcpy(Bytes, &F, sizeof F);
            break;
        }
        default: {
            const std::int64_t C = std::llround(Raw.AsExtended());
            std::memcpy(Bytes, &C, sizeof C);
            break;
        }
        }
    } else {
        TRangeType Raw;
        switch (Type) {
        case fidLongInt: {
            std::int32_t V = 0;
            std::memcpy(&V, Bytes, 4);
            Raw = TRangeType::FromLong(V);
            break;
        }
        case fidWord:
        case fidSmallInt: {
            std::uint16_t V = 0;
            std::memcpy(&V, Bytes, 2);
            Raw = TRangeType::FromLong(NarrowInteger(Type, V));
            break;
        }
        case fidByte:
        case fidShortInt:
            Raw = TRangeType::FromLong(NarrowInteger(Type, Bytes[0]));
            break;
        case fidReal: {
            double D = 0;
            std::memcpy(&D, Bytes, sizeof D);
            Raw = TRangeType::FromReal(D);
            break;
        }
        case fidExtended:
            std::memcpy(Raw.Bytes.data(), Bytes, 10);
            break;
        case fidDouble: {
            double D = 0;
            std::memcpy(&D, Bytes, sizeof D);
            Raw = TRangeType::FromExtended(D);
            break;
        }
        case fidSingle: {
            float F = 0;
            std::memcpy(&F, Bytes, sizeof F);
            Raw = TRangeType::FromExtended(F);
            break;
        }
        default: {
            std::int64_t C = 0;
            std::memcpy(&C, Bytes, sizeof C);
            Raw = TRangeType::FromExtended(static_cast<long double>(C));
            break;
        }
        }
        FEditText = RawToEditText(Raw);
        FState.Exclude(esPrepared);
        if (FState.Contains(esFocused))
            LoadDigits();
    }
    return TOvcPictureBase::TransferValue(Data, Mode);
}

Word TOvcCustomNumericField::CheckEditText()
{
    const std::optional<TRangeType> Raw = TextToRaw(StripLiterals(FEditText));
    Word Code = 0;
    if (!Raw) {
        Code = oeInvalidNumber;
    } else {
        bool Outside = false;
        if (IsIntegerData())
            Outside = Raw->AsLong() < FRangeLo.AsLong() || Raw->AsLong() > FRangeHi.AsLong();
        else if (FNumericType == nftReal)
            Outside = Raw->AsReal() < FRangeLo.AsReal() || Raw->AsReal() > FRangeHi.AsReal();
        else
            Outside = Raw->AsExtended() < FRangeLo.AsExtended() ||
                      Raw->AsExtended() > FRangeHi.AsExtended();
        if (Outside)
            Code = oeRangeError;
        else if (FState.Contains(esFocused) && !FState.Contains(esInRead)) {
            FEditText = RawToEditText(*Raw);
            FState.Exclude(esPrepared);
        }
    }
    if (!FState.Contains(esInUserValidation))
        DoOnUserValidation(Code);
    return Code;
}

void TOvcCustomNumericField::StepValue(bool Wrap, double Delta)
{
    if (!FState.Contains(esFocused) || std::isnan(Delta))
        return;
    const std::optional<TRangeType> Raw = TextToRaw(StripLiterals(FEditText));
    if (!Raw)
        return;
    TRangeType Result;
    if (IsIntegerData()) {
        // Wide enough that adding never wraps round; the clamp brings it back.
        const std::int64_t Step =
            static_cast<std::int64_t>(std::clamp(std::trunc(Delta), -4.0e18, 4.0e18));
        const auto V = SteppedValue<std::int64_t>(Raw->AsLong(), FRangeLo.AsLong(),
                                                  FRangeHi.AsLong(), Wrap, Delta, Step);
        if (!V)
            return;
        Result = TRangeType::FromLong(static_cast<std::int32_t>(*V));
    } else {
        const bool Real = FNumericType == nftReal;
        const auto V = SteppedValue<long double>(Real ? Raw->AsReal() : Raw->AsExtended(),
                                                 Real ? FRangeLo.AsReal() : FRangeLo.AsExtended(),
                                                 Real ? FRangeHi.AsReal() : FRangeHi.AsExtended(),
                                                 Wrap, Delta, static_cast<long double>(Delta));
        if (!V)
            return;
        Result =
            Real ? TRangeType::FromReal(static_cast<double>(*V)) : TRangeType::FromExtended(*V);
    }
    FEditText = RawToEditText(Result);
    FState.Exclude(esPrepared);
    LoadDigits();
    FState.Include(esModified);
    FState.Include(esEverModified);
    DoOnChange();
    Invalidate();
    CaretToEnd();
    PlaceCaret(false);
}

// The digit string ------------------------------------------------------------------------------

void TOvcCustomNumericField::LoadDigits()
{
    std::string S = Trim(StripLiterals(FEditText));
    FNegative = !S.empty() && S[0] == '-';
    if (FNegative)
        S = Trim(S.substr(1));
    while (S.size() > 1 && S[0] == '0' && S[1] != '.')
        S.erase(0, 1);
    if (S == "0")
        S.clear();
    FDigits = S.substr(0, 255);
}

void TOvcCustomNumericField::RebuildFromDigits()
{
    std::string S = FDigits.empty() ? "0" : FDigits;
    if (S[0] == '.')
        S.insert(0, "0");
    if (FLayout.DotPos() >= 0) {
        std::size_t Point = S.find('.');
        if (Point == std::string::npos) {
            Point = S.size();
            S += '.';
        }
        std::string Decimals = S.substr(Point + 1);
        Decimals.resize(static_cast<std::size_t>(FLayout.Decimals()), '0');
        S = S.substr(0, Point) + (Decimals.empty() ? std::string() : "." + Decimals);
    }
    if (FNegative)
        S.insert(0, "-");
    FEditText = FormatIntoMask(S);
}

void TOvcCustomNumericField::ClearDigits()
{
    FDigits.clear();
    FNegative = false;
    FSelStart = FSelEnd = 0;
}

bool TOvcCustomNumericField::HasSelection() const
{
    return std::min(FSelEnd, static_cast<int>(FEditText.size())) > FSelStart;
}

bool TOvcCustomNumericField::CanAdvance(TOvcBaseEFOption Option) const
{
    const TOvcController* C = Controller();
    return C != nullptr && C->EntryOptions().Contains(Option);
}

// The edit engine -------------------------------------------------------------------------------

bool TOvcCustomNumericField::EnterChar(char C, bool Pasted)
{
    const int MaxDigits = FLayout.MaxDigits();
    if (SignAndDigits() > MaxDigits) {
        FAdvancePending = !Pasted && CanAdvance(efoAutoAdvanceChar);
        return FAdvancePending;
    }
    if (C == Intl().DecimalChar())
        C = '.';
    else if (C == '.')
        return false;
    if (!AcceptPictureChar(FLayout.MaskCharAt(FLayout.LastEditPosition()), C, ' ', Intl(), User()))
        return false;
    if (C == ' ')
        return false;
    const bool HasPoint = FDigits.find('.') != std::string::npos;
    if (C == '-') {
        if (FNegative) {
            FNegative = false;
            return true;
        }
        const int IntegerDigits = static_cast<int>(std::min(FDigits.find('.'), FDigits.size()));
        if (IntegerDigits >= FLayout.MaxIntegerDigits() ||
            static_cast<int>(FDigits.size()) >= MaxDigits)
            return false;
        FNegative = true;
        return true;
    }
    if (C == '.' && (FLayout.DotPos() < 0 || HasPoint))
        return false;
    if (SignAndDigits() < MaxDigits) {
        if (C == '0' && FDigits.empty()) {
            // Accepted, but a number has no leading zero.
        } else if (C != '.' && FLayout.DotPos() >= 0 && !HasPoint &&
                   SignAndDigits() >= FLayout.MaxIntegerDigits()) {
            return false;
        } else {
            FDigits += C;
        }
    } else if (MaxDigits == 1 && C != '.') {
        FDigits.assign(1, C);
    } else {
        return false;
    }
    if (!Pasted && SignAndDigits() >= MaxDigits)
        FAdvancePending = CanAdvance(efoAutoAdvanceChar);
    return true;
}

void TOvcCustomNumericField::EditCommand(TMessage& Msg, Word Cmd)
{
    // A key that is no command only lets its character message through; every other command
    // takes that permission away, so the character a command key makes is dropped.
    if (Cmd == ccShortCut) {
        FState.Include(esTakeNextChar);
        return;
    }
    FState.Exclude(esKeyNotCommand);
    FState.Exclude(esTakeNextChar);
    PrepareTextForEdit();
    const std::string OldDigits = FDigits;
    const bool OldNegative = FNegative;
    const bool Selected = HasSelection();
    bool KeepSelection = false;
    auto SelectWhole = [this, &KeepSelection]() {
        FSelStart = 0;
        FSelEnd = static_cast<int>(FEditText.size());
        KeepSelection = true;
    };

    switch (Cmd) {
    case ccBack:
    case ccDel:
        if (Selected)
            ClearDigits();
        else if (!FDigits.empty()) {
            FDigits.pop_back();
            if (FDigits == "0")
                FDigits.clear();
        } else
            FNegative = false;
        break;
    case ccCopy:
        CopyShownNumber();
        KeepSelection = true;
        break;
    case ccCut:
    case ccDelWord:
        if (Selected)
            ClearDigits();
        KeepSelection = Cmd == ccCut;
        break;
    case ccDelLine:
        FDigits.clear();
        FNegative = false;
        break;
    case ccDec:
        StepValueDown(true, 1);
        break;
    case ccInc:
        StepValueUp(true, 1);
        break;
    case ccDown:
    case ccUp: {
        const TOvcController* C = Controller();
        if (C != nullptr && C->EntryOptions().Contains(efoAutoAdvanceUpDown)) {
            if (Cmd == ccDown)
                MoveToNextControl();
            else
                MoveToPreviousControl();
        } else if (FOptions.Contains(efoArrowIncDec) && !IsReadOnly()) {
            if (Cmd == ccDown)
                StepValueDown(true, 1);
            else
                StepValueUp(true, 1);
        } else if (Cmd == ccDown && CanAdvance(efoAutoAdvanceLeftRight))
            FAdvancePending = true;
        else if (Cmd == ccUp && CanAdvance(efoAutoAdvanceLeftRight))
            MoveToPreviousControl();
        break;
    }
    case ccExtendEnd:
    case ccExtWordRight:
    case ccExtendHome:
    case ccExtWordLeft:
    case ccExtendLeft:
    case ccExtendRight:
    case ccDblClk:
        SelectWhole();
        break;
    case ccIns:
        if (FState.Contains(esInsertMode))
            FState.Exclude(esInsertMode);
        else
            FState.Include(esInsertMode);
        FCaretPair->SetInsertMode(FState.Contains(esInsertMode));
        break;
    case ccPaste: {
        KeepSelection = true;
        if (Designing())
            break;
        if (Selected)
            ClearDigits();
        const char* Text = reinterpret_cast<const char*>(Msg.LParam);
        if (Text == nullptr)
            break;
        const std::string Pasted(Text);
        const bool Parens = FPicture.find('p') != std::string::npos;
        bool Refused = false;
        for (std::size_t I = 0; I < Pasted.size(); ++I) {
            char C = Pasted[I];
            if (C == '(' && Parens && Pasted.find(')', I + 1) != std::string::npos)
                C = '-';
            if (C == '-' && FNegative)
                continue;
            if (C != '-' && SignAndDigits() >= FLayout.MaxDigits())
                continue;
            if (!EnterChar(C, true))
                Refused = true;
        }
        if (Refused)
            ErrorBeep();
        break;
    }
    case ccRestore:
        RestoreSavedText();
        FState.Exclude(esPrepared);
        LoadDigits();
        KeepSelection = true;
        break;
    case ccRight:
    case ccWordRight:
        FAdvancePending = CanAdvance(efoAutoAdvanceLeftRight);
        break;
    case ccLeft:
    case ccWordLeft:
        if (CanAdvance(efoAutoAdvanceLeftRight))
            MoveToPreviousControl();
        break;
    case ccChar: {
        const char C = static_cast<char>(Msg.WParam & 0xFF);
        if (Selected && static_cast<unsigned char>(C) >= ' ')
            ClearDigits();
        if (!EnterChar(C, false))
            ErrorBeep();
        break;
    }
    case ccMouse:
        FSelStart = FSelEnd = 0;
        KeepSelection = true;
        break;
    default: // ccCtrlChar, ccEnd, ccHome, ccShortCut, ccNoMatch, ccPartial and the rest
        break;
    }

    if (!KeepSelection)
        FSelStart = FSelEnd = 0;
    if (Cmd != ccRestore && (FDigits != OldDigits || FNegative != OldNegative)) {
        RebuildFromDigits();
        FState.Include(esModified);
        FState.Include(esEverModified);
        DoOnChange();
    }
    CaretToEnd();
    PlaceCaret(false);
    Invalidate();
    // Moving on last: leaving the field empties the digit string.
    if (FAdvancePending) {
        FAdvancePending = false;
        MoveToNextControl();
    }
}

void TOvcCustomNumericField::CopyShownNumber()
{
    // The shown text is trimmed, so the selection's positions in the edit text do not apply;
    // a numeric field's selection is always the whole number.
    if (HasSelection())
        Clipboard()->SetAsText(GetDisplayText());
}

void TOvcCustomNumericField::WMCut(TMessage& Message)
{
    CopyShownNumber();
    DoCommand(Message, ccCut);
}

// Caret, display, focus and window --------------------------------------------------------------

void TOvcCustomNumericField::CaretToEnd()
{
    FCaretPos = FLayout.LastEditPosition() + 1;
}

void TOvcCustomNumericField::CaretToStart()
{
    FCaretPos = FLayout.LastEditPosition() + 1;
    FHOffset = 0;
}

void TOvcCustomNumericField::SetCaretPosition(int) {}

void TOvcCustomNumericField::PrepareTextForEdit()
{
    // Only radix masks: their zero fill is taken off and put back on leaving.
    if (FLayout.IsHex() || FLayout.IsOctal() || FLayout.IsBinary())
        FState.Include(esPrepared);
}

std::string TOvcCustomNumericField::GetDisplayText(int Size)
{
    std::string Text = TOvcPictureBase::GetDisplayText(255);
    const std::size_t Minus = Text.find('-');
    const bool Negative = Minus != std::string::npos;
    const std::size_t P = FPicture.find('p');
    const std::size_t G = FPicture.find('g');
    if (P != std::string::npos) {
        if (Negative)
            Text[Minus] = '(';
        Text.insert(std::min(P, Text.size()), 1, Negative ? ')' : ' ');
    }
    if (G != std::string::npos) {
        const std::size_t Sign = Text.find('-');
        if (Sign != std::string::npos)
            Text[Sign] = ' ';
        Text.insert(std::min(G, Text.size()), 1, Negative && P == std::string::npos ? '-' : ' ');
    }
    return Trim(Text).substr(0, static_cast<std::size_t>(std::clamp(Size, 0, 255)));
}

void TOvcCustomNumericField::CreateWnd()
{
    std::optional<TRangeType> Saved;
    if (FValueLoaded)
        Saved = TextToRaw(StripLiterals(FEditText)).value_or(TRangeType());
    ApplyMask();
    if (FRangeLo == FRangeHi)
        DefaultRange(FieldType(FNumericType), FRangeLo, FRangeHi);
    TOvcPictureBase::CreateWnd();
    if (Designing())
        return;
    if (Saved)
        FEditText = RawToEditText(*Saved);
    else
        WriteInitialValue();
    FValueLoaded = true;
}

void TOvcCustomNumericField::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    LoadDigits();
    CaretToEnd();
    PlaceCaret(false);
}

void TOvcCustomNumericField::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    if (!FState.Contains(esLeftForm))
        FDigits.clear();
}
