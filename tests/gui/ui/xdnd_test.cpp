// Drag and drop with another program on a private X server: Tk's tkdnd under wish, driven by
// xdotool (press, stepped moves, release). Text and files dragged from tkdnd land in a
// registered window as CF_TEXT, CF_UNICODETEXT and CF_HDROP; this program's drag of text drops
// into a tkdnd window, with copy and move.
#include "tests/gui/xserver.h"

#include "platform/rtl/clipformats.h"
#include "platform/ui/ole.h"
#include "platform/ui/shelldata.h"
#include "tests/platform/ui/uitest.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

const TRect OurWindow{100, 100, 300, 250};
const TRect TheirWindow{600, 100, 800, 250};

std::string Geometry(const TRect& R)
{
    return std::to_string(R.Width()) + "x" + std::to_string(R.Height()) + "+" +
           std::to_string(R.Left) + "+" + std::to_string(R.Top);
}

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    return Bytes.str();
}

std::string BlockText(HGLOBAL Mem)
{
    const auto* Bytes = static_cast<const char*>(GlobalLock(Mem));
    std::string Text(Bytes, GlobalSize(Mem));
    GlobalUnlock(Mem);
    return Text;
}

// Records what a drop brings: the effects offered and the data in each format.
class TRecordingTarget : public TInterfacedObject<IDropTarget> {
public:
    HRESULT DragEnter(IDataObject*, DWORD, TPoint, DWORD* Effect) override
    {
        ++Entered;
        *Effect &= DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT DragOver(DWORD, TPoint, DWORD* Effect) override
    {
        *Effect &= DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject* DataObj, DWORD, TPoint, DWORD* Effect) override
    {
        ++Drops;
        Offered = *Effect;
        for (CLIPFORMAT Format :
             {CLIPFORMAT(CF_TEXT), CLIPFORMAT(CF_UNICODETEXT), CLIPFORMAT(CF_HDROP)}) {
            const FORMATETC Wanted{Format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            STGMEDIUM Medium;
            if (DataObj->GetData(&Wanted, &Medium) != S_OK)
                continue;
            if (Format == CF_TEXT)
                Text = BlockText(Medium.hGlobal).c_str();
            else if (Format == CF_UNICODETEXT)
                Unicode = BlockText(Medium.hGlobal);
            else
                Files = ReadDropFiles(GlobalLock(Medium.hGlobal), GlobalSize(Medium.hGlobal));
            if (Format == CF_HDROP)
                GlobalUnlock(Medium.hGlobal);
            ReleaseStgMedium(&Medium);
        }
        *Effect &= (*Effect & DROPEFFECT_MOVE) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
        return S_OK;
    }

    int Entered = 0;
    int Drops = 0;
    DWORD Offered = 0;
    std::string Text;
    std::string Unicode;
    std::vector<std::string> Files;
};

// Text in CF_TEXT and CF_UNICODETEXT.
class TTextData : public TInterfacedObject<IDataObject> {
public:
    explicit TTextData(std::string Text) : FText(std::move(Text)) {}
    HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override
    {
        if (QueryGetData(Format) != S_OK)
            return DV_E_FORMATETC;
        const std::string Bytes = Format->cfFormat == CF_TEXT
                                      ? FText + '\0'
                                      : Utf8ToUtf16Le(FText) + std::string(2, '\0');
        Medium->hGlobal = GlobalAlloc(GHND, Bytes.size());
        std::memcpy(GlobalLock(Medium->hGlobal), Bytes.data(), Bytes.size());
        GlobalUnlock(Medium->hGlobal);
        Medium->tymed = TYMED_HGLOBAL;
        Medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const FORMATETC* Format) override
    {
        return (Format->cfFormat == CF_TEXT || Format->cfFormat == CF_UNICODETEXT) &&
                       (Format->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** Enum) override
    {
        *Enum = nullptr;
        return E_NOTIMPL;
    }
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::string FText;
};

// Releasing the left button drops.
class TButtonSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL Escape, DWORD KeyState) override
    {
        if (Escape)
            return DRAGDROP_S_CANCEL;
        return (KeyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class XdndTkdnd : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const auto Probe = RunTool(Display, {"wish"}, "puts [package require tkdnd]; exit\n");
        if (Probe.Status != 0 || Probe.Output.empty())
            GTEST_SKIP() << "wish with tkdnd is not installed (scripts/setup --test)";
        Report = testing::TempDir() + "xdnd_report_" + std::to_string(getpid());
        std::remove(Report.c_str());
        OleInitialize(nullptr);
    }

    void TearDown() override
    {
        EndWish();
        if (!Report.empty())
            std::remove(Report.c_str());
        if (!FFile.empty())
            std::remove(FFile.c_str());
        OleUninitialize();
        XServerAppTest::TearDown();
    }

    // Starts a tkdnd script of tests/fixtures/xdnd/ at Where and waits until it is shown.
    void StartWish(const std::string& Script, const TRect& Where, std::vector<std::string> Args)
    {
        std::vector<std::string> Argv{"wish", std::string(TARNWICK_FIXTURES) + "/xdnd/" + Script,
                                      Report, Geometry(Where)};
        Argv.insert(Argv.end(), Args.begin(), Args.end());
        const pid_t Pid = guitest::StartTool(Display, Argv, "");
        ASSERT_NE(Pid, 0);
        FTools.push_back(Pid);
        ASSERT_TRUE(PumpUntil([&] {
            return ReadFile(Report).find("ready\n") != std::string::npos;
        })) << Script
            << " did not show its window";
    }

    // The tkdnd windows stop answering: their program is stopped.
    void StopWish()
    {
        for (pid_t Pid : FTools)
            kill(Pid, SIGSTOP);
    }

    void EndWish()
    {
        for (pid_t Pid : FTools) {
            kill(Pid, SIGCONT);
            kill(Pid, SIGTERM);
            guitest::EndTool(Pid);
        }
        FTools.clear();
    }

    // The pointer presses at From, moves to To in steps, and releases there.
    static std::vector<std::string> DragGesture(TPoint From, TPoint To)
    {
        std::vector<std::string> Args{"xdotool",
                                      "mousemove",
                                      std::to_string(From.X),
                                      std::to_string(From.Y),
                                      "mousedown",
                                      "1",
                                      "sleep",
                                      "0.3"};
        const int Steps = 12;
        for (int I = 1; I <= Steps; ++I) {
            Args.insert(Args.end(),
                        {"mousemove", std::to_string(From.X + (To.X - From.X) * I / Steps),
                         std::to_string(From.Y + (To.Y - From.Y) * I / Steps), "sleep", "0.05"});
        }
        Args.insert(Args.end(), {"sleep", "0.3", "mouseup", "1"});
        return Args;
    }

    std::string TempFile(const std::string& Name)
    {
        FFile = testing::TempDir() + Name;
        std::ofstream(FFile) << "dragged";
        return FFile;
    }

    std::string Report;

private:
    std::vector<pid_t> FTools;
    std::string FFile;
};

TPoint Middle(const TRect& R)
{
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

TEST_F(XdndTkdnd, TextAndAFileFromTkdndLandInARegisteredWindow)
{
    struct TCase {
        const char* Name;
        const char* Action; // what tkdnd asks for
        bool Files;
        DWORD Offered; // what the drop target is offered
    };
    const std::vector<TCase> Cases = {
        {"text, copied", "copy", false, DROPEFFECT_COPY},
        {"a file, moved", "move", true, DROPEFFECT_COPY | DROPEFFECT_MOVE},
    };
    TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0, OurWindow);
    const std::string Text = "h\xc3\xa9llo w\xc3\xb6rld";
    const std::string File = TempFile("xdnd dragged \xe2\x82\xac.txt");
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::remove(Report.c_str());
        TComPtr<TRecordingTarget> Target(new TRecordingTarget);
        ASSERT_EQ(RegisterDragDrop(Ours.Handle, Target.Get()), S_OK);
        StartWish("dragsource.tcl", TheirWindow,
                  {Case.Action, Case.Files ? "files" : "text", Case.Files ? File : Text});
        std::remove(Report.c_str());
        const auto Gesture = RunTool(Display, DragGesture(Middle(TheirWindow), Middle(OurWindow)));
        EXPECT_EQ(Gesture.Status, 0);
        ASSERT_TRUE(PumpUntil([&] { return Target->Drops > 0; })) << ReadFile(Report);
        EXPECT_EQ(Target->Drops, 1);
        EXPECT_EQ(Target->Offered, Case.Offered);
        if (Case.Files) {
            EXPECT_EQ(Target->Files, std::vector<std::string>{File});
        } else {
            EXPECT_EQ(Target->Text, Text);
            EXPECT_EQ(Target->Unicode, Utf8ToUtf16Le(Text) + std::string(2, '\0'));
        }
        EndWish();
        EXPECT_EQ(RevokeDragDrop(Ours.Handle), S_OK);
    }
}

TEST_F(XdndTkdnd, OurDragOfTextDropsIntoATkdndWindow)
{
    struct TCase {
        const char* Name;
        DWORD OkEffects;
        DWORD Effect;
        const char* Action; // what the tkdnd window answers
    };
    const std::vector<TCase> Cases = {
        {"a copy", DROPEFFECT_COPY, DROPEFFECT_COPY, "copy"},
        {"a move", DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE, "move"},
    };
    const std::string Text = "dragged t\xc3\xa9xt";
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::remove(Report.c_str());
        StartWish("droptarget.tcl", TheirWindow, {Case.Action});
        std::remove(Report.c_str());
        bool Done = false;
        HRESULT Result = S_OK;
        DWORD Effect = 0xFF;
        TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0, OurWindow);
        Ours.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            if (Msg == WM_LBUTTONDOWN) {
                // The drag starts once the press has been handled, as a control's would.
                PostMessage(Wnd, WM_USER, 0, 0);
            } else if (Msg == WM_USER) {
                TComPtr<IDataObject> Data(new TTextData(Text));
                TComPtr<IDropSource> Source(new TButtonSource);
                Result = DoDragDrop(Data.Get(), Source.Get(), Case.OkEffects, &Effect);
                Done = true;
            }
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        };
        guitest::Pump(200);
        const pid_t Tool =
            guitest::StartTool(Display, DragGesture(Middle(OurWindow), Middle(TheirWindow)), "");
        ASSERT_NE(Tool, 0);
        ASSERT_TRUE(PumpUntil([&] { return Done; }));
        EXPECT_EQ(guitest::EndTool(Tool), 0);
        EXPECT_EQ(Result, DRAGDROP_S_DROP);
        EXPECT_EQ(Effect, Case.Effect);
        EXPECT_EQ(GetCapture(), HWND(0));
        ASSERT_TRUE(PumpUntil([&] { return ReadFile(Report).find("data ") != std::string::npos; }));
        EXPECT_EQ(ReadFile(Report), std::string("type {text/plain;charset=utf-8}\naction ") +
                                        Case.Action + "\ndata {" + Text + "}\n");
        EndWish();
    }
}

TEST_F(XdndTkdnd, APeerThatStopsAnsweringEndsOurDragAfterATimeOut)
{
    StartWish("droptarget.tcl", TheirWindow, {"copy"});
    StopWish();
    std::remove(Report.c_str());
    bool Done = false;
    HRESULT Result = S_OK;
    DWORD Effect = 0xFF;
    auto Started = std::chrono::steady_clock::now();
    auto Ended = Started;
    TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0, OurWindow);
    Ours.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg == WM_LBUTTONDOWN) {
            PostMessage(Wnd, WM_USER, 0, 0);
        } else if (Msg == WM_USER) {
            TComPtr<IDataObject> Data(new TTextData("unread"));
            TComPtr<IDropSource> Source(new TButtonSource);
            Started = std::chrono::steady_clock::now();
            Result = DoDragDrop(Data.Get(), Source.Get(), DROPEFFECT_COPY, &Effect);
            Ended = std::chrono::steady_clock::now();
            Done = true;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    };
    guitest::Pump(200);
    const pid_t Tool =
        guitest::StartTool(Display, DragGesture(Middle(OurWindow), Middle(TheirWindow)), "");
    ASSERT_NE(Tool, 0);
    ASSERT_TRUE(PumpUntil([&] { return Done; }));
    EXPECT_EQ(guitest::EndTool(Tool), 0);
    EXPECT_EQ(Result, DRAGDROP_S_CANCEL);
    EXPECT_EQ(Effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(GetCapture(), HWND(0));
    const auto Waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Ended - Started).count();
    EXPECT_GE(Waited, 4000);
    EXPECT_LT(Waited, 12000);
    EXPECT_EQ(ReadFile(Report), "") << "nothing was dropped";
}

} // namespace
