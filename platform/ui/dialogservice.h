// platform/ui/dialogservice.h: message boxes, message dialogs and input boxes. Every box goes
// through one replaceable service, so a test scripts the answers and reads back what was shown.
#pragma once

#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// MessageBox flags: one button group, one icon, one default button and one modality, or-ed.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,

    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_ICONMASK = 0xF0,

    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,

    MB_APPLMODAL = 0x0000,
    MB_SYSTEMMODAL = 0x1000,
    MB_TASKMODAL = 0x2000,
    MB_MODEMASK = 0x3000,

    MB_SETFOREGROUND = 0x10000,
    MB_TOPMOST = 0x40000,
};

// What MessageBox returns: the button pressed.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// A form's modal result; the first ones equal the MessageBox button identifiers.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrOK = mrOk; // the same constant under both spellings units use
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The common dialogs join the boxes (from OpenFile on); platform/dialogs shows each as a form
// of ours.
enum class TDialogKind {
    MessageBox,
    MessageDlg,
    ShowMessage,
    InputBox,
    InputQuery,
    OpenFile,
    SaveFile,
    Color,
    Font,
    Find,    // modeless: shown, and the service returns at once
    Replace, // modeless
    BrowseFolder,
    // The printer dialogs (TPrintSettings).
    Print,
    PrinterSetup,
    PageSetup
};

// What the print, printer set-up and page set-up dialogs start at and end on.
struct TPrintSettings {
    std::vector<std::string> Printers; // the printers offered, in order (asked only)
    int PrinterIndex = 0;
    bool PrintToFile = false;
    int Copies = 1;
    bool Collate = false;
    int PrintRange = 0; // 0 all pages, 1 the selection, 2 the pages FromPage to ToPage
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0; // the pages that can be asked for; equal: no page numbers
    int MaxPage = 0;
    int Paper = 9;       // DMPAPER_A4 or DMPAPER_LETTER
    int Orientation = 1; // DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE
    // Page set-up: the margins (left, top, right, bottom) in thousandths of an inch, or in
    // hundredths of a millimetre when Metric.
    TRect Margins;
    TRect MinMargins; // the least margins allowed
    bool Metric = false;
};
// Page set-up: called with the dialog's window (WM_INITDIALOG first, then every message it
// gets); nonzero: the message was handled.
using TDialogHook =
    std::function<std::uintptr_t(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam)>;

// A font as the font dialog edits it.
struct TFontDescription {
    std::string Name = "MS Sans Serif";
    int Size = 8; // points
    TFontStyles Style;
    TColor Color = clWindowText;
    TFontCharset Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = fpDefault;
};

struct TDialogAnswer;
// What a modeless dialog reports while it is up: each button pressed (Result mrOk), and its
// closing (Result mrCancel), with the dialog's state at the time.
using TDialogNotifyEvent = std::function<void(const TDialogAnswer& Answer)>;
// What the folder-browse dialog tells its caller: its window and BFFM_INITIALIZED (Path empty),
// or BFFM_SELCHANGED with the highlighted folder's path. The caller may send the window the
// BFFM_ messages of platform/ui/shellfolders.h meanwhile.
using TBrowseCallback = std::function<void(HWND Wnd, UINT Msg, const std::string& Path)>;

// One box as asked for. An empty Caption stands for the application's title.
struct TDialogRequest {
    TDialogKind Kind = TDialogKind::MessageBox;
    std::string Caption;
    std::string Text;               // the message, or the prompt of an input box
    unsigned Flags = 0;             // MessageBox
    TMsgDlgType DlgType = mtCustom; // MessageDlg
    TMsgDlgButtons Buttons;         // MessageDlg
    int HelpCtx = 0;                // MessageDlg
    std::string Value;              // input boxes: the text the edit field starts with;
                                    // file dialogs: the file name they start with
    // File dialogs (Caption is their title; an empty one stands for "Open" or "Save As").
    std::string Filter;  // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    int FilterIndex = 1; // 1-based
    std::string InitialDir;
    std::string DefaultExt; // without the dot
    unsigned Options = 0;   // the dialog's option bits (platform/dialogs)
    bool Preview = false;   // file dialogs: a preview of the selected picture beside the list
    // Colour dialog: the colour it starts at and the sixteen custom colours.
    TColor Color = clBlack;
    std::vector<TColor> CustomColors;
    // Font dialog: the font it starts at, and the sizes allowed (0: any).
    TFontDescription Font;
    int MinFontSize = 0;
    int MaxFontSize = 0;
    // Find and replace: Value is the text to find.
    std::string ReplaceText;
    int Left = -1; // where a modeless dialog appears; -1: over the active form
    int Top = -1;
    TDialogNotifyEvent OnNotify; // modeless dialogs
    // Folder browse: Text the title above the tree, Value the root folder ("/" when empty),
    // Options the BIF_ flags; the answer's Value is the chosen folder.
    TBrowseCallback OnBrowse;
    // Printer dialogs: what they start at (Options: their option bits).
    TPrintSettings Print;
    TDialogHook Hook; // page set-up
};

// How the box was closed: an ID* value for MessageBox, a modal result for the others (mrOk or
// mrCancel for input boxes, whose entered text is Value; file dialogs give the chosen path in
// Value and the filter they ended on in FilterIndex).
struct TDialogAnswer {
    int Result = 0;
    std::string Value;
    int FilterIndex = 0; // 0: as asked
    // Colour, font, find and replace dialogs: what the dialog ended on (or shows now).
    TColor Color = clBlack;
    std::vector<TColor> CustomColors;
    TFontDescription Font;
    std::string ReplaceText;
    unsigned Options = 0;
    TPrintSettings Print; // printer dialogs: what they ended on
    // A modeless dialog shown: closes it (its OnNotify then reports the closing), and brings it
    // to the front. Empty for the others, and when it was not shown.
    std::function<void()> Close;
    std::function<void()> Activate;
};

// The one implementation behind every box; replaceable.
class IDialogService {
public:
    virtual ~IDialogService() = default;
    virtual TDialogAnswer Show(const TDialogRequest& Request) = 0;
};

// The service in use, never null.
IDialogService& DialogService();
// Installs Service (not owned; null restores the built-in one); returns the one it replaces.
IDialogService* SetDialogService(IDialogService* Service);

// Until the boxes are real forms, the built-in service writes each box to stderr and answers
// with its default button (input boxes: OK with the text unchanged).
class TDefaultDialogs : public IDialogService {
public:
    TDialogAnswer Show(const TDialogRequest& Request) override;
};

// The buttons a box shows, in order: MessageBox by its button group (ID* values), MessageDlg by
// its set (modal results; mbHelp closes nothing and is left out).
std::vector<int> DialogButtons(const TDialogRequest& Request);
// The answer of the default button: MB_DEFBUTTONn for MessageBox; for MessageDlg OK, else Yes,
// else Retry, else the first button; mrNone for a dialog without buttons.
int DefaultDialogResult(const TDialogRequest& Request);

// Thrown by TScriptedDialogs when a box comes with no answer left, or with an answer that box
// cannot give; not an Exception, so handlers that show Exceptions do not swallow it.
class EDialogScriptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// What the folder-browse dialog ended with under TScriptedDialogs, which runs the callback
// protocol on a hidden stand-in window: the folder highlighted, the status line, the OK
// button's state, the window's caption and place.
struct TBrowseRecord {
    std::string Selection;
    std::string StatusText;
    bool OkEnabled = true;
    std::string Caption;
    TRect Bounds;
};

// For tests: installed while it lives; records every box and answers each from the queue.
class TScriptedDialogs : public IDialogService {
public:
    TScriptedDialogs();
    ~TScriptedDialogs() override;
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    // Queues the answer of the next box (Value: the text an input box returns with mrOk; a
    // printer dialog answered so ends on the settings it was asked with).
    void Answer(int Result, std::string Value = {});
    // Queues a whole answer (a colour, a font ...).
    void Answer(TDialogAnswer Full);
    // Modeless dialogs (find, replace) take no queued answer: they are recorded as shown, and
    // the test plays their buttons through Notify, which hands Answer to the last one shown
    // that is still up (its OnNotify). Closing one (its Close) notifies mrCancel.
    TDialogAnswer Show(const TDialogRequest& Request) override;
    void Notify(const TDialogAnswer& Answer);

    const std::vector<TDialogRequest>& Calls() const { return FCalls; }
    std::size_t PendingAnswers() const { return FAnswers.size(); }
    // Whether a modeless dialog is up, and how often one was brought to the front.
    bool ModelessUp() const { return FModelessUp; }
    int Activations() const { return FActivations; }
    // The last folder-browse dialog.
    const TBrowseRecord& Browsed() const { return FBrowsed; }

private:
    TDialogAnswer ShowBrowse(const TDialogRequest& Request);

    IDialogService* FPrevious = nullptr;
    std::deque<TDialogAnswer> FAnswers;
    std::vector<TDialogRequest> FCalls;
    TDialogNotifyEvent FModeless;
    bool FModelessUp = false;
    int FGeneration = 0;
    int FActivations = 0;
    TBrowseRecord FBrowsed;
};

// Whether the kind is shown modeless (find, replace).
bool IsModelessDialog(TDialogKind Kind);

// Returns the ID* of the button pressed.
int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);
// Caption by type: "Warning", "Error", "Information", "Confirm"; mtCustom takes the title.
TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx);
void ShowMessage(const std::string& Msg);
// The text entered, or Default when cancelled.
std::string InputBox(const std::string& Caption, const std::string& Prompt,
                     const std::string& Default);
// True and Value changed on OK; false and Value untouched on Cancel.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);
