// platform/stdctrls/editengine.cpp: the "EDIT" class, its procedure, and the engine's text,
// selection, undo, notifications, clipboard and EM_ messages.
#include "platform/stdctrls/editengine.h"

#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sound.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

const char* const EditClassName = "EDIT";

namespace {

std::unordered_map<HWND, std::unique_ptr<TEditEngine>>& Engines()
{
    static std::unordered_map<HWND, std::unique_ptr<TEditEngine>> Map;
    return Map;
}

LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto& Map = Engines();
    auto Found = Map.find(Wnd);
    if (Found == Map.end()) {
        if (Msg != WM_NCCREATE)
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        Found = Map.emplace(Wnd, std::make_unique<TEditEngine>(Wnd)).first;
    }
    // The engine may go while it answers (WM_NCDESTROY): keep it until the answer is given.
    TEditEngine* Engine = Found->second.get();
    const LRESULT Result = Engine->WndProc(Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY)
        Map.erase(Wnd);
    return Result;
}

// The text is kept whole: a position is a byte offset below 2^31 for the messages.
LRESULT AsResult(std::size_t Value)
{
    return static_cast<LRESULT>(Value);
}

} // namespace

void RegisterEditClass()
{
    RegisterControlClass(EditClassName, CS_DBLCLKS, EditWndProc, crIBeam);
}

const TMessageMap& TEditEngine::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TEditEngine::WMNCCreate>(WM_NCCREATE),
        OnMessage<&TEditEngine::WMNCDestroy>(WM_NCDESTROY),
        OnMessage<&TEditEngine::WMSetText>(WM_SETTEXT),
        OnMessage<&TEditEngine::WMGetText>(WM_GETTEXT),
        OnMessage<&TEditEngine::WMGetTextLength>(WM_GETTEXTLENGTH),
        OnMessage<&TEditEngine::WMSetFont>(WM_SETFONT),
        OnMessage<&TEditEngine::WMGetFont>(WM_GETFONT),
        OnMessage<&TEditEngine::WMPaint>(WM_PAINT),
        OnMessage<&TEditEngine::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessage<&TEditEngine::WMSize>(WM_SIZE),
        OnMessage<&TEditEngine::WMEnable>(WM_ENABLE),
        OnMessage<&TEditEngine::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TEditEngine::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TEditEngine::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TEditEngine::WMKeyDown>(WM_KEYDOWN),
        OnMessage<&TEditEngine::WMChar>(WM_CHAR),
        OnMessage<&TEditEngine::WMLButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TEditEngine::WMLButtonDblClk>(WM_LBUTTONDBLCLK),
        OnMessage<&TEditEngine::WMMouseMove>(WM_MOUSEMOVE),
        OnMessage<&TEditEngine::WMLButtonUp>(WM_LBUTTONUP),
        OnMessage<&TEditEngine::WMCaptureChanged>(WM_CAPTURECHANGED),
        OnMessage<&TEditEngine::WMVScroll>(WM_VSCROLL),
        OnMessage<&TEditEngine::WMHScroll>(WM_HSCROLL),
        OnMessage<&TEditEngine::WMCut>(WM_CUT),
        OnMessage<&TEditEngine::WMCopy>(WM_COPY),
        OnMessage<&TEditEngine::WMPaste>(WM_PASTE),
        OnMessage<&TEditEngine::WMClear>(WM_CLEAR),
        OnMessage<&TEditEngine::WMUndo>(WM_UNDO),
        OnMessage<&TEditEngine::WMContextMenu>(WM_CONTEXTMENU),
        OnMessage<&TEditEngine::EMGetSel>(EM_GETSEL),
        OnMessage<&TEditEngine::EMSetSel>(EM_SETSEL),
        OnMessage<&TEditEngine::EMGetRect>(EM_GETRECT),
        OnMessage<&TEditEngine::EMSetRect>(EM_SETRECT),
        OnMessage<&TEditEngine::EMSetRectNP>(EM_SETRECTNP),
        OnMessage<&TEditEngine::EMLineScroll>(EM_LINESCROLL),
        OnMessage<&TEditEngine::EMGetFirstVisibleLine>(EM_GETFIRSTVISIBLELINE),
        OnMessage<&TEditEngine::EMScrollCaret>(EM_SCROLLCARET),
        OnMessage<&TEditEngine::EMGetModify>(EM_GETMODIFY),
        OnMessage<&TEditEngine::EMSetModify>(EM_SETMODIFY),
        OnMessage<&TEditEngine::EMGetLineCount>(EM_GETLINECOUNT),
        OnMessage<&TEditEngine::EMLineIndex>(EM_LINEINDEX),
        OnMessage<&TEditEngine::EMLineLength>(EM_LINELENGTH),
        OnMessage<&TEditEngine::EMReplaceSel>(EM_REPLACESEL),
        OnMessage<&TEditEngine::EMGetLine>(EM_GETLINE),
        OnMessage<&TEditEngine::EMLimitText>(EM_LIMITTEXT),
        OnMessage<&TEditEngine::EMCanUndo>(EM_CANUNDO),
        OnMessage<&TEditEngine::EMUndo>(EM_UNDO),
        OnMessage<&TEditEngine::EMLineFromChar>(EM_LINEFROMCHAR),
        OnMessage<&TEditEngine::EMEmptyUndoBuffer>(EM_EMPTYUNDOBUFFER),
        OnMessage<&TEditEngine::EMSetPasswordChar>(EM_SETPASSWORDCHAR),
        OnMessage<&TEditEngine::EMGetPasswordChar>(EM_GETPASSWORDCHAR),
        OnMessage<&TEditEngine::EMSetReadOnly>(EM_SETREADONLY),
        OnMessage<&TEditEngine::EMSetMargins>(EM_SETMARGINS),
        OnMessage<&TEditEngine::EMGetMargins>(EM_GETMARGINS),
        OnMessage<&TEditEngine::EMPosFromChar>(EM_POSFROMCHAR),
        OnMessage<&TEditEngine::EMCharFromPos>(EM_CHARFROMPOS),
    });
    static constexpr TMessageMap Map{Handlers, nullptr};
    return Map;
}

TEditEngine::TEditEngine(HWND Wnd) : FWnd(Wnd), FLimit(EditDefaultLimit), FFont(new TFont)
{
    FontChanged();
}

TEditEngine::~TEditEngine() = default;

LRESULT TEditEngine::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    if (!ClassMessageMap().Dispatch(this, Message))
        Message.Result = DefWindowProc(FWnd, Msg, WParam, LParam);
    return Message.Result;
}

// ---- text and selection

DWORD TEditEngine::Style() const
{
    return static_cast<DWORD>(GetWindowLong(FWnd, GWL_STYLE));
}

bool TEditEngine::MultiLine() const
{
    return (Style() & ES_MULTILINE) != 0;
}

bool TEditEngine::ReadOnly() const
{
    return (Style() & ES_READONLY) != 0;
}

std::size_t TEditEngine::Snap(std::size_t Pos) const
{
    return EditText::CharStart(FText, std::min(Pos, FText.size()), MultiLine());
}

// Folds each well-formed character; bytes that form none stay as they are.
std::string TEditEngine::CaseConverted(const std::string& S) const
{
    const DWORD Case = Style() & (ES_UPPERCASE | ES_LOWERCASE);
    if (Case == 0)
        return S;
    std::string Out;
    Out.reserve(S.size());
    for (std::size_t I = 0; I < S.size();) {
        const std::size_t Len = EditText::CharLength(S, I);
        const std::string Char = S.substr(I, Len);
        const bool Folds = Len > 1 || static_cast<unsigned char>(S[I]) < 0x80;
        if (!Folds)
            Out += Char;
        else
            Out += Case & ES_UPPERCASE ? AnsiUpperCase(Char) : AnsiLowerCase(Char);
        I += Len;
    }
    return Out;
}

bool TEditEngine::Replace(std::size_t From, std::size_t To, std::string Insert, bool Limited,
                          TUndo::TKind Kind, bool KeepUndo)
{
    From = std::min(From, FText.size());
    To = std::clamp(To, From, FText.size());
    Insert = CaseConverted(Insert);
    if (Limited) {
        const std::size_t Rest = FText.size() - (To - From);
        const std::size_t Room = FLimit > Rest ? FLimit - Rest : 0;
        if (Insert.size() > Room) {
            Insert.resize(EditText::FitBytes(Insert, Room));
            Notify(EN_MAXTEXT);
        }
    }
    if (From == To && Insert.empty())
        return false;
    if (KeepUndo) {
        const bool Extends =
            FCanUndo && Kind != TUndo::ukOther && Kind == FUndo.Kind &&
            ((Kind == TUndo::ukTyping && From == To && From == FUndo.Pos + FUndo.InsertedLen) ||
             (Kind == TUndo::ukBackspace && To == FUndo.Pos && FUndo.InsertedLen == 0) ||
             (Kind == TUndo::ukDelete && From == FUndo.Pos && FUndo.InsertedLen == 0));
        if (Extends && Kind == TUndo::ukTyping) {
            FUndo.InsertedLen += Insert.size();
        } else if (Extends && Kind == TUndo::ukBackspace) {
            FUndo.Removed.insert(0, FText, From, To - From);
            FUndo.Pos = From;
        } else if (Extends) {
            FUndo.Removed.append(FText, From, To - From);
        } else {
            FUndo = TUndo{From, Insert.size(), FText.substr(From, To - From), Kind};
        }
        FCanUndo = true;
    }
    FText.replace(From, To - From, Insert);
    FAnchor = FCaret = From + Insert.size();
    FModified = true;
    TextChanged();
    return true;
}

void TEditEngine::TextChanged()
{
    FLayoutValid = false;
    FGoalX = -1;
    ScrollCaret();
    UpdateScrollBars();
    UpdateCaret();
    Repaint();
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
}

void TEditEngine::SetSelection(std::size_t Anchor, std::size_t Caret)
{
    Anchor = Snap(Anchor);
    Caret = Snap(Caret);
    if (Anchor == FAnchor && Caret == FCaret)
        return;
    FAnchor = Anchor;
    FCaret = Caret;
    UpdateCaret();
    Repaint();
}

void TEditEngine::Notify(UINT Code)
{
    const HWND Parent = GetParent(FWnd);
    if (Parent == 0 || !(Style() & WS_CHILD))
        return;
    const auto Id = static_cast<unsigned>(GetWindowLong(FWnd, GWL_ID));
    SendMessage(Parent, WM_COMMAND, MakeWParam(Id, Code), static_cast<LPARAM>(FWnd));
}

// Undo of an undo redoes: the change undone becomes the one to undo.
void TEditEngine::Undo()
{
    if (!FCanUndo)
        return;
    const TUndo Old = FUndo;
    const std::size_t Pos = std::min(Old.Pos, FText.size());
    const std::size_t End = std::min(Pos + Old.InsertedLen, FText.size());
    FUndo = TUndo{Pos, Old.Removed.size(), FText.substr(Pos, End - Pos), TUndo::ukOther};
    FText.replace(Pos, End - Pos, Old.Removed);
    FAnchor = Pos;
    FCaret = Pos + Old.Removed.size();
    FModified = true;
    TextChanged();
}

void TEditEngine::CopySelection()
{
    // A password is not given away.
    if (SelMin() == SelMax() || (Style() & ES_PASSWORD) || FPasswordChar != 0)
        return;
    Clipboard()->SetAsText(FText.substr(SelMin(), SelMax() - SelMin()));
}

void TEditEngine::PasteText()
{
    if (ReadOnly())
        return;
    FlushPending();
    const std::string Text = Clipboard()->AsText();
    if (Text.empty())
        return;
    Replace(SelMin(), SelMax(), Text, true, TUndo::ukOther, true);
}

void TEditEngine::ClearSelection(TUndo::TKind Kind)
{
    if (ReadOnly() || SelMin() == SelMax())
        return;
    Replace(SelMin(), SelMax(), std::string(), false, Kind, true);
}

// ---- messages

// The text the window is created with; no change is told of it.
void TEditEngine::WMNCCreate(TMessage& Message)
{
    if (const auto* Create = reinterpret_cast<const TCreateStruct*>(Message.LParam))
        FText = CaseConverted(Create->WindowName);
    if (Style() & ES_PASSWORD)
        FPasswordChar = '*';
    Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TEditEngine::WMNCDestroy(TMessage& Message)
{
    if (FFocused)
        DestroyCaret();
    Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TEditEngine::WMSetText(TMessage& Message)
{
    FlushPending();
    FText = Message.LParam != 0 ? CaseConverted(reinterpret_cast<const char*>(Message.LParam))
                                : std::string();
    FAnchor = FCaret = 0;
    FTopLine = 0;
    FScrollX = 0;
    FModified = false;
    FCanUndo = false;
    TextChanged();
    Message.Result = 1;
}

void TEditEngine::WMGetText(TMessage& Message)
{
    if (Message.WParam == 0 || Message.LParam == 0)
        return;
    const std::size_t Count = std::min<std::size_t>(FText.size(), Message.WParam - 1);
    char* Buffer = reinterpret_cast<char*>(Message.LParam);
    std::memcpy(Buffer, FText.data(), Count);
    Buffer[Count] = '\0';
    Message.Result = AsResult(Count);
}

void TEditEngine::WMGetTextLength(TMessage& Message)
{
    Message.Result = AsResult(FText.size());
}

void TEditEngine::WMSetFont(TMessage& Message)
{
    if (const auto* Font = reinterpret_cast<const TFont*>(Message.WParam))
        FFont->Assign(Font);
    else
        FFont->Assign(std::make_unique<TFont>().get());
    FontChanged();
    UpdateScrollBars();
    if (Message.LParam != 0)
        Repaint();
}

void TEditEngine::WMGetFont(TMessage& Message)
{
    Message.Result = reinterpret_cast<LRESULT>(FFont.get());
}

void TEditEngine::WMSize(TMessage& Message)
{
    FLayoutValid = false;
    ScrollCaret();
    UpdateScrollBars();
    UpdateCaret();
    Repaint();
    Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TEditEngine::WMEnable(TMessage& Message)
{
    Repaint();
    Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TEditEngine::WMSetFocus(TMessage&)
{
    FFocused = true;
    CreateCaret(FWnd, nullptr, 1, LineHeight());
    UpdateCaret();
    ShowCaret(FWnd);
    Repaint();
    Notify(EN_SETFOCUS);
}

void TEditEngine::WMKillFocus(TMessage&)
{
    FlushPending();
    FFocused = false;
    DestroyCaret();
    Repaint();
    Notify(EN_KILLFOCUS);
}

void TEditEngine::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (MultiLine())
        Message.Result |= DLGC_WANTALLKEYS;
}

void TEditEngine::WMCut(TMessage&)
{
    // A password is neither given away nor lost by a cut.
    if (ReadOnly() || FPasswordChar != 0)
        return;
    CopySelection();
    ClearSelection(TUndo::ukOther);
}

void TEditEngine::WMCopy(TMessage&)
{
    CopySelection();
}

void TEditEngine::WMPaste(TMessage&)
{
    PasteText();
}

void TEditEngine::WMClear(TMessage&)
{
    ClearSelection(TUndo::ukOther);
}

void TEditEngine::WMUndo(TMessage& Message)
{
    Message.Result = FCanUndo ? 1 : 0;
    if (!ReadOnly())
        Undo();
}

void TEditEngine::EMGetSel(TMessage& Message)
{
    if (auto* Start = reinterpret_cast<DWORD*>(Message.WParam))
        *Start = static_cast<DWORD>(SelMin());
    if (auto* End = reinterpret_cast<DWORD*>(Message.LParam))
        *End = static_cast<DWORD>(SelMax());
    Message.Result = MakeLParam(static_cast<int>(SelMin()), static_cast<int>(SelMax()));
}

void TEditEngine::EMSetSel(TMessage& Message)
{
    FlushPending();
    const auto Start = static_cast<std::intptr_t>(static_cast<int>(Message.WParam));
    const auto End = static_cast<std::intptr_t>(static_cast<int>(Message.LParam));
    if (Start < 0) {
        SetSelection(FCaret, FCaret);
        return;
    }
    const std::size_t To = End < 0 ? FText.size() : static_cast<std::size_t>(End);
    FGoalX = -1;
    SetSelection(static_cast<std::size_t>(Start), To);
}

void TEditEngine::EMGetRect(TMessage& Message)
{
    if (auto* R = reinterpret_cast<TRect*>(Message.LParam))
        *R = FormatRect();
}

void TEditEngine::EMSetRect(TMessage& Message)
{
    EMSetRectNP(Message);
    Repaint();
}

void TEditEngine::EMSetRectNP(TMessage& Message)
{
    if (const auto* R = reinterpret_cast<const TRect*>(Message.LParam)) {
        FRect = *R;
        FRectSet = true;
    } else {
        FRectSet = false;
    }
    FLayoutValid = false;
    ScrollCaret();
    UpdateCaret();
}

void TEditEngine::EMLineScroll(TMessage& Message)
{
    if (!MultiLine())
        return;
    FScrollX = std::max(0, FScrollX + static_cast<int>(Message.WParam) * FAveCharWidth);
    ScrollLines(static_cast<int>(Message.LParam));
    Message.Result = 1;
}

// The top line of a multi-line edit; the first character shown of a single-line one.
void TEditEngine::EMGetFirstVisibleLine(TMessage& Message)
{
    if (MultiLine()) {
        Message.Result = FTopLine;
        return;
    }
    const TRect R = FormatRect();
    Message.Result = AsResult(ClientToPos(R.Left, R.Top));
}

void TEditEngine::EMScrollCaret(TMessage& Message)
{
    ScrollCaret();
    UpdateCaret();
    Repaint();
    Message.Result = 1;
}

void TEditEngine::EMGetModify(TMessage& Message)
{
    Message.Result = FModified ? 1 : 0;
}

void TEditEngine::EMSetModify(TMessage& Message)
{
    FModified = Message.WParam != 0;
}

void TEditEngine::EMGetLineCount(TMessage& Message)
{
    Message.Result = static_cast<LRESULT>(Lines().size());
}

void TEditEngine::EMLineIndex(TMessage& Message)
{
    const auto& L = Lines();
    int Line = static_cast<int>(Message.WParam);
    if (Line < 0)
        Line = EditText::LineOfPos(L, FCaret);
    Message.Result = Line < static_cast<int>(L.size()) ? AsResult(L[Line].Start) : -1;
}

void TEditEngine::EMLineLength(TMessage& Message)
{
    const auto& L = Lines();
    const int Pos = static_cast<int>(Message.WParam);
    if (!MultiLine()) {
        Message.Result = AsResult(FText.size());
        return;
    }
    if (Pos < 0) {
        // The unselected characters of the lines the selection touches.
        const auto& First = L[EditText::LineOfPos(L, SelMin())];
        const auto& Last = L[EditText::LineOfPos(L, SelMax())];
        Message.Result =
            AsResult((SelMin() - First.Start) + (Last.End - std::min(Last.End, SelMax())));
        return;
    }
    const auto& Line = L[EditText::LineOfPos(L, static_cast<std::size_t>(Pos))];
    Message.Result = AsResult(Line.End - Line.Start);
}

void TEditEngine::EMReplaceSel(TMessage& Message)
{
    FlushPending();
    const std::string Text =
        Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : std::string();
    Replace(SelMin(), SelMax(), Text, true, TUndo::ukOther, Message.WParam != 0);
}

// LParam: a buffer whose first two bytes give its size; the line is copied without a NUL.
void TEditEngine::EMGetLine(TMessage& Message)
{
    auto* Buffer = reinterpret_cast<char*>(Message.LParam);
    const auto& L = Lines();
    const int Line = MultiLine() ? static_cast<int>(Message.WParam) : 0;
    if (Buffer == nullptr || Line < 0 || Line >= static_cast<int>(L.size()))
        return;
    std::uint16_t Size = 0;
    std::memcpy(&Size, Buffer, sizeof Size);
    const std::size_t Count = std::min<std::size_t>(Size, L[Line].End - L[Line].Start);
    std::memcpy(Buffer, FText.data() + L[Line].Start, Count);
    Message.Result = AsResult(Count);
}

void TEditEngine::EMLimitText(TMessage& Message)
{
    FLimit =
        Message.WParam == 0 ? EditMaxLimit : std::min<std::size_t>(Message.WParam, EditMaxLimit);
}

void TEditEngine::EMCanUndo(TMessage& Message)
{
    Message.Result = FCanUndo ? 1 : 0;
}

void TEditEngine::EMUndo(TMessage& Message)
{
    WMUndo(Message);
}

void TEditEngine::EMLineFromChar(TMessage& Message)
{
    const int Pos = static_cast<int>(Message.WParam);
    const std::size_t At = Pos < 0 ? FCaret : static_cast<std::size_t>(Pos);
    Message.Result = EditText::LineOfPos(Lines(), At);
}

void TEditEngine::EMEmptyUndoBuffer(TMessage&)
{
    FCanUndo = false;
    FUndo = TUndo{};
}

void TEditEngine::EMSetPasswordChar(TMessage& Message)
{
    const auto Char = static_cast<char32_t>(Message.WParam);
    if (Char == FPasswordChar)
        return;
    FPasswordChar = Char;
    const LONG_PTR Old = GetWindowLong(FWnd, GWL_STYLE);
    SetWindowLong(FWnd, GWL_STYLE, Char != 0 ? Old | ES_PASSWORD : Old & ~LONG_PTR{ES_PASSWORD});
    FLayoutValid = false;
    FWidths.clear();
    UpdateCaret();
    Repaint();
}

void TEditEngine::EMGetPasswordChar(TMessage& Message)
{
    Message.Result = static_cast<LRESULT>(FPasswordChar);
}

void TEditEngine::EMSetReadOnly(TMessage& Message)
{
    const LONG_PTR Old = GetWindowLong(FWnd, GWL_STYLE);
    SetWindowLong(FWnd, GWL_STYLE,
                  Message.WParam != 0 ? Old | ES_READONLY : Old & ~LONG_PTR{ES_READONLY});
    Repaint();
    Message.Result = 1;
}

void TEditEngine::EMSetMargins(TMessage& Message)
{
    const int Left = static_cast<int>(LoWord(static_cast<std::uintptr_t>(Message.LParam)));
    const int Right = static_cast<int>(HiWord(static_cast<std::uintptr_t>(Message.LParam)));
    const int FromFont = std::max(1, FAveCharWidth / 3);
    if (Message.WParam == EC_USEFONTINFO) {
        FLeftMargin = FRightMargin = FromFont;
    } else {
        if (Message.WParam & EC_LEFTMARGIN)
            FLeftMargin = Left;
        if (Message.WParam & EC_RIGHTMARGIN)
            FRightMargin = Right;
    }
    FLayoutValid = false;
    UpdateCaret();
    Repaint();
}

void TEditEngine::EMGetMargins(TMessage& Message)
{
    Message.Result = MakeLParam(FLeftMargin, FRightMargin);
}

void TEditEngine::EMPosFromChar(TMessage& Message)
{
    const std::size_t Pos = Message.WParam;
    if (Pos >= FText.size()) {
        Message.Result = -1;
        return;
    }
    const TPoint P = PosToClient(Snap(Pos));
    Message.Result = MakeLParam(P.X, P.Y);
}

void TEditEngine::EMCharFromPos(TMessage& Message)
{
    const int X = GetXLParam(Message.LParam);
    const int Y = GetYLParam(Message.LParam);
    const std::size_t Pos = ClientToPos(X, Y);
    const int Line = EditText::LineOfPos(Lines(), Pos);
    Message.Result = MakeLParam(static_cast<int>(Pos), Line);
}
