// platform/ui/dialogservice.cpp: the box functions, the built-in service and the scripted one.
#include "platform/ui/dialogservice.h"

#include "platform/ui/messages.h"
#include "platform/ui/shellfolders.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>

namespace {

TDefaultDialogs& BuiltIn()
{
    static TDefaultDialogs Service;
    return Service;
}

std::atomic<IDialogService*> Installed{nullptr};

std::vector<int> MessageBoxButtons(unsigned Flags)
{
    switch (Flags & MB_TYPEMASK) {
    case MB_OK:
        return {IDOK};
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {};
    }
}

TModalResult ButtonResult(TMsgDlgBtn Button)
{
    switch (Button) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    case mbAll:
        return mrAll;
    case mbNoToAll:
        return mrNoToAll;
    case mbYesToAll:
        return mrYesToAll;
    case mbHelp:
        break;
    }
    return mrNone;
}

const char* ResultName(int Result)
{
    static const char* const Names[] = {"None", "OK", "Cancel", "Abort",   "Retry",   "Ignore",
                                        "Yes",  "No", "All",    "NoToAll", "YesToAll"};
    if (Result >= 0 && Result < static_cast<int>(std::size(Names)))
        return Names[Result];
    return "?";
}

const char* KindName(TDialogKind Kind)
{
    switch (Kind) {
    case TDialogKind::MessageBox:
        return "MessageBox";
    case TDialogKind::MessageDlg:
        return "MessageDlg";
    case TDialogKind::ShowMessage:
        return "ShowMessage";
    case TDialogKind::InputBox:
        return "InputBox";
    case TDialogKind::InputQuery:
        return "InputQuery";
    case TDialogKind::OpenFile:
        return "OpenFile";
    case TDialogKind::SaveFile:
        return "SaveFile";
    case TDialogKind::Color:
        return "Color";
    case TDialogKind::Font:
        return "Font";
    case TDialogKind::Find:
        return "Find";
    case TDialogKind::Replace:
        return "Replace";
    case TDialogKind::BrowseFolder:
        return "BrowseFolder";
    case TDialogKind::Print:
        return "Print";
    case TDialogKind::PrinterSetup:
        return "PrinterSetup";
    case TDialogKind::PageSetup:
        return "PageSetup";
    }
    return "?";
}

// Dialogs that hand back a text (Value) besides the button.
bool IsInput(TDialogKind Kind)
{
    return Kind == TDialogKind::InputBox || Kind == TDialogKind::InputQuery ||
           Kind == TDialogKind::OpenFile || Kind == TDialogKind::SaveFile ||
           Kind == TDialogKind::BrowseFolder;
}

bool IsPrinterDialog(TDialogKind Kind)
{
    return Kind == TDialogKind::Print || Kind == TDialogKind::PrinterSetup ||
           Kind == TDialogKind::PageSetup;
}

} // namespace

IDialogService& DialogService()
{
    IDialogService* Service = Installed.load();
    return Service ? *Service : BuiltIn();
}

IDialogService* SetDialogService(IDialogService* Service)
{
    return Installed.exchange(Service);
}

std::vector<int> DialogButtons(const TDialogRequest& Request)
{
    switch (Request.Kind) {
    case TDialogKind::MessageBox:
        return MessageBoxButtons(Request.Flags);
    case TDialogKind::MessageDlg: {
        std::vector<int> Result;
        for (int Ordinal = mbYes; Ordinal <= mbYesToAll; ++Ordinal)
            if (Request.Buttons.Contains(static_cast<TMsgDlgBtn>(Ordinal)))
                Result.push_back(ButtonResult(static_cast<TMsgDlgBtn>(Ordinal)));
        return Result;
    }
    case TDialogKind::ShowMessage:
        return {mrOk};
    case TDialogKind::InputBox:
    case TDialogKind::InputQuery:
    case TDialogKind::OpenFile:
    case TDialogKind::SaveFile:
    case TDialogKind::Color:
    case TDialogKind::Font:
    case TDialogKind::BrowseFolder:
    case TDialogKind::Print:
    case TDialogKind::PrinterSetup:
    case TDialogKind::PageSetup:
        return {mrOk, mrCancel};
    case TDialogKind::Find:
    case TDialogKind::Replace:
        return {mrOk}; // shown
    }
    return {};
}

int DefaultDialogResult(const TDialogRequest& Request)
{
    std::vector<int> Buttons = DialogButtons(Request);
    if (Buttons.empty())
        return mrNone;
    if (Request.Kind == TDialogKind::MessageBox) {
        std::size_t Index = (Request.Flags & MB_DEFMASK) >> 8;
        return Index < Buttons.size() ? Buttons[Index] : Buttons.front();
    }
    if (Request.Kind == TDialogKind::MessageDlg) {
        for (TMsgDlgBtn Preferred : {mbOK, mbYes, mbRetry})
            if (Request.Buttons.Contains(Preferred))
                return ButtonResult(Preferred);
    }
    return Buttons.front();
}

TDialogAnswer TDefaultDialogs::Show(const TDialogRequest& Request)
{
    // A common dialog with nobody to ask is cancelled (a modeless one is not shown) rather
    // than answering with a made-up file, colour or font.
    if (Request.Kind >= TDialogKind::OpenFile) {
        std::fprintf(stderr, "[%s] %s -> Cancel\n", KindName(Request.Kind),
                     Request.Caption.c_str());
        TDialogAnswer Cancelled;
        Cancelled.Result = mrCancel;
        return Cancelled;
    }
    TDialogAnswer Answer;
    Answer.Result = DefaultDialogResult(Request);
    Answer.Value = Request.Value;
    std::fprintf(stderr, "[%s] %s%s%s -> %s\n", KindName(Request.Kind), Request.Caption.c_str(),
                 Request.Caption.empty() ? "" : ": ", Request.Text.c_str(),
                 ResultName(Answer.Result));
    return Answer;
}

TScriptedDialogs::TScriptedDialogs() : FPrevious(SetDialogService(this)) {}

TScriptedDialogs::~TScriptedDialogs()
{
    SetDialogService(FPrevious);
}

bool IsModelessDialog(TDialogKind Kind)
{
    return Kind == TDialogKind::Find || Kind == TDialogKind::Replace;
}

void TScriptedDialogs::Answer(int Result, std::string Value)
{
    TDialogAnswer Full;
    Full.Result = Result;
    Full.Value = std::move(Value);
    Full.Print.Copies = 0; // a printer dialog ends on the settings it was asked with
    FAnswers.push_back(std::move(Full));
}

void TScriptedDialogs::Answer(TDialogAnswer Full)
{
    FAnswers.push_back(std::move(Full));
}

void TScriptedDialogs::Notify(const TDialogAnswer& Answer)
{
    if (!FModelessUp || !FModeless)
        throw EDialogScriptError("No modeless dialog is up to notify");
    // A copy: the handler may show the dialog anew, replacing FModeless.
    TDialogNotifyEvent Handler = FModeless;
    if (Answer.Result != mrOk)
        FModelessUp = false;
    Handler(Answer);
}

TDialogAnswer TScriptedDialogs::Show(const TDialogRequest& Request)
{
    FCalls.push_back(Request);
    if (IsModelessDialog(Request.Kind)) {
        FModeless = Request.OnNotify;
        FModelessUp = true;
        const int Generation = ++FGeneration;
        TDialogAnswer Shown;
        Shown.Result = mrOk;
        Shown.Value = Request.Value;
        Shown.ReplaceText = Request.ReplaceText;
        Shown.Options = Request.Options;
        // Only while this showing is the one up.
        Shown.Close = [this, Request, Generation] {
            if (!FModelessUp || Generation != FGeneration)
                return;
            TDialogAnswer Closed;
            Closed.Result = mrCancel;
            Closed.Value = Request.Value;
            Closed.ReplaceText = Request.ReplaceText;
            Closed.Options = Request.Options;
            Notify(Closed);
        };
        Shown.Activate = [this, Generation] {
            if (FModelessUp && Generation == FGeneration)
                ++FActivations;
        };
        return Shown;
    }
    if (Request.Kind == TDialogKind::BrowseFolder)
        return ShowBrowse(Request);
    std::string What = std::string(KindName(Request.Kind)) + " \"" + Request.Text + "\"";
    if (FAnswers.empty())
        throw EDialogScriptError("No scripted answer for " + What);
    TDialogAnswer Answer = std::move(FAnswers.front());
    FAnswers.pop_front();
    std::vector<int> Buttons = DialogButtons(Request);
    if (std::find(Buttons.begin(), Buttons.end(), Answer.Result) == Buttons.end())
        throw EDialogScriptError("Scripted answer " + std::string(ResultName(Answer.Result)) +
                                 " is not a button of " + What);
    if (!IsInput(Request.Kind))
        Answer.Value.clear();
    if (IsPrinterDialog(Request.Kind) && Answer.Print.Copies == 0)
        Answer.Print = Request.Print;
    return Answer;
}

// The folder-browse dialog on a hidden window of its own that answers the BFFM_ messages as
// the dialog's would: the callback sees BFFM_INITIALIZED, a BFFM_SELCHANGED for the root, for
// each selection it sets and for the scripted answer's folder. OK with an empty Value takes the
// folder highlighted; OK while the callback has it disabled is not an answer this dialog gives.
TDialogAnswer TScriptedDialogs::ShowBrowse(const TDialogRequest& Request)
{
    FBrowsed = TBrowseRecord();
    HWND Wnd = 0;
    auto Highlight = [&](const std::string& Path) {
        FBrowsed.Selection = Path;
        if (Request.OnBrowse)
            Request.OnBrowse(Wnd, BFFM_SELCHANGED, Path);
    };
    Wnd = AllocateHWnd([&](TMessage& Message) {
        switch (Message.Msg) {
        case BFFM_SETSTATUSTEXT:
            FBrowsed.StatusText =
                Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "";
            return;
        case BFFM_ENABLEOK:
            FBrowsed.OkEnabled = Message.LParam != 0;
            return;
        case BFFM_SETSELECTION: {
            const std::string Path =
                Message.WParam != 0
                    ? std::string(
                          Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "")
                    : PathFromIDList(reinterpret_cast<LPCITEMIDLIST>(Message.LParam));
            if (!Path.empty())
                Highlight(Path);
            return;
        }
        default:
            Message.Result = DefWindowProc(Wnd, Message.Msg, Message.WParam, Message.LParam);
        }
    });
    struct TRelease {
        HWND Wnd;
        ~TRelease() { DeallocateHWnd(Wnd); }
    } Release{Wnd};
    SetWindowText(Wnd, Request.Caption.empty() ? "Browse for Folder" : Request.Caption);
    if (Request.OnBrowse)
        Request.OnBrowse(Wnd, BFFM_INITIALIZED, std::string());
    if (FBrowsed.Selection.empty())
        Highlight(Request.Value.empty() ? std::string("/") : Request.Value);

    const std::string What = "BrowseFolder \"" + Request.Text + "\"";
    if (FAnswers.empty())
        throw EDialogScriptError("No scripted answer for " + What);
    TDialogAnswer Answer = std::move(FAnswers.front());
    FAnswers.pop_front();
    if (Answer.Result != mrOk && Answer.Result != mrCancel)
        throw EDialogScriptError("Scripted answer " + std::string(ResultName(Answer.Result)) +
                                 " is not a button of " + What);
    if (Answer.Result == mrOk) {
        if (!Answer.Value.empty() && Answer.Value != FBrowsed.Selection)
            Highlight(Answer.Value);
        if (!FBrowsed.OkEnabled)
            throw EDialogScriptError("OK is disabled in " + What);
        Answer.Value = FBrowsed.Selection;
    } else {
        Answer.Value.clear();
    }
    FBrowsed.Caption = GetWindowText(Wnd);
    GetWindowRect(Wnd, FBrowsed.Bounds);
    return Answer;
}

int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags)
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::MessageBox;
    Request.Caption = Caption;
    Request.Text = Text;
    Request.Flags = Flags;
    // An unknown button group shows nothing, as the classic call fails with 0.
    if (MessageBoxButtons(Flags).empty())
        return 0;
    return DialogService().Show(Request).Result;
}

TModalResult MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx)
{
    static const char* const Captions[] = {"Warning", "Error", "Information", "Confirm", ""};
    TDialogRequest Request;
    Request.Kind = TDialogKind::MessageDlg;
    Request.Caption = DlgType >= mtWarning && DlgType <= mtCustom ? Captions[DlgType] : "";
    Request.Text = Msg;
    Request.DlgType = DlgType;
    Request.Buttons = Buttons;
    Request.HelpCtx = HelpCtx;
    return DialogService().Show(Request).Result;
}

void ShowMessage(const std::string& Msg)
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::ShowMessage;
    Request.Text = Msg;
    DialogService().Show(Request);
}

std::string InputBox(const std::string& Caption, const std::string& Prompt,
                     const std::string& Default)
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::InputBox;
    Request.Caption = Caption;
    Request.Text = Prompt;
    Request.Value = Default;
    TDialogAnswer Answer = DialogService().Show(Request);
    return Answer.Result == mrOk ? Answer.Value : Default;
}

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value)
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::InputQuery;
    Request.Caption = Caption;
    Request.Text = Prompt;
    Request.Value = Value;
    TDialogAnswer Answer = DialogService().Show(Request);
    if (Answer.Result != mrOk)
        return false;
    Value = Answer.Value;
    return true;
}
