// controls/entry/ovcef.cpp: the entry field's data: construction, options and their rules,
// ranges as texts, value access, validation with its posted error report, and window creation.
#include "controls/entry/ovcef.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcmsgs.h"
#include "controls/entry/ovcsrmgr.h"
#include "controls/entry/ovcstr.h"
#include "controls/entry/ovcuser.h"
#include "platform/ui/cursors.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"
#include "platform/ui/windowstyles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t MaxFieldText = 255;
const char MaskCharacters[] = "!#123456789ABDEHKLMNOSXYabdhilmnstxy";

bool IsIntegerType(Byte T)
{
    return T >= fidLongInt && T <= fidShortInt;
}

// Cuts Text to Max bytes without splitting a UTF-8 character at the cut.
std::string CutText(const std::string& Text, std::size_t Max)
{
    if (Text.size() <= Max)
        return Text;
    std::size_t N = Max;
    std::size_t Back = 0;
    while (N > 0 && Back < 3 && (static_cast<Byte>(Text[N]) & 0xC0) == 0x80) {
        --N;
        ++Back;
    }
    if (Back > 0 && static_cast<Byte>(Text[N]) < 0xC0)
        N = Max; // not a character's lead byte: invalid bytes are cut where they stand
    return Text.substr(0, N);
}

// Sets a state flag for the life of one scope.
class TStateGuard {
public:
    template <class TSetType, class TFlag>
    TStateGuard(TSetType& Set, TFlag Flag) : FRestore([&Set, Flag] { Set.Exclude(Flag); })
    {
        Set.Include(Flag);
    }
    ~TStateGuard() { FRestore(); }
    TStateGuard(const TStateGuard&) = delete;
    TStateGuard& operator=(const TStateGuard&) = delete;

private:
    std::function<void()> FRestore;
};

} // namespace

TOvcEntryFieldOptions DefaultEntryFieldOptions()
{
    return {efoCaretToEnd, efoTrimBlanks};
}

Word EntryFieldOptionsToWord(TOvcEntryFieldOptions Options)
{
    return static_cast<Word>(Options.Bits());
}

TOvcEntryFieldOptions EntryFieldOptionsFromWord(Word Value)
{
    return TOvcEntryFieldOptions::FromBits(Value & 0x0FFFu);
}

TOvcBaseEntryField::TOvcBaseEntryField(TComponent* AOwner)
    : TOvcCustomControlEx(AOwner), FBorders(std::make_unique<TOvcBorders>()),
      FEFColors(std::make_unique<TOvcEfColors>()), FIntlSup(&OvcIntlSup()),
      FOptions(DefaultEntryFieldOptions()), FUserData(&OvcUserData),
      FCaretPair(std::make_unique<TOvcCaretPair>(this))
{
    SetBounds(Left(), Top(), 130, 25);
    FAutoSize = true;
    SetTabStop(true);
    SetCursor(crIBeam);
    SetParentColor(false);
    SetColor(clWindow);
    const auto BorderChanged = [this](TObject*) {
        if (FBorders->AnyEnabled()) {
            FBorderStyle = bsNone;
            SetCtl3D(false);
            if (HandleAllocated())
                RecreateWnd();
        }
        ComputeTextTop();
        Invalidate();
    };
    for (TOvcBorder* B : {FBorders->LeftBorder(), FBorders->RightBorder(), FBorders->TopBorder(),
                          FBorders->BottomBorder()})
        B->OnChange = BorderChanged;
    for (TOvcColors* C : {FEFColors->Disabled(), FEFColors->Error(), FEFColors->Highlight()})
        C->OnColorChange = [this] { Invalidate(); };
}

TOvcBaseEntryField::~TOvcBaseEntryField()
{
    // The focus leaves first; a field being destroyed is not validated any more.
    Destroying();
    if (HandleAllocated() && GetFocus() == Handle()) {
        if (TCustomForm* Form = GetParentForm(this); Form != nullptr && Form->HandleAllocated())
            ::SetFocus(Form->Handle());
        else
            ::SetFocus(0);
    }
    FCaretPair.reset();
    FEFColors.reset();
    FBorders.reset();
    FSavedEditText.reset();
}

// Value access ---------------------------------------------------------------------------------

Word TOvcBaseEntryField::ReadValue(void* Data)
{
    TStateGuard InRead(FState, esInRead);
    const Word Code = CheckEditText();
    if (Code != 0)
        return Code;
    if (DataType() > fidLastType)
        throw EOvcException(LibraryString(30188));
    TransferValue(Data, 1);
    return 0;
}

void TOvcBaseEntryField::WriteValue(const void* Data)
{
    if (FState.Contains(esInUserValidation))
        return;
    HandleNeeded();
    TStateGuard InWrite(FState, esInWrite);
    if (DataType() > fidLastType)
        throw EOvcException(LibraryString(30188));
    TransferValue(const_cast<void*>(Data), 2);
}

std::int32_t TOvcBaseEntryField::GetIntegerValue()
{
    const Byte T = DataType();
    if (!IsIntegerType(T))
        throw EInvalidDataType();
    alignas(8) Byte Buffer[16] = {};
    FLastError = ReadValue(Buffer);
    if (FLastError != 0)
        return 0;
    switch (T) {
    case fidWord: {
        std::uint16_t V = 0;
        std::memcpy(&V, Buffer, sizeof V);
        return V;
    }
    case fidSmallInt: {
        std::int16_t V = 0;
        std::memcpy(&V, Buffer, sizeof V);
        return V;
    }
    case fidByte:
        return Buffer[0];
    case fidShortInt:
        return static_cast<std::int8_t>(Buffer[0]);
    default: {
        std::int32_t V = 0;
        std::memcpy(&V, Buffer, sizeof V);
        return V;
    }
    }
}

void TOvcBaseEntryField::SetIntegerValue(std::int32_t Value)
{
    const Byte T = DataType();
    if (!IsIntegerType(T))
        throw EInvalidDataType();
    alignas(8) Byte Buffer[16] = {};
    if (T == fidWord || T == fidSmallInt) {
        const auto V = static_cast<std::uint16_t>(Value);
        std::memcpy(Buffer, &V, sizeof V);
    } else if (T == fidByte || T == fidShortInt)
        Buffer[0] = static_cast<Byte>(Value);
    else
        std::memcpy(Buffer, &Value, sizeof Value);
    WriteValue(Buffer);
}

void TOvcBaseEntryField::AssignFromString(const std::string& Text)
{
    if (FState.Contains(esInUserValidation))
        return;
    const Byte T = DataType();
    alignas(16) Byte Buffer[MaxFieldText + 1] = {};
    if (T == fidString) {
        const std::string S = CutText(Text, MaxFieldText);
        std::memcpy(Buffer, S.data(), S.size());
        WriteValue(Buffer);
        return;
    }
    if (T == fidBoolean || T == fidYesNo) {
        const char C = Text.empty() ? '\0' : CharUpperOne(Text[0]);
        Buffer[0] = C != '\0' && (C == FIntlSup->TrueChar() || C == FIntlSup->YesChar()) ? 1 : 0;
        WriteValue(Buffer);
        return;
    }
    const std::optional<TRangeType> Raw = RangeTextToRaw(T, Text, FPicture, Epoch(), *FIntlSup);
    if (!Raw)
        throw EEntryFieldError(LibraryString(30180));
    const long double X = Raw->AsExtended();
    switch (T) {
    case fidChar:
        Buffer[0] = Raw->Bytes[0];
        break;
    case fidReal: {
        const double V = Raw->AsReal();
        std::memcpy(Buffer, &V, sizeof V);
        break;
    }
    case fidExtended:
        std::memcpy(Buffer, Raw->Bytes.data(), Raw->Bytes.size());
        break;
    case fidDouble: {
        const double V = static_cast<double>(X);
        std::memcpy(Buffer, &V, sizeof V);
        break;
    }
    case fidSingle: {
        const float V = static_cast<float>(X);
        std::memcpy(Buffer, &V, sizeof V);
        break;
    }
    case fidComp: {
        const std::int64_t V = static_cast<std::int64_t>(std::llround(X));
        std::memcpy(Buffer, &V, sizeof V);
        break;
    }
    default: { // the integer types, Date and Time: the low bytes of the 32-bit value
        const std::int32_t V = Raw->AsLong();
        std::memcpy(Buffer, &V, sizeof V);
        break;
    }
    }
    WriteValue(Buffer);
}

// Ranges ---------------------------------------------------------------------------------------

std::string TOvcBaseEntryField::RangeHi() const
{
    return RawToRangeText(FType, FRangeHi, FPicture, FDecimalPlaces, FMaxLength, *FIntlSup);
}

std::string TOvcBaseEntryField::RangeLo() const
{
    return RawToRangeText(FType, FRangeLo, FPicture, FDecimalPlaces, FMaxLength, *FIntlSup);
}

namespace {

// A range text as the raw limit of the field's type; EInvalidRangeValue when it does not convert.
TRangeType ConvertRangeText(Byte T, const std::string& Text, const std::string& Mask, int Epoch,
                            const TOvcIntlSup& Intl)
{
    const std::optional<TRangeType> Raw = RangeTextToRaw(T, Text, Mask, Epoch, Intl);
    if (!Raw)
        throw EInvalidRangeValue(T, T == fidDate   ? Intl.DatePicture(true)
                                    : T == fidTime ? Intl.TimePicture(false)
                                                   : std::string());
    return *Raw;
}

} // namespace

void TOvcBaseEntryField::SetRangeHi(const std::string& Value)
{
    if (!Loading())
        FRangeHi = ConvertRangeText(DataType(), Value, FPicture, Epoch(), *FIntlSup);
}

void TOvcBaseEntryField::SetRangeLo(const std::string& Value)
{
    if (!Loading())
        FRangeLo = ConvertRangeText(DataType(), Value, FPicture, Epoch(), *FIntlSup);
}

// Properties -----------------------------------------------------------------------------------

Word TOvcBaseEntryField::DataSize()
{
    if (FDataSize == 0) {
        int Length = FMaxLength;
        if (FFieldClass == fcPicture && DataType() == fidString &&
            FOptions.Contains(efoStripLiterals)) {
            const std::size_t Used = std::min<std::size_t>(FPicture.size(), FMaxLength);
            for (std::size_t I = 0; I < Used; ++I)
                if (std::strchr(MaskCharacters, FPicture[I]) == nullptr)
                    --Length;
        }
        FDataSize = DataSizeOf(FType, Length);
    }
    return FDataSize;
}

bool TOvcBaseEntryField::Modified() const
{
    return FState.Contains(esModified);
}

void TOvcBaseEntryField::SetModified(bool Value)
{
    if (Value) {
        FState.Include(esModified);
        FState.Include(esEverModified);
    } else
        FState.Exclude(esModified);
}

int TOvcBaseEntryField::Epoch()
{
    int Result = FEpoch;
    if (OnGetEpoch)
        OnGetEpoch(this, Result);
    if (Result == 0 && Controller() != nullptr)
        Result = Controller()->GetEpoch();
    return Result;
}

void TOvcBaseEntryField::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    if (!Loading())
        AdjustHeight();
}

void TOvcBaseEntryField::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TOvcBaseEntryField::SetControlCharColor(TColor Value)
{
    if (FCtrlColor == Value)
        return;
    FCtrlColor = Value;
    Invalidate();
}

void TOvcBaseEntryField::SetDecimalPlaces(Byte Value)
{
    if (FDecimalPlaces == Value)
        return;
    FDecimalPlaces = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TOvcBaseEntryField::SetIntlSupport(TOvcIntlSup* Value)
{
    FIntlSup = Value != nullptr ? Value : &OvcIntlSup();
    Invalidate();
}

void TOvcBaseEntryField::SetMaxLength(Word Value)
{
    if (Loading()) {
        FMaxLength = Value;
        return;
    }
    if (Value < 1 || Value > MaxFieldText || Value < FPictureLen || Value == FMaxLength)
        return;
    FMaxLength = Value;
    FEditText = CutText(FEditText, FMaxLength);
    FDataSize = 0;
    if (HandleAllocated())
        RecreateWnd();
}

void TOvcBaseEntryField::SetOptions(TOvcEntryFieldOptions Value)
{
    if (Value.Contains(efoForceInsert))
        Value.Exclude(efoForceOvertype);
    if (Value.Contains(efoRightJustify) && DataType() == fidString)
        Value.Include(efoTrimBlanks);
    FOptions = Value;
    if (FOptions.Contains(efoRightAlign))
        PlaceCaret(true);
    if (FFieldClass == fcPicture && DataType() == fidString && !FOptions.Contains(efoTrimBlanks))
        FOptions.Exclude(efoRightJustify);
    FDataSize = 0;
    AdjustOptions();
    Invalidate();
}

void TOvcBaseEntryField::SetPadChar(char Value)
{
    if (FPadChar == Value)
        return;
    FPadChar = Value;
    Invalidate();
}

void TOvcBaseEntryField::SetPasswordChar(char Value)
{
    if (FPasswordChar == Value)
        return;
    FPasswordChar = Value;
    Invalidate();
}

void TOvcBaseEntryField::SetTextMargin(int Value)
{
    if (Value < 2 || Value == FTextMargin)
        return;
    FTextMargin = Value;
    Invalidate();
}

void TOvcBaseEntryField::SetUninitialized(bool Value)
{
    FUninitialized = Value;
    AdjustOptions();
    Invalidate();
}

void TOvcBaseEntryField::SetUserData(TOvcUserData* Value)
{
    FUserData = Value != nullptr ? Value : &OvcUserData;
    Invalidate();
}

void TOvcBaseEntryField::SetZeroDisplay(TZeroDisplay Value)
{
    if (FZeroDisplay == Value)
        return;
    FZeroDisplay = Value;
    Invalidate();
}

void TOvcBaseEntryField::SetZeroDisplayValue(double Value)
{
    if (FZeroDisplayValue == Value)
        return;
    FZeroDisplayValue = Value;
    Invalidate();
}

TOvcCaret* TOvcBaseEntryField::CaretIns() const
{
    return FCaretPair->InsertCaret();
}

TOvcCaret* TOvcBaseEntryField::CaretOvr() const
{
    return FCaretPair->OverwriteCaret();
}

bool TOvcBaseEntryField::InsertMode() const
{
    return FState.Contains(esInsertMode);
}

void TOvcBaseEntryField::AdjustOptions()
{
    const Byte T = DataType();
    const bool Character = T == fidChar || T == fidBoolean || T == fidYesNo;
    const bool Number = T >= fidLongInt && T <= fidComp;
    const TOvcEntryFieldOptions CharacterRule = {efoCaretToEnd, efoForceInsert, efoTrimBlanks,
                                                 efoRightJustify, efoStripLiterals};
    TOvcEntryFieldOptions Removed;
    switch (FFieldClass) {
    case fcSimple:
        if (T == fidString)
            Removed = {efoRightJustify, efoStripLiterals};
        else if (Character)
            Removed = CharacterRule;
        else if (Number)
            Removed = {efoTrimBlanks, efoRightJustify, efoStripLiterals};
        break;
    case fcPicture:
        if (Character)
            Removed = CharacterRule;
        else if (Number)
            Removed = {efoTrimBlanks, efoStripLiterals};
        else if (T == fidDate || T == fidTime)
            Removed = {efoTrimBlanks, efoRightJustify, efoStripLiterals};
        break;
    case fcNumeric:
        Removed = CharacterRule;
        Removed.Include(efoRightAlign);
        break;
    default:
        break;
    }
    FOptions -= Removed;
}

// Validation -----------------------------------------------------------------------------------

bool TOvcBaseEntryField::ValidateContents(bool ReportError)
{
    if (!Visible() || !Enabled())
        return true;
    HandleNeeded();
    FLastError = 0;
    if (FOptions.Contains(efoInputRequired) && !IsReadOnly() &&
        (IsEmpty() || (FUninitialized && !Modified())))
        FLastError = oeRequiredField;
    else {
        TStateGuard Validating(FState, esValidating);
        FLastError = CheckEditText();
    }
    if (FCaretPos > static_cast<int>(FEditText.size()))
        CaretToEnd();
    if (FLastError == 0) {
        FState.Exclude(esErrorState);
        return true;
    }
    if (ReportError && FOptions.Contains(efoSoftValidation)) {
        FState.Include(esErrorState);
        Invalidate();
        return true;
    }
    if (FOptions.Contains(efoSoftValidation))
        FState.Include(esErrorState);
    FState.Include(esErrorPosted);
    if (FState.Contains(esFocused))
        FState.Include(esLeftForm);
    if (TOvcController* C = Controller(); C != nullptr) {
        PostMessage(C->Handle(), OM_SHOWANDFOCUS, 0,
                    reinterpret_cast<LPARAM>(static_cast<TWinControl*>(this)));
        if (!C->ErrorPending())
            PostMessage(Handle(), OM_REPORTERROR, FLastError, 0);
        C->SetErrorPending(true);
    }
    return false;
}

void TOvcBaseEntryField::OMReportError(TMessage& Message)
{
    const Word Code = static_cast<Word>(Message.WParam);
    if (Code == 0)
        return;
    TOvcController* C = Controller();
    std::string Text;
    if (Code >= oeRangeError && Code <= oePartialEntry)
        Text = LibraryString(static_cast<std::uint16_t>(30179 + (Code - oeRangeError)));
    else if (Code >= oeCustomError)
        Text = C != nullptr ? C->LastErrorText() : std::string();
    else
        Text = LibraryString(30278);
    if (C != nullptr && C->LastErrorText() != Text)
        C->SetLastErrorText(Text);
    DoOnError(Code, Text);
    if (HandleAllocated())
        PostMessage(Handle(), OM_ERRORREPORTED, 0, 0);
}

Word TOvcBaseEntryField::Revalidate(bool Post)
{
    if (!Enabled())
        return FLastError;
    const bool WasError = FState.Contains(esErrorState);
    FLastError = 0;
    if (FOptions.Contains(efoInputRequired) && !IsReadOnly() &&
        (IsEmpty() || (FUninitialized && !Modified())))
        FLastError = oeRequiredField;
    else {
        TStateGuard Validating(FState, esValidating);
        FLastError = CheckEditText();
    }
    if (Post && FLastError != 0 && HandleAllocated())
        PostMessage(Handle(), OM_REPORTERROR, FLastError, 0);
    if (FLastError == 0)
        FState.Exclude(esErrorState);
    else if (FOptions.Contains(efoSoftValidation))
        FState.Include(esErrorState);
    if (WasError != FState.Contains(esErrorState))
        Invalidate();
    return FLastError;
}

// Operations -----------------------------------------------------------------------------------

Word TOvcBaseEntryField::TransferValue(void*, int Mode)
{
    if (Mode == 0 || Designing())
        return DataSize();
    if (Mode == 2 && !FState.Contains(esValidating)) {
        FState.Exclude(esLeftForm);
        if (FState.Contains(esFocused)) {
            PlaceCaretOnEntry();
            PlaceCaret(true);
            if (!FState.Contains(esInRead))
                SelectAll();
        } else
            FState.Exclude(esErrorState);
        FState.Exclude(esModified);
        FState.Exclude(esEverModified);
        Invalidate();
    }
    return DataSize();
}

void TOvcBaseEntryField::CaretToEnd()
{
    FCaretPos = static_cast<int>(FEditText.size());
}

void TOvcBaseEntryField::CaretToStart()
{
    FCaretPos = 0;
    FHOffset = 0;
}

bool TOvcBaseEntryField::IsEmpty()
{
    return FEditText.find_first_not_of(' ') == std::string::npos;
}

void TOvcBaseEntryField::PlaceCaretOnEntry()
{
    if (FOptions.Contains(efoCaretToEnd))
        CaretToEnd();
    else
        CaretToStart();
}

void TOvcBaseEntryField::SetCaretPosition(int Pos)
{
    if (!FState.Contains(esFocused))
        return;
    FCaretPos = std::clamp(Pos, 0, static_cast<int>(FEditText.size()));
    PlaceCaret(true);
}

void TOvcBaseEntryField::SetSelection(int Start, int End)
{
    if (End < Start)
        return;
    const int Length = static_cast<int>(FEditText.size());
    Start = std::clamp(Start, 0, Length);
    End = std::clamp(End, 0, Length);
    if (FState.Contains(esNumericClass) && Start != End) {
        Start = 0;
        End = Length;
    }
    FSelStart = Start;
    FSelEnd = End;
    Invalidate();
}

int TOvcBaseEntryField::ClippedSelEnd() const
{
    return std::min(FSelEnd, static_cast<int>(FEditText.size()));
}

void TOvcBaseEntryField::StepValueUp(bool Wrap, double Delta)
{
    StepValue(Wrap, Delta);
    FSelStart = FSelEnd = 0;
    Invalidate();
}

void TOvcBaseEntryField::StepValueDown(bool Wrap, double Delta)
{
    StepValue(Wrap, -Delta);
    FSelStart = FSelEnd = 0;
    Invalidate();
}

void TOvcBaseEntryField::MoveCaret(int Count)
{
    if (!FState.Contains(esFocused))
        return;
    TMessage Msg{};
    const Word Cmd = Count >= 0 ? ccRight : ccLeft;
    for (int I = 0; I < std::abs(Count); ++I)
        DoCommand(Msg, Cmd);
}

void TOvcBaseEntryField::DoOnChange()
{
    if (!FState.Contains(esInWrite) && OnChange)
        OnChange(this);
}

void TOvcBaseEntryField::DoOnError(Word ErrorCode, const std::string& ErrorMsg)
{
    if (OnError)
        OnError(this, ErrorCode, ErrorMsg);
    else if (Controller() != nullptr)
        Controller()->ReportError(this, ErrorCode, ErrorMsg);
}

void TOvcBaseEntryField::DoOnUserCommand(Word Command)
{
    if (OnUserCommand)
        OnUserCommand(this, Command);
}

void TOvcBaseEntryField::DoOnUserValidation(Word& ErrorCode)
{
    if (FState.Contains(esUserValidationOff) || !OnUserValidation)
        return;
    TStateGuard InUserValidation(FState, esInUserValidation);
    OnUserValidation(this, ErrorCode);
}

void TOvcBaseEntryField::DoRestore()
{
    RestoreSavedText();
    PlaceCaretOnEntry();
    PlaceCaret(true);
    Invalidate();
}

void TOvcBaseEntryField::SetPicture(const std::string& Mask)
{
    FPicture = Mask.substr(0, MaxFieldText);
    FPictureLen = static_cast<Word>(FPicture.size());
    FDataSize = 0;
    MarkMaskFlags();
    Invalidate();
}

std::string TOvcBaseEntryField::GetDesignText()
{
    return FPicture;
}

void TOvcBaseEntryField::MoveToNextControl()
{
    if (TCustomForm* Form = GetParentForm(this))
        Form->SelectNext(this, true, true);
}

void TOvcBaseEntryField::MoveToPreviousControl()
{
    if (TCustomForm* Form = GetParentForm(this))
        Form->SelectNext(this, false, true);
}

void TOvcBaseEntryField::GetStrippedText(std::string& Text)
{
    Text = FEditText;
}

void TOvcBaseEntryField::SetEditText(const std::string& Text)
{
    FEditText = CutText(Text, std::min<std::size_t>(FMaxLength, MaxFieldText));
    FCaretPos = std::min(FCaretPos, static_cast<int>(FEditText.size()));
    FSelStart = std::min(FSelStart, static_cast<int>(FEditText.size()));
    FSelEnd = std::min(FSelEnd, static_cast<int>(FEditText.size()));
    Invalidate();
}

void TOvcBaseEntryField::RestoreSavedText()
{
    if (FSavedEditText)
        SetEditText(*FSavedEditText);
}

void TOvcBaseEntryField::MarkMaskFlags()
{
    const auto Mark = [this](TEntryState Flag, char C) {
        if (FPicture.find(C) != std::string::npos)
            FState.Include(Flag);
        else
            FState.Exclude(Flag);
    };
    Mark(esHexMask, 'K');
    Mark(esOctalMask, 'O');
    Mark(esBinaryMask, 'b');
}

void TOvcBaseEntryField::ErrorBeep()
{
    if (Controller() != nullptr && Controller()->EntryOptions().Contains(efoBeepOnError))
        MessageBeep(0);
}

// Window ---------------------------------------------------------------------------------------

void TOvcBaseEntryField::CreateParams(TCreateParams& Params)
{
    TOvcCustomControlEx::CreateParams(Params);
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TOvcBaseEntryField::CreateWnd()
{
    TOvcCustomControlEx::CreateWnd();
    FState = TEntryStates{esInsertMode, esKeyNotCommand};
    if (FFieldClass == fcNumeric)
        FState.Include(esNumericClass);
    FHOffset = 0;
    FCaretPos = 0;
    FSelStart = FSelEnd = 0;
    FDataSize = 0;
    DataSize();
    MarkMaskFlags();
    if (FRangeLo == FRangeHi)
        DefaultRange(FType, FRangeLo, FRangeHi);
    AdjustOptions();
    const Byte T = DataType();
    if (FOptions.Contains(efoInputRequired) && T >= fidChar && T <= fidComp)
        FUninitialized = true;
    Canvas()->Font()->Assign(Font());
    AdjustHeight();
    ComputeTextTop();
    // A recreated window keeps the text it had.
    if (FFieldClass != fcNumeric && !FValueLoaded) {
        WriteInitialValue();
        FValueLoaded = true;
    }
}

void TOvcBaseEntryField::WriteInitialValue()
{
    if (Designing())
        return;
    alignas(16) Byte Buffer[MaxFieldText + 1] = {};
    const Byte T = DataType();
    if (T == fidChar) {
        const Byte Lo = FRangeLo.Bytes[0];
        const Byte Hi = FRangeHi.Bytes[0];
        Buffer[0] = Lo > ' ' || Hi < ' ' ? Lo : ' ';
    } else if (IsIntegerType(T)) {
        const std::int32_t Lo = FRangeLo.AsLong();
        const std::int32_t Hi = FRangeHi.AsLong();
        const std::int32_t V = Lo > 0 || Hi < 0 ? Lo : 0;
        std::memcpy(Buffer, &V, sizeof V); // little-endian: the low bytes are the narrow value
    } else if (T == fidReal) {
        const double Lo = FRangeLo.AsReal();
        const double Hi = FRangeHi.AsReal();
        const double V = Lo > 0 || Hi < 0 ? Lo : 0;
        std::memcpy(Buffer, &V, sizeof V);
    } else if (T >= fidExtended && T <= fidComp) {
        const long double Lo = FRangeLo.AsExtended();
        const long double Hi = FRangeHi.AsExtended();
        const long double V = Lo > 0 || Hi < 0 ? Lo : 0;
        if (T == fidExtended)
            std::memcpy(Buffer, TRangeType::FromExtended(V).Bytes.data(), 10);
        else if (T == fidDouble) {
            const double D = static_cast<double>(V);
            std::memcpy(Buffer, &D, sizeof D);
        } else if (T == fidSingle) {
            const float F = static_cast<float>(V);
            std::memcpy(Buffer, &F, sizeof F);
        } else {
            const std::int64_t C = static_cast<std::int64_t>(std::llround(V));
            std::memcpy(Buffer, &C, sizeof C);
        }
    } else if (T == fidDate || T == fidTime) {
        const std::int32_t None = -1;
        std::memcpy(Buffer, &None, sizeof None);
    }
    TransferValue(Buffer, 2);
}

void TOvcBaseEntryField::DestroyWnd()
{
    FCaretPair->SetLinked(false);
    TOvcCustomControlEx::DestroyWnd();
}

void TOvcBaseEntryField::SetName(const std::string& NewName)
{
    TOvcCustomControlEx::SetName(NewName);
    Invalidate();
}

void TOvcBaseEntryField::OMGetDataSize(TMessage& Message)
{
    Message.Result = DataSize();
}
