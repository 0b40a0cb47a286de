// controls/entry/ovcef.h: TOvcBaseEntryField, the single-line data-entry control: the text
// being edited, the typed value it stands for (sixteen data types), its range, conversions
// between text and value, validation on leaving the field with a posted error report, and the
// keys, mouse, clipboard, context menu and painting all entry fields share. How a key changes
// the text is the descendant's edit engine (EditCommand).
#pragma once

#include "controls/entry/ovcbase.h"
#include "controls/entry/ovcbordr.h"
#include "controls/entry/ovccaret.h"
#include "controls/entry/ovccmd.h"
#include "controls/entry/ovccolor.h"
#include "platform/forms/form.h"
#include "platform/rtl/sets.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class TOvcIntlSup;
class TOvcUserData;
class TPopupMenu;

// Field classes (the class byte) and the type-code bits that combine them with a data type.
enum : Byte { fcSimple = 0, fcPicture = 1, fcNumeric = 2 };
enum : Byte { fsubPicture = 0x40, fsubNumeric = 0x80, fsubTypeMask = 0x3F };

// Data types of an entry field (the low six bits of the type code).
enum : Byte {
    fidString = 0,
    fidChar,
    fidBoolean,
    fidYesNo,
    fidLongInt,
    fidWord,
    fidSmallInt,
    fidByte,
    fidShortInt,
    fidReal,
    fidExtended,
    fidDouble,
    fidSingle,
    fidComp,
    fidDate,
    fidTime,
};
constexpr Byte fidLastType = fidTime;

// Validation and conversion error codes; codes from 32768 up are the application's own.
enum : Word {
    oeRangeError = 256,    // "Value is not within required range"
    oeInvalidNumber = 257, // "Value is not valid for this field type"
    oeRequiredField = 258, // "A value is required in this field"
    oeInvalidDate = 259,
    oeInvalidTime = 260,
    oeBlanksInField = 261,
    oePartialEntry = 262,
    oeCustomError = 32768,
};

// Commands the field adds to those of the command tables (ccChar, 249, is a typed character:
// its message's WParam holds the character code). ccPaste and a WM_SETTEXT's paste carry the
// text to insert as a NUL-terminated `const char*` in LParam.
enum : Word { ccMouse = 250, ccMouseMove = 251, ccDblClk = 253 };

enum TOvcEntryFieldOption {
    efoArrowIncDec,
    efoCaretToEnd,
    efoForceInsert,
    efoForceOvertype,
    efoInputRequired,
    efoPasswordMode,
    efoReadOnly,
    efoRightAlign,
    efoRightJustify,
    efoSoftValidation,
    efoStripLiterals,
    efoTrimBlanks,
};
using TOvcEntryFieldOptions = TSet<TOvcEntryFieldOption>;
// efoCaretToEnd and efoTrimBlanks (2050).
TOvcEntryFieldOptions DefaultEntryFieldOptions();
// The 16-bit value of a set of options, and back.
Word EntryFieldOptionsToWord(TOvcEntryFieldOptions Options);
TOvcEntryFieldOptions EntryFieldOptionsFromWord(Word Value);

enum TZeroDisplay { zdShow, zdHide, zdHideUntilModified };

// A raw range limit: ten bytes holding the type's range storage (8-bit character, 32-bit
// signed integer, 64-bit float for Real, 80-bit float for the other float types, day number,
// seconds), the rest zero. Stored as such in form files ("RangeHigh", "RangeLow").
struct TRangeType {
    std::array<Byte, 10> Bytes{};

    static TRangeType FromChar(char C);
    static TRangeType FromLong(std::int32_t V);
    static TRangeType FromReal(double V);
    static TRangeType FromExtended(long double V);
    char AsChar() const;
    std::int32_t AsLong() const;
    double AsReal() const;
    long double AsExtended() const;
    bool operator==(const TRangeType&) const = default;
};

// Range text to raw limit and back, for a data type and a picture mask (hexadecimal, octal
// or binary by 'K', 'O', 'b'; decimals by the mask's '.' or DecimalPlaces; date and time by
// the international pictures). From text: nullopt when the text does not convert or lies
// outside what the type holds. Epoch is used for two-digit years of dates.
std::optional<TRangeType> RangeTextToRaw(Byte DataType, const std::string& Text,
                                         const std::string& Mask, int Epoch,
                                         const TOvcIntlSup& Intl);
std::string RawToRangeText(Byte DataType, const TRangeType& Raw, const std::string& Mask,
                           int DecimalPlaces, int MaxLength, const TOvcIntlSup& Intl);
// The default limits of a data type (equal for String, Boolean and YesNo).
void DefaultRange(Byte DataType, TRangeType& Lo, TRangeType& Hi);
// The bytes a value of the data type takes (String: MaxLength + 1).
Word DataSizeOf(Byte DataType, int MaxLength);

using TValidationErrorEvent =
    std::function<void(TObject* Sender, Word ErrorCode, const std::string& ErrorMsg)>;
using TUserCommandEvent = std::function<void(TObject* Sender, Word Command)>;
using TUserValidationEvent = std::function<void(TObject* Sender, Word& ErrorCode)>;
using TFieldGetEpochEvent = std::function<void(TObject* Sender, int& Epoch)>;

class TOvcBaseEntryField : public TOvcCustomControlEx {
public:
    explicit TOvcBaseEntryField(TComponent* AOwner);
    ~TOvcBaseEntryField() override;

    // Value access: Data is a buffer of DataSize() bytes holding the typed value.
    Word ReadValue(void* Data);
    void WriteValue(const void* Data);
    // LongInt, Word, SmallInt, Byte and ShortInt only, else EInvalidDataType.
    std::int32_t GetIntegerValue();
    void SetIntegerValue(std::int32_t Value);
    virtual void AssignFromString(const std::string& Text);

    std::string RangeHi() const;
    void SetRangeHi(const std::string& Value);
    std::string RangeLo() const;
    void SetRangeLo(const std::string& Value);
    const TRangeType& RawRangeHi() const { return FRangeHi; }
    const TRangeType& RawRangeLo() const { return FRangeLo; }
    void SetRawRangeHi(const TRangeType& Value) { FRangeHi = Value; }
    void SetRawRangeLo(const TRangeType& Value) { FRangeLo = Value; }

    Word DataSize();
    Byte DataType() const { return FType & fsubTypeMask; }
    Byte FieldClass() const { return FFieldClass; }
    Byte TypeCode() const { return FType; }
    Word LastError() const { return FLastError; }
    bool Modified() const;
    void SetModified(bool Value);
    std::string GetEditText() const { return FEditText; }
    void SetSelection(int Start, int End);
    int SelectionLength() const { return FSelEnd - FSelStart; }
    int SelStart() const { return FSelStart; }
    int SelEnd() const { return FSelEnd; }
    int CaretPosition() const { return FCaretPos; }
    int HorizontalOffset() const { return FHOffset; }
    // The epoch two-digit years count from: own, OnGetEpoch's, else the controller's.
    int Epoch();
    void SetEpoch(int Value) { FEpoch = Value; }

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TOvcBorders* Borders() const { return FBorders.get(); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor ControlCharColor() const { return FCtrlColor; }
    void SetControlCharColor(TColor Value);
    Byte DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(Byte Value);
    TOvcEfColors* EFColors() const { return FEFColors.get(); }
    TOvcIntlSup* IntlSupport() const { return FIntlSup; }
    void SetIntlSupport(TOvcIntlSup* Value);
    Word MaxLength() const { return FMaxLength; }
    virtual void SetMaxLength(Word Value);
    TOvcEntryFieldOptions Options() const { return FOptions; }
    void SetOptions(TOvcEntryFieldOptions Value);
    char PadChar() const { return FPadChar; }
    void SetPadChar(char Value);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int Value);
    bool Uninitialized() const { return FUninitialized; }
    void SetUninitialized(bool Value);
    TOvcUserData* UserData() const { return FUserData; }
    void SetUserData(TOvcUserData* Value);
    TZeroDisplay ZeroDisplay() const { return FZeroDisplay; }
    void SetZeroDisplay(TZeroDisplay Value);
    double ZeroDisplayValue() const { return FZeroDisplayValue; }
    void SetZeroDisplayValue(double Value);
    TOvcCaretPair* CaretPair() const { return FCaretPair.get(); }
    TOvcCaret* CaretIns() const;
    TOvcCaret* CaretOvr() const;
    bool InsertMode() const;

    // Stepping for the spinner and the arrow keys: StepValue with +Delta or -Delta, without
    // redrawing meanwhile, then the selection cleared and the field repainted.
    void StepValueUp(bool Wrap, double Delta);
    void StepValueDown(bool Wrap, double Delta);
    // With the focus: ccRight Count times, or ccLeft -Count times.
    void MoveCaret(int Count);

    // Turns AutoSize off when the height changes outside loading.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetName(const std::string& NewName) override;

    // Virtual operations in slot order.
    virtual bool ValidateContents(bool ReportError);
    virtual void CaretToEnd();
    virtual void CaretToStart();
    virtual void EditCommand(TMessage& Msg, Word Cmd) = 0;
    virtual Word FirstEditPosition() { return 0; }
    virtual bool IsEmpty();
    // The text to draw (size limit Size, 255 at most).
    virtual std::string GetDisplayText(int Size = 255);
    virtual bool IsReadOnly() const { return FOptions.Contains(efoReadOnly); }
    virtual void AdjustOptions();
    virtual void PlaceCaretOnEntry();
    // Mode 0: the data size only; 1: the value into Data; 2: the value from Data. Returns
    // DataSize. Descendants convert first, then call this base.
    virtual Word TransferValue(void* Data, int Mode);
    virtual Word CheckEditText() = 0;
    virtual void SetCaretPosition(int Pos);

    // Dynamic operations.
    virtual void DoOnChange();
    virtual void DoOnError(Word ErrorCode, const std::string& ErrorMsg);
    virtual void DoOnUserCommand(Word Command);
    virtual void DoOnUserValidation(Word& ErrorCode);
    virtual void DoRestore();
    virtual void CutToClipboard();
    virtual void CopyToClipboard();
    virtual void PasteFromClipboard();
    virtual void ClearSelection();
    virtual void SelectAll();
    virtual void AdjustHeight();
    virtual void SetPicture(const std::string& Mask);
    virtual std::string GetDesignText();
    virtual void StepValue(bool Wrap, double Delta) = 0;
    virtual void MoveToNextControl();
    virtual void MoveToPreviousControl();
    virtual void PerformCut();
    virtual void GetStrippedText(std::string& Text);
    virtual void SetEditText(const std::string& Text);
    virtual void PerformPaste();
    virtual void RestoreSavedText();
    virtual Word Revalidate(bool Post);

    TNotifyEvent OnChange;
    TValidationErrorEvent OnError;
    TFieldGetEpochEvent OnGetEpoch;
    TUserCommandEvent OnUserCommand;
    TUserValidationEvent OnUserValidation;

protected:
    // State flags of one field.
    enum TEntryState {
        esRefocusPending,
        esErrorState,
        esMouseEntry,
        esCorrecting,
        esValidating,
        esModified,
        esEverModified,
        esHexMask,
        esOctalMask,
        esBinaryMask,
        esNumericClass,
        esPrepared,
        esFloatMask,
        esAllMask,
        esFocused,
        esLeftForm,
        esErrorPosted,
        esInsertMode,
        esTakeNextChar,
        esKeyNotCommand,
        esInWrite,
        esInRead,
        esInUserValidation,
        esUserValidationOff,
    };
    using TEntryStates = TSet<TEntryState>;

    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Paint() override;

    // DoCommand: read-only refusals, user commands, then EditCommand.
    void DoCommand(TMessage& Msg, Word Cmd);
    // Places the caret by the caret position and scrolls horizontally when Scroll.
    void PlaceCaret(bool Scroll);
    // Beeps with efoBeepOnError in the controller's EntryOptions.
    void ErrorBeep();
    // The text top the text is drawn at.
    int TextTop() const { return FTextTop; }
    void ComputeTextTop();
    // Marks the hex, octal and binary flags from the mask.
    void MarkMaskFlags();
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    // Message handlers (Part of the message map).
    void WMKeyDown(TMessage& Message);
    void WMSysKeyDown(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMClear(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMSetText(TMessage& Message);
    void EMGetSel(TMessage& Message);
    void EMSetSel(TMessage& Message);
    void EMGetModify(TMessage& Message);
    void EMSetModify(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMMouseMove(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMSetFont(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void OMReportError(TMessage& Message);
    void OMGetDataSize(TMessage& Message);
    // After the error report: no longer correcting (the report may not have taken the focus).
    void OMErrorReported(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

protected:
    // The initial value of window creation: zero of the type, or the range's low limit when zero
    // lies outside, written with TransferValue(..., 2). Simple and picture fields write it at the
    // end of this class's first CreateWnd; numeric fields call it from their own.
    void WriteInitialValue();
    // The selection end as used: at most the text's length (255 stands for "all").
    int ClippedSelEnd() const;
    // Copies the selected display text to the clipboard: WM_CUT before ccCut, and the edit
    // engine on ccCopy.
    void CopySelection();
    // A key translated by the controller, as a command for the field.
    void DispatchCommand(TMessage& Msg, Word Cmd);
    void ShowContextMenu(int X, int Y);
    // The context menu with its items enabled by the field's state now; Owner frees it.
    TPopupMenu* CreateContextMenu(TComponent* Owner);
    // Posted to the field itself by the error report once it has run.
    static constexpr UINT OM_ERRORREPORTED = 0x7F20;
    // The edges of the text room: left edge, right edge (the text ends just before it).
    int TextLeftEdge() const;
    int TextRightEdge() const;

    // The fields descendants work on.
    bool FAutoSize = true;
    std::unique_ptr<TOvcBorders> FBorders;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FCtrlColor = 255;
    Byte FDecimalPlaces = 0;
    std::unique_ptr<TOvcEfColors> FEFColors;
    int FEpoch = 0;
    TOvcIntlSup* FIntlSup = nullptr;
    Word FLastError = 0;
    Word FMaxLength = 15;
    TOvcEntryFieldOptions FOptions;
    char FPadChar = ' ';
    char FPasswordChar = '*';
    int FTextMargin = 2;
    bool FUninitialized = false;
    TOvcUserData* FUserData = nullptr;
    TZeroDisplay FZeroDisplay = zdShow;
    double FZeroDisplayValue = 0;
    std::unique_ptr<TOvcCaretPair> FCaretPair;
    Word FDataSize = 0;
    Byte FType = 0;
    // The text being edited: at most MaxLength characters (255 at most).
    std::string FEditText;
    Byte FFieldClass = fcSimple;
    int FHOffset = 0;
    int FCaretPos = 0;
    Word FPictureLen = 1;
    // The mask as used, 255 characters at most.
    std::string FPicture = "X";
    TRangeType FRangeHi;
    TRangeType FRangeLo;
    bool FRightAlignedNow = false;
    bool FValueLoaded = false;
    std::optional<std::string> FSavedEditText;
    int FSelStart = 0;
    int FSelEnd = 0;
    int FTextTop = 0;
    TEntryStates FState;
};
