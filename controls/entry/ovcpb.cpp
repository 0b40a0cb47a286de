// controls/entry/ovcpb.cpp: TOvcPictureBase (see the header).
#include "controls/entry/ovcpb.h"

#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcuser.h"
#include "platform/ui/messages.h"

#include <algorithm>

const TMessageMap& TOvcPictureBase::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcPictureBase::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TOvcPictureBase::WMKillFocus>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TOvcBaseEntryField::ClassMessageMap};
    return Map;
}

TOvcPictureBase::TOvcPictureBase(TComponent* AOwner) : TOvcBaseEntryField(AOwner)
{
    FFieldClass = fcPicture;
    FType = static_cast<Byte>(fsubPicture) | static_cast<Byte>(fidString);
    RebuildLiteralMap();
}

bool TOvcPictureBase::IsFloatType() const
{
    const Byte T = FType & fsubTypeMask;
    return T >= fidReal && T <= fidComp;
}

const TOvcIntlSup& TOvcPictureBase::Intl() const
{
    return FIntlSup != nullptr ? *FIntlSup : OvcIntlSup();
}

const TOvcUserData& TOvcPictureBase::User() const
{
    return FUserData != nullptr ? *FUserData : OvcUserData;
}

void TOvcPictureBase::RebuildLiteralMap()
{
    FLayout = TOvcPictureMask(FPicture, FMaxLength, FFieldClass == fcNumeric, IsFloatType(),
                              FDecimalPlaces);
    if (FLayout.AllMask())
        FState.Include(esAllMask);
    else
        FState.Exclude(esAllMask);
    if (IsFloatType())
        FState.Include(esFloatMask);
    else
        FState.Exclude(esFloatMask);
    const bool HasLiterals = std::find(FLayout.LiteralMap().begin(), FLayout.LiteralMap().end(),
                                       lmLiteral) != FLayout.LiteralMap().end();
    if (HasLiterals) {
        FOptions.Exclude(efoRightJustify);
        FOptions.Exclude(efoTrimBlanks);
    }
}

std::string TOvcPictureBase::FormatIntoMask(const std::string& Text) const
{
    return FLayout.FormatIntoMask(Text, FOptions.Contains(efoRightJustify), Intl(), User());
}

std::string TOvcPictureBase::StripLiterals(const std::string& Text) const
{
    return FLayout.StripLiterals(Text, Intl());
}

bool TOvcPictureBase::ValidateContents(bool ReportError)
{
    AlignDecimals();
    return TOvcBaseEntryField::ValidateContents(ReportError);
}

void TOvcPictureBase::CaretToEnd()
{
    const int Last = FLayout.LastEditPosition();
    int Pos = 0;
    for (int I = 0; I < static_cast<int>(FEditText.size()) && I <= Last; ++I)
        if (FLayout.IsMaskPosition(I) && FEditText[static_cast<std::size_t>(I)] != ' ')
            Pos = I + 1;
    while (Pos < Last && !FLayout.IsMaskPosition(Pos))
        ++Pos;
    FCaretPos = std::max(Pos, static_cast<int>(FirstEditPosition()));
}

void TOvcPictureBase::CaretToStart()
{
    FCaretPos = FirstEditPosition();
    FHOffset = 0;
}

Word TOvcPictureBase::FirstEditPosition()
{
    return static_cast<Word>(FLayout.FirstEditPosition());
}

bool TOvcPictureBase::IsEmpty()
{
    return FLayout.IsBlank(FEditText);
}

std::string TOvcPictureBase::GetDisplayText(int Size)
{
    const std::size_t Max = static_cast<std::size_t>(std::clamp(Size, 0, 255));
    if (FUninitialized && !FState.Contains(esFocused))
        return std::string(std::min<std::size_t>(FMaxLength, Max), ' ');
    std::string Text = TOvcBaseEntryField::GetDisplayText(Size);
    const bool Password = FOptions.Contains(efoPasswordMode);
    if (Password || FPadChar != ' ')
        Text = FLayout.PadAndMask(Text, FPadChar, Password, FPasswordChar);
    return Text;
}

void TOvcPictureBase::SetCaretPosition(int Pos)
{
    if (!FState.Contains(esFocused))
        return;
    const int First = FirstEditPosition();
    const int Last = FLayout.LastEditPosition();
    if (Pos < First) {
        Pos = First;
    } else if (Pos > Last) {
        Pos = Last + 1;
    } else {
        while (Pos > First && !FLayout.IsMaskPosition(Pos))
            --Pos;
    }
    FCaretPos = std::min(Pos, static_cast<int>(FEditText.size()));
    PlaceCaret(true);
}

void TOvcPictureBase::SetPicture(const std::string& Mask)
{
    std::string Used;
    for (char C : Mask)
        if (FFieldClass == fcNumeric || (C != 'p' && C != 'g'))
            Used += C;
    if (Used.empty())
        Used.assign(1, 'X');
    TOvcBaseEntryField::SetPicture(Used);
    const auto Signs = std::count_if(FPicture.begin(), FPicture.end(),
                                     [](char C) { return C == 'p' || C == 'g'; });
    FMaxLength = static_cast<Word>(std::max<std::ptrdiff_t>(
        1, static_cast<std::ptrdiff_t>(FPicture.size()) - (FFieldClass == fcNumeric ? Signs : 0)));
    RebuildLiteralMap();
}

void TOvcPictureBase::GetStrippedText(std::string& Text)
{
    Text = StripLiterals(FEditText);
}

void TOvcPictureBase::SetEditText(const std::string& Text)
{
    if (static_cast<int>(Text.size()) == FMaxLength)
        TOvcBaseEntryField::SetEditText(Text);
    else
        TOvcBaseEntryField::SetEditText(FormatIntoMask(Text));
}

Word TOvcPictureBase::Revalidate(bool Post)
{
    AlignDecimals();
    return TOvcBaseEntryField::Revalidate(Post);
}

void TOvcPictureBase::PrepareTextForEdit()
{
    if (FState.Contains(esPrepared))
        return;
    if (FLayout.SemiLiteralCount() == 0)
        return;
    // Take the floating currency and the separators out of the semi-literal positions: the
    // characters left of the first edit position move right to fill them.
    const std::string Currency = Intl().CurrencyLeft();
    std::string Kept;
    const int First = FirstEditPosition();
    std::vector<int> Semi;
    for (int I = 0; I < static_cast<int>(FEditText.size()); ++I) {
        if (FLayout.MapAt(I) != lmSemiLiteral && FLayout.MapAt(I) != lmMask)
            continue;
        const char C = FEditText[static_cast<std::size_t>(I)];
        if (C == Intl().CommaChar() || Currency.find(C) != std::string::npos)
            continue;
        Kept += C;
    }
    std::string Text = FEditText;
    int K = static_cast<int>(Kept.size()) - 1;
    for (int I = static_cast<int>(Text.size()) - 1; I >= 0; --I) {
        const Byte M = FLayout.MapAt(I);
        if (M == lmLiteral)
            continue;
        Text[static_cast<std::size_t>(I)] =
            I >= First && K >= 0 ? Kept[static_cast<std::size_t>(K--)] : ' ';
    }
    FEditText = Text;
    FState.Include(esPrepared);
}

void TOvcPictureBase::AlignDecimals()
{
    if (FFieldClass == fcNumeric || FLayout.DotPos() < 0 || !FState.Contains(esModified))
        return;
    const int Dot = FLayout.DotPos();
    std::string Digits;
    for (int I = 0; I < Dot; ++I)
        if (FLayout.IsMaskPosition(I) && FEditText[static_cast<std::size_t>(I)] != ' ')
            Digits += FEditText[static_cast<std::size_t>(I)];
    int K = static_cast<int>(Digits.size()) - 1;
    for (int I = Dot - 1; I >= 0; --I)
        if (FLayout.IsMaskPosition(I))
            FEditText[static_cast<std::size_t>(I)] =
                K >= 0 ? Digits[static_cast<std::size_t>(K--)] : ' ';
    if (Dot > 0 && FEditText[static_cast<std::size_t>(Dot - 1)] == ' ')
        FEditText[static_cast<std::size_t>(Dot - 1)] = '0';
    for (int I = Dot + 1; I < static_cast<int>(FEditText.size()); ++I)
        if (FLayout.IsMaskPosition(I) && FEditText[static_cast<std::size_t>(I)] == ' ')
            FEditText[static_cast<std::size_t>(I)] = '0';
}

void TOvcPictureBase::WMSetFocus(TMessage& Message)
{
    RebuildLiteralMap();
    Inherited(Message);
}

void TOvcPictureBase::WMKillFocus(TMessage& Message)
{
    AlignDecimals();
    Inherited(Message);
    if (!FState.Contains(esLeftForm) && FState.Contains(esPrepared)) {
        FEditText = FormatIntoMask(StripLiterals(FEditText));
        FState.Exclude(esPrepared);
        Invalidate();
    }
}
