// controls/grid/advinplaceedit.cpp: TAdvInplaceEdit, the grid's in-place text editor.
#include "controls/grid/advinplaceedit.h"

#include "controls/grid/advgrid.h"
#include "controls/grid/advutil.h"
#include "platform/forms/messagemap.h"
#include "platform/rtl/clipformats.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/sound.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsDigit(unsigned char Ch)
{
    return Ch >= '0' && Ch <= '9';
}

bool Has(const std::string& Text, char Ch)
{
    return Text.find(Ch) != std::string::npos;
}

void Refuse()
{
    MessageBeep(MB_OK);
}

} // namespace

const TMessageMap& TAdvInplaceEdit::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TAdvInplaceEdit::WMChar>(WM_CHAR),
        OnMessage<&TAdvInplaceEdit::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TAdvInplaceEdit::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TAdvInplaceEdit::WMCopy>(WM_COPY),
        OnMessage<&TAdvInplaceEdit::WMCut>(WM_CUT),
        OnMessage<&TAdvInplaceEdit::WMPaste>(WM_PASTE),
    });
    static constexpr TMessageMap Map{Handlers, &TInplaceEdit::ClassMessageMap};
    return Map;
}

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {}

// While the grid is taken down its editor may still hear of the focus: then it is a plain edit.
TAdvStringGrid* TAdvInplaceEdit::AdvGrid() const
{
    auto* G = dynamic_cast<TAdvStringGrid*>(Grid());
    if (G == nullptr || G->ComponentState().Contains(csDestroying))
        return nullptr;
    return G;
}

// ---- window ---------------------------------------------------------------------------------

void TAdvInplaceEdit::CreateParams(TCreateParams& Params)
{
    TInplaceEdit::CreateParams(Params);
    TAdvStringGrid* G = AdvGrid();
    if (G != nullptr)
        FWordWrap = G->WordWrap();
    if (FVAlign)
        Params.Style |= ES_RIGHT;
    if (G != nullptr && G->FEditorType == etPassword) {
        Params.Style |= ES_PASSWORD;
        Params.Style &= ~DWORD{ES_MULTILINE};
    }
    if (FWordWrap)
        Params.Style &= ~DWORD{ES_AUTOHSCROLL};
    Params.Style |= ES_WANTRETURN;
    FLookupAllowed = true;
}

void TAdvInplaceEdit::CreateWnd()
{
    TInplaceEdit::CreateWnd();
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr)
        return;
    if (G->FEditorType == etPassword && !G->PasswordChar().empty())
        SetPasswordChar(G->PasswordChar()[0]);
    if (FLengthLimit == 0)
        FLengthLimit = static_cast<std::int16_t>(std::clamp(G->MaxEditLength(), 0, 32767));
}

// One window serves every cell: the styles follow the cell's editor type before it is loaded.
void TAdvInplaceEdit::ApplyStyle()
{
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr || !HandleAllocated())
        return;
    FWordWrap = G->WordWrap();
    const bool Password = G->FEditorType == etPassword;
    const auto Old = static_cast<DWORD>(GetWindowLong(WindowHandle(), GWL_STYLE));
    DWORD New = Old & ~DWORD{ES_RIGHT | ES_AUTOHSCROLL | ES_MULTILINE};
    if (FVAlign)
        New |= ES_RIGHT;
    if (!FWordWrap)
        New |= ES_AUTOHSCROLL;
    if (!Password)
        New |= ES_MULTILINE;
    if (New != Old)
        SetWindowLong(WindowHandle(), GWL_STYLE, static_cast<LONG_PTR>(New));
    SetPasswordChar(Password && !G->PasswordChar().empty() ? G->PasswordChar()[0] : '\0');
}

void TAdvInplaceEdit::UpdateContents()
{
    ApplyStyle();
    TInplaceEdit::UpdateContents();
}

void TAdvInplaceEdit::SetVAlign(bool Value)
{
    if (FVAlign == Value)
        return;
    FVAlign = Value;
    ApplyStyle();
    Invalidate();
}

void TAdvInplaceEdit::SetWordWrap(bool Value)
{
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    if (HandleAllocated()) {
        const auto Old = static_cast<DWORD>(GetWindowLong(WindowHandle(), GWL_STYLE));
        const DWORD New = Value ? Old & ~DWORD{ES_AUTOHSCROLL} : Old | ES_AUTOHSCROLL;
        SetWindowLong(WindowHandle(), GWL_STYLE, static_cast<LONG_PTR>(New));
        Invalidate();
    }
}

int TAdvInplaceEdit::CaretLine() const
{
    return static_cast<int>(SendToEdit(EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
}

int TAdvInplaceEdit::LineTotal() const
{
    return static_cast<int>(SendToEdit(EM_GETLINECOUNT, 0, 0));
}

// ---- focus ----------------------------------------------------------------------------------

void TAdvInplaceEdit::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr)
        return;
    // The editor takes the colour the cell is painted with.
    TCanvas* C = G->Canvas();
    C->Brush()->SetColor(G->Color());
    G->GetCellColor(G->RealCol(), G->Row(), TGridDrawState{}, C->Brush(), C->Font());
    SetColor(C->Brush()->Color());
    if (IsMasked() && !G->FCaretPositioning && G->Navigation()->ImproveMaskSel) {
        SetSelStart(0);
        SetSelLength(1);
    }
    if (G->FCaretPositioning) {
        G->FCaretPositioning = false;
        const TPoint P = ScreenToClient(GetCursorPos());
        if (P.X >= 0 && P.Y >= 0 && P.X < Width() && P.Y < Height()) {
            const auto Hit =
                static_cast<std::uintptr_t>(SendToEdit(EM_CHARFROMPOS, 0, MakeLParam(P.X, P.Y)));
            SetSelStart(static_cast<int>(LoWord(Hit)));
            SetSelLength(0);
        }
    }
}

void TAdvInplaceEdit::WMKillFocus(TMessage& Message)
{
    TAdvStringGrid* G = AdvGrid();
    if (G != nullptr && G->LookupHistory()) {
        const std::string Typed = Text();
        if (!Typed.empty() && G->LookupItems()->IndexOf(Typed) < 0)
            G->LookupItems()->Add(Typed);
    }
    Inherited(Message);
    G = AdvGrid();
    if (G == nullptr)
        return;
    G->ValidateCell(Text());
    const std::string Cell = G->CurrentCellText();
    if (Text() != Cell)
        SetText(Cell);
}

// ---- keys -----------------------------------------------------------------------------------

void TAdvInplaceEdit::WalkCell(TAdvStringGrid* G, bool Forward)
{
    TNavigation* Nav = G->Navigation();
    const TAdvanceDirection Direction = Nav->AdvanceDirection;
    Nav->AdvanceDirection = adLeftRight;
    try {
        G->AdvanceCell(G->Col(), G->Row(), Forward, true, true);
    } catch (...) {
        Nav->AdvanceDirection = Direction;
        throw;
    }
    Nav->AdvanceDirection = Direction;
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    TNavigation* Nav = G->Navigation();
    const bool NoSelection = SelLength() == 0;
    switch (Key) {
    case VK_BACK:
    case VK_DELETE:
        FLookupAllowed = false;
        break;
    case VK_RETURN:
        if (!Shift.Contains(ssCtrl)) {
            FLookupAllowed = true;
            break;
        }
        // Ctrl+Enter starts a new line: the row makes room for it.
        if (G->SizeWhileTyping()->Height && G->Multilinecells()) {
            const int Lines = LineCount(Text() + "\r\n ", true);
            if (Lines < G->MaxLineCount(G->Row()))
                G->AutoSizeRow(G->Row());
            else
                G->SetRowLines(G->Row(), Lines, 0);
        }
        break;
    case VK_LEFT:
        if (NoSelection && SelStart() == 0 && Shift.Empty() && Nav->CursorWalkEditor) {
            WalkCell(G, false);
            Key = VK_RETURN;
        }
        break;
    case VK_RIGHT:
        if (NoSelection && SelStart() == static_cast<int>(Text().size()) && Shift.Empty() &&
            Nav->CursorWalkEditor) {
            WalkCell(G, true);
            Key = VK_RETURN;
        }
        break;
    case VK_UP:
        // Within the text the arrows move the caret between its lines.
        if (CaretLine() > 0) {
            TCustomMaskEdit::KeyDown(Key, Shift);
            return;
        }
        break;
    case VK_DOWN:
        if (CaretLine() < LineTotal() - 1) {
            TCustomMaskEdit::KeyDown(Key, Shift);
            return;
        }
        break;
    case VK_ESCAPE:
        if (Text() != G->FRestoreText)
            SetText(G->FRestoreText);
        FLookupAllowed = true;
        break;
    default:
        FLookupAllowed = true;
        break;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

void TAdvInplaceEdit::KeyPress(char& Key)
{
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    TNavigation* Nav = G->Navigation();
    // A refused value keeps the user in the cell.
    if (Key == '\r' && !Nav->LineFeedOnEnter && !G->ValidateCell(Text())) {
        const std::string Cell = G->CurrentCellText();
        if (Text() != Cell)
            SetText(Cell);
        Key = 0;
        return;
    }
    TInplaceEdit::KeyPress(Key);
    if (Nav->AdvanceAuto && IsMasked() && !Has(Text(), ' ') &&
        SelStart() == static_cast<int>(EditText().size())) {
        char Enter = '\r';
        G->KeyPress(Enter);
    }
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    const Word Released = Key;
    TInplaceEdit::KeyUp(Key, Shift);
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr)
        return;
    if (Released != VK_LEFT && Released != VK_RIGHT)
        Lookup(G);
    if (G->SizeWhileTyping()->Width)
        G->AutoSizeColGrow(G->Col());
    if (G->SizeWhileTyping()->Height && G->WordWrap())
        G->AutoSizeRow(G->Row());
}

void TAdvInplaceEdit::Lookup(TAdvStringGrid* G)
{
    if (!FLookupAllowed || SelLength() != 0 || !G->Lookup() || G->LookupItems()->Count() == 0)
        return;
    const std::string Text = this->Text();
    const auto Caret = static_cast<std::size_t>(std::max(SelStart(), 0));
    const std::string Typed = Text.substr(0, std::min(Caret, Text.size()));
    if (Typed.empty())
        return;
    const bool Exact = G->LookupCaseSensitive();
    const std::string Key = Exact ? Typed : AnsiUpperCase(Typed);
    for (int I = 0; I < G->LookupItems()->Count(); ++I) {
        const std::string Item = G->LookupItems()->Strings(I);
        const std::string Compared = Exact ? Item : AnsiUpperCase(Item);
        if (Compared.size() < Key.size() || Compared.compare(0, Key.size(), Key) != 0)
            continue;
        const std::string Rest = Item.size() > Typed.size() ? Item.substr(Typed.size(), 255) : "";
        const std::string Completed = Typed + Rest;
        if (Completed != Text)
            SetText(Completed);
        SetSelStart(static_cast<int>(Typed.size()));
        SetSelLength(static_cast<int>(Rest.size()));
        return;
    }
}

// ---- characters -----------------------------------------------------------------------------

bool TAdvInplaceEdit::FilterChar(TAdvStringGrid* G, unsigned char& Ch)
{
    // Escape's work is done when the key goes down; it never counts as a refused character.
    if (Ch == 27)
        return true;
    const bool Control = Ch == 8 || Ch == 9 || Ch == 13;
    const std::string Text = this->Text();
    switch (G->FEditorType) {
    case etNormal:
    case etPassword:
    case etWordCaps:
        return true;
    case etSignedInteger:
        if (Control || IsDigit(Ch) || (Ch == '-' && !Has(Text, '-') && SelStart() == 0))
            return true;
        Refuse();
        return false;
    case etUnsignedInteger:
        if (Control || IsDigit(Ch))
            return true;
        Refuse();
        return false;
    case etDecimal: {
        if (Control || IsDigit(Ch))
            return true;
        const std::string Selected = SelText();
        if (Ch == '.' || Ch == ',')
            return (!Has(Text, '.') || Has(Selected, '.')) &&
                   (!Has(Text, ',') || Has(Selected, ','));
        if (Ch == '-') {
            if ((SelStart() == 0 && !Has(Text, '-')) || Has(Selected, '-'))
                return true;
            Refuse();
        }
        return false;
    }
    case etUpperTyped:
    case etUpperCase:
        if (Ch < 0x80)
            Ch = static_cast<unsigned char>(std::toupper(Ch));
        return true;
    case etLowerCase:
        if (Ch < 0x80)
            Ch = static_cast<unsigned char>(std::tolower(Ch));
        return true;
    default:
        return false;
    }
}

void TAdvInplaceEdit::WMChar(TMessage& Message)
{
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr) {
        Inherited(Message);
        return;
    }
    auto Ch = static_cast<unsigned char>(Message.WParam & 0xFF);
    // The keyboard types a character's bytes one at a time: a refused character goes whole.
    const bool Continuation = (Ch & 0xC0) == 0x80;
    if (Continuation && FDroppingChar)
        return;
    if (!Continuation)
        FDroppingChar = false;
    auto Drop = [&] { FDroppingChar = Ch >= 0xC0; };

    // The keypad's decimal key (scan code 0x53, bit 6 set) types the locale's separator; the
    // main keyboard's full stop (0x34) stays a full stop.
    const unsigned Scan = (static_cast<std::uintptr_t>(Message.LParam) >> 16) & 0xFF;
    if (G->ExcelStyleDecimalSeparator() && Ch == '.' && (Scan & 0x40) != 0)
        Ch = static_cast<unsigned char>(FormatSettings.DecimalSeparator);

    // The clipboard keys go through the clipboard messages, so that the grid's events see them.
    switch (Ch) {
    case 3:
        Perform(WM_COPY, 0, 0);
        return;
    case 22:
        Perform(WM_PASTE, 0, 0);
        return;
    case 24:
        Perform(WM_CUT, 0, 0);
        return;
    default:
        break;
    }

    TNavigation* Nav = G->Navigation();
    if (FLengthLimit > 0 && !Continuation && SelLength() == 0 &&
        static_cast<int>(Text().size()) >= FLengthLimit) {
        const bool Passes = Ch == 8 || Ch == 27 || (Ch == 13 && Nav->AdvanceOnEnter);
        if (!Passes) {
            Drop();
            return;
        }
    }

    const TEditorType Type = G->FEditorType;
    const bool TextType = Type == etNormal || Type == etUpperTyped || Type == etWordCaps ||
                          Type == etLowerCase || Type == etUpperCase;
    if (TextType && Ch == 13 && Nav->LineFeedOnEnter) {
        // A line break in the text, not the end of the edit.
        DefaultHandler(Message);
        return;
    }

    if (!Continuation && !FilterChar(G, Ch)) {
        Drop();
        return;
    }
    Message.WParam = Ch;
    const int Caret = SelStart();
    const std::string Before = Text();
    Inherited(Message);
    if (Type == etWordCaps && Ch >= 32 && Ch < 0x80 && Text() != Before) {
        SetText(CapitalizeName(Text()));
        SetSelStart(Caret + 1);
    }
}

// ---- clipboard ------------------------------------------------------------------------------

void TAdvInplaceEdit::WMCopy(TMessage& Message)
{
    TAdvStringGrid* G = AdvGrid();
    bool Allow = true;
    if (G != nullptr && G->OnClipboardCopy)
        G->OnClipboardCopy(this, Allow);
    if (Allow)
        Inherited(Message);
}

void TAdvInplaceEdit::WMCut(TMessage& Message)
{
    TAdvStringGrid* G = AdvGrid();
    bool Allow = true;
    if (G != nullptr && G->OnClipboardCut)
        G->OnClipboardCut(this, Allow);
    if (Allow)
        Inherited(Message);
}

void TAdvInplaceEdit::WMPaste(TMessage& Message)
{
    TAdvStringGrid* G = AdvGrid();
    if (G == nullptr) {
        Inherited(Message);
        return;
    }
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    const std::string Pasted = Clipboard()->AsText();
    if (FLengthLimit > 0 && static_cast<int>(Pasted.size()) > FLengthLimit)
        return;
    bool Allow = true;
    if (G->OnClipboardPaste)
        G->OnClipboardPaste(this, Allow);
    if (!Allow || !EditCanModify())
        return;
    if (IsMasked()) {
        Inherited(Message);
        return;
    }
    const std::string Old = Text();
    const auto Start = std::min(static_cast<std::size_t>(std::max(SelStart(), 0)), Old.size());
    const auto Length =
        std::min(static_cast<std::size_t>(std::max(SelLength(), 0)), Old.size() - Start);
    std::string New = Old;
    New.replace(Start, Length, Pasted);
    switch (G->FEditorType) {
    case etSignedInteger:
    case etUnsignedInteger:
        if (NumberTextKind(New) != 0)
            return;
        break;
    case etDecimal:
        if (NumberTextKind(New) > 1)
            return;
        break;
    case etWordCaps:
        New = CapitalizeName(New);
        break;
    case etLowerCase:
        New = AnsiLowerCase(New);
        break;
    case etUpperCase:
        New = AnsiUpperCase(New);
        break;
    default:
        break;
    }
    SetText(New);
    if (Length > 0) {
        SetSelStart(static_cast<int>(Start));
        SetSelLength(static_cast<int>(Pasted.size()));
    } else {
        SetSelStart(static_cast<int>(Start + Pasted.size()));
        SetSelLength(0);
    }
}

// ---- mouse ----------------------------------------------------------------------------------

void TAdvInplaceEdit::DblClick()
{
    TInplaceEdit::DblClick();
    if (TAdvStringGrid* G = AdvGrid(); G != nullptr && G->OnDblClickCell)
        G->OnDblClickCell(G, G->Row(), G->Col());
}
