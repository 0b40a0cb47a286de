// Drag and drop with other programs on the headless driver: this program's DoDragDrop over
// another program's drop window (copy, move, refusal, Escape, a silent peer, a throwing source),
// and another program's drag into a registered window (text, files, rich text, refusals, a
// throwing target, data read only when asked).
#include "platform/ui/ole.h"

#include "platform/rtl/clipformats.h"
#include "platform/ui/application.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/shelldata.h"
#include "platform/ui/virtualtime.h"
#include "tests/platform/ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string BlockBytes(HGLOBAL Mem)
{
    const auto* Bytes = static_cast<const char*>(GlobalLock(Mem));
    std::string Data(Bytes, GlobalSize(Mem));
    GlobalUnlock(Mem);
    return Data;
}

// Text in CF_TEXT and CF_UNICODETEXT, and files in CF_HDROP when given.
class TDragData : public TInterfacedObject<IDataObject> {
public:
    TDragData(std::string Text, std::vector<std::string> Files)
        : FText(std::move(Text)), FFiles(std::move(Files))
    {
    }
    HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override
    {
        if (QueryGetData(Format) != S_OK)
            return DV_E_FORMATETC;
        if (Format->cfFormat == CF_HDROP) {
            Medium->hGlobal = CreateDropFiles(FFiles);
        } else {
            const std::string Bytes = Format->cfFormat == CF_TEXT
                                          ? FText + '\0'
                                          : Utf8ToUtf16Le(FText) + std::string(2, '\0');
            Medium->hGlobal = GlobalAlloc(GHND, Bytes.size());
            std::memcpy(GlobalLock(Medium->hGlobal), Bytes.data(), Bytes.size());
            GlobalUnlock(Medium->hGlobal);
        }
        Medium->tymed = TYMED_HGLOBAL;
        Medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const FORMATETC* Format) override
    {
        const bool Known = Format->cfFormat == CF_TEXT || Format->cfFormat == CF_UNICODETEXT ||
                           (Format->cfFormat == CF_HDROP && !FFiles.empty());
        return Known && (Format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
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
    std::vector<std::string> FFiles;
};

// Releasing the left button drops, Escape cancels; the feedback may throw.
class TButtonSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL Escape, DWORD KeyState) override
    {
        if (Escape)
            return DRAGDROP_S_CANCEL;
        return (KeyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD Effect) override
    {
        if (ThrowOnFeedback && Effect != DROPEFFECT_NONE)
            throw Exception("the source failed");
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    bool ThrowOnFeedback = false;
};

enum TThrowAt { ThrowNowhere, ThrowInDragOver, ThrowInDrop };

// Logs its calls and what a drop brings; takes Accepts.
class TLoggingTarget : public TInterfacedObject<IDropTarget> {
public:
    explicit TLoggingTarget(std::vector<std::string>& Log) : FLog(Log) {}
    HRESULT DragEnter(IDataObject* DataObj, DWORD, TPoint, DWORD* Effect) override
    {
        FLog.push_back("enter");
        Entered = TComPtr<IDataObject>(DataObj);
        *Effect &= Accepts;
        return S_OK;
    }
    HRESULT DragOver(DWORD, TPoint, DWORD* Effect) override
    {
        if (Throw == ThrowInDragOver)
            throw Exception("the target failed");
        FLog.push_back("over");
        *Effect &= Accepts;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        FLog.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject* DataObj, DWORD, TPoint, DWORD* Effect) override
    {
        if (Throw == ThrowInDrop)
            throw Exception("the drop failed");
        FLog.push_back("drop");
        const UINT Rtf = RegisterClipboardFormat("Rich Text Format");
        for (UINT Format : {UINT(CF_TEXT), UINT(CF_UNICODETEXT), UINT(CF_HDROP), Rtf}) {
            const FORMATETC Wanted{static_cast<CLIPFORMAT>(Format), nullptr, DVASPECT_CONTENT, -1,
                                   TYMED_HGLOBAL};
            STGMEDIUM Medium;
            if (DataObj->GetData(&Wanted, &Medium) != S_OK)
                continue;
            std::string Bytes = BlockBytes(Medium.hGlobal);
            if (Format == CF_HDROP) {
                std::string Names;
                for (const std::string& File : ReadDropFiles(Bytes.data(), Bytes.size()))
                    Names += (Names.empty() ? "" : "|") + File;
                FLog.push_back("files " + Names);
            } else if (Format == CF_UNICODETEXT) {
                FLog.push_back("unicode " + Utf16LeToUtf8(Bytes.data(), Bytes.size() - 2));
            } else {
                FLog.push_back((Format == CF_TEXT ? "text " : "rtf ") +
                               Bytes.substr(0, Bytes.find('\0')));
            }
            ReleaseStgMedium(&Medium);
        }
        *Effect &= Accepts;
        return S_OK;
    }
    DWORD Accepts = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    TThrowAt Throw = ThrowNowhere;
    TComPtr<IDataObject> Entered; // kept past the drag

private:
    std::vector<std::string>& FLog;
};

// A headless driver of the test's own, with the application on it.
class ForeignDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        Fresh();
    }
    void TearDown() override
    {
        OleUninitialize();
        App.reset();
        Application = nullptr;
        SetDisplayDriver(nullptr);
    }
    // A new driver (no drop windows of other programs yet) and application.
    void Fresh()
    {
        App.reset();
        Application = nullptr;
        auto Owned = std::make_unique<THeadlessDriver>();
        Driver = Owned.get();
        SetDisplayDriver(std::move(Owned));
        App = std::make_unique<TApplication>(nullptr);
        Application = App.get();
        App->OnException = [this](TObject*, const Exception& E) { Failure = E.Message(); };
        Failure.clear();
    }

    THeadlessDriver* Driver = nullptr;
    std::unique_ptr<TApplication> App;
    std::string Failure;
};

TEST_F(ForeignDrag, DoDragDropOverAnotherProgramsDropWindow)
{
    enum TEnd { Release, Escape, Wait };
    struct TCase {
        const char* Name;
        DWORD OkEffects;
        DWORD Accepts;
        bool Silent;
        bool Finishes;
        bool ThrowOnFeedback;
        TEnd End;
        HRESULT Result;
        DWORD Effect;
        std::vector<std::string> Log;
        const char* Failure;
    };
    const std::string Enter = "them enter text/uri-list text/plain;charset=utf-8 UTF8_STRING";
    const std::vector<TCase> Cases = {
        {"a copy",
         DROPEFFECT_COPY,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         false,
         true,
         false,
         Release,
         DRAGDROP_S_DROP,
         DROPEFFECT_COPY,
         {Enter, "them position copy", "them drop", "them read caf\xc3\xa9"},
         ""},
        {"a move",
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         false,
         true,
         false,
         Release,
         DRAGDROP_S_DROP,
         DROPEFFECT_MOVE,
         {Enter, "them position move", "them drop", "them read caf\xc3\xa9"},
         ""},
        {"a move taken as a copy",
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         DROPEFFECT_COPY,
         false,
         true,
         false,
         Release,
         DRAGDROP_S_DROP,
         DROPEFFECT_COPY,
         {Enter, "them position move", "them drop", "them read caf\xc3\xa9"},
         ""},
        {"a refusal",
         DROPEFFECT_COPY,
         DROPEFFECT_NONE,
         false,
         true,
         false,
         Release,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {Enter, "them position copy", "them leave"},
         ""},
        {"Escape",
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         false,
         true,
         false,
         Escape,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {Enter, "them position copy", "them leave"},
         ""},
        {"a peer that never answers",
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         true,
         true,
         false,
         Wait,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {Enter, "them position copy", "them leave"},
         ""},
        {"a peer that never finishes the drop",
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         false,
         false,
         false,
         Release,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {Enter, "them position copy", "them drop", "them read caf\xc3\xa9"},
         ""},
        {"a throwing source",
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         false,
         true,
         true,
         Release,
         E_UNEXPECTED,
         DROPEFFECT_NONE,
         {Enter, "them position copy", "them leave"},
         "the source failed"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TVirtualTime Clock;
        Fresh();
        Driver->PlayForeignDropWindow({"them", TRect{400, 0, 600, 100}, Case.Accepts, Case.Silent,
                                       Case.Finishes, "text/plain;charset=utf-8"});
        TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                              TRect{0, 0, 200, 100});
        InjectMouseMove(Ours.Handle, 50, 50);
        InjectMouseButton(Ours.Handle, 0, true, 50, 50);
        PumpPending();
        Ours.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            if (Msg != WM_USER)
                return DefWindowProc(Wnd, Msg, WParam, LParam);
            InjectMouseMove(Ours.Handle, 450, 50);
            InjectMouseMove(Ours.Handle, 460, 50);
            if (Case.End == Escape)
                InjectKeyPress(VK_ESCAPE);
            if (Case.End != Wait)
                InjectMouseButton(Ours.Handle, 0, false, 460, 50);
            return 0;
        };
        PostMessage(Ours.Handle, WM_USER, 0, 0);
        TComPtr<IDataObject> Data(new TDragData("caf\xc3\xa9", {"/tmp/a b.txt"}));
        TComPtr<TButtonSource> Source(new TButtonSource);
        Source->ThrowOnFeedback = Case.ThrowOnFeedback;
        const std::uint32_t Start = Clock.Now();
        DWORD Effect = 0xFF;
        const HRESULT Result = DoDragDrop(Data.Get(), Source.Get(), Case.OkEffects, &Effect);
        EXPECT_EQ(Result, Case.Result);
        EXPECT_EQ(Effect, Case.Effect);
        std::vector<std::string> Log = Driver->ForeignDragLog();
        // Repeated positions are one step here.
        Log.erase(std::unique(Log.begin(), Log.end()), Log.end());
        EXPECT_EQ(Log, Case.Log);
        EXPECT_EQ(Failure, Case.Failure);
        EXPECT_EQ(GetCapture(), HWND(0));
        EXPECT_FALSE(Driver->ForeignDragState().Over) << "the offer is withdrawn";
        const bool TimedOut = Case.Silent || !Case.Finishes;
        EXPECT_EQ(Clock.Now() - Start >= 4000, TimedOut) << "waited " << Clock.Now() - Start;
        EXPECT_LT(Clock.Now() - Start, 10000u);
        InjectMouseButton(Ours.Handle, 0, false, 460, 50);
        PumpPending();
    }
}

TEST_F(ForeignDrag, LeavingAnotherProgramsWindowForARegisteredOneTellsBoth)
{
    Driver->PlayForeignDropWindow(
        {"them", TRect{400, 0, 600, 100}, DROPEFFECT_COPY, false, true, ""});
    std::vector<std::string> Log;
    TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{0, 0, 200, 100});
    TComPtr<TLoggingTarget> Target(new TLoggingTarget(Log));
    ASSERT_EQ(RegisterDragDrop(Ours.Handle, Target.Get()), S_OK);
    InjectMouseMove(Ours.Handle, 50, 50);
    InjectMouseButton(Ours.Handle, 0, true, 50, 50);
    PumpPending();
    Ours.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg != WM_USER)
            return DefWindowProc(Wnd, Msg, WParam, LParam);
        InjectMouseMove(Ours.Handle, 450, 50);
        InjectMouseMove(Ours.Handle, 60, 50);
        InjectMouseButton(Ours.Handle, 0, false, 60, 50);
        return 0;
    };
    PostMessage(Ours.Handle, WM_USER, 0, 0);
    TComPtr<IDataObject> Data(new TDragData("x", {}));
    TComPtr<TButtonSource> Source(new TButtonSource);
    DWORD Effect = 0;
    EXPECT_EQ(DoDragDrop(Data.Get(), Source.Get(), DROPEFFECT_COPY, &Effect), DRAGDROP_S_DROP);
    EXPECT_EQ(Effect, DROPEFFECT_COPY);
    EXPECT_EQ(Driver->ForeignDragLog(),
              (std::vector<std::string>{"them enter text/plain;charset=utf-8 UTF8_STRING",
                                        "them position copy", "them leave"}));
    EXPECT_EQ(Log,
              (std::vector<std::string>{"enter", "leave", "enter", "drop", "text x", "unicode x"}));
    EXPECT_EQ(RevokeDragDrop(Ours.Handle), S_OK);
}

// Another program's drag as the driver hands it on: its targets, and their bytes when read.
struct TPeer {
    std::vector<std::string> Targets;
    std::map<std::string, std::string> Data;
    std::vector<std::string> Reads;

    TForeignDragEvent Step(TForeignDragStep Kind, TPoint Point, DWORD Effect)
    {
        TForeignDragEvent Event;
        Event.Step = Kind;
        Event.Point = Point;
        Event.Effect = Effect;
        Event.Targets = Targets;
        Event.Read = [this](const std::string& Target, std::string& Bytes) {
            Reads.push_back(Target);
            const auto Found = Data.find(Target);
            if (Found == Data.end())
                return false;
            Bytes = Found->second;
            return true;
        };
        return Event;
    }
};

TEST_F(ForeignDrag, AnotherProgramsDragLandsInARegisteredWindow)
{
    struct TCase {
        const char* Name;
        std::map<std::string, std::string> Data;
        DWORD Asked;
        DWORD Accepts;
        TPoint Over;
        DWORD Answer;
        std::vector<std::string> Log;
    };
    const std::string Rtf = "{\\rtf1 bold}";
    const std::vector<TCase> Cases = {
        {"text, copied",
         {{"UTF8_STRING", "gr\xc3\xbc\xc3\x9f"},
          {"text/plain;charset=utf-8", "gr\xc3\xbc\xc3\x9f"}},
         DROPEFFECT_COPY,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         TPoint{50, 50},
         DROPEFFECT_COPY,
         {"enter", "drop", "text gr\xc3\xbc\xc3\x9f", "unicode gr\xc3\xbc\xc3\x9f"}},
        {"files, moved: only local file URIs, percent-decoded",
         {{"text/uri-list", "file:///tmp/a%20b%E2%82%AC.txt\r\nhttp://host/x\r\n"
                            "file://elsewhere.example/etc/passwd\r\nfile:///tmp/c\r\n"}},
         DROPEFFECT_MOVE,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         TPoint{50, 50},
         DROPEFFECT_MOVE,
         {"enter", "drop", "files /tmp/a b\xe2\x82\xac.txt|/tmp/c"}},
        {"a move taken as a copy",
         {{"UTF8_STRING", "t"}},
         DROPEFFECT_MOVE,
         DROPEFFECT_COPY,
         TPoint{50, 50},
         DROPEFFECT_COPY,
         {"enter", "drop", "text t", "unicode t"}},
        {"rich text",
         {{"text/rtf", Rtf}},
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         TPoint{50, 50},
         DROPEFFECT_COPY,
         {"enter", "drop", "rtf " + Rtf}},
        {"a uri-list without local files brings no files",
         {{"text/uri-list", "http://host/x\r\nfile:///tmp/%00x\r\n"}},
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         TPoint{50, 50},
         DROPEFFECT_COPY,
         {"enter", "drop"}},
        {"a refusing target",
         {{"UTF8_STRING", "t"}},
         DROPEFFECT_COPY,
         DROPEFFECT_NONE,
         TPoint{50, 50},
         DROPEFFECT_NONE,
         {"enter", "leave"}},
        {"outside every registered window",
         {{"UTF8_STRING", "t"}},
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         TPoint{250, 50},
         DROPEFFECT_NONE,
         {}},
        {"a peer whose data does not come",
         {},
         DROPEFFECT_COPY,
         DROPEFFECT_COPY,
         TPoint{50, 50},
         DROPEFFECT_COPY,
         {"enter", "drop"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::vector<std::string> Log;
        TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                              TRect{0, 0, 200, 100});
        TRecordingWindow Other(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                               TRect{200, 0, 300, 100});
        TComPtr<TLoggingTarget> Target(new TLoggingTarget(Log));
        Target->Accepts = Case.Accepts;
        ASSERT_EQ(RegisterDragDrop(Ours.Handle, Target.Get()), S_OK);
        TPeer Peer;
        for (const auto& Entry : Case.Data)
            Peer.Targets.push_back(Entry.first);
        if (Peer.Targets.empty())
            Peer.Targets = {"UTF8_STRING"};
        Peer.Data = Case.Data;
        const HWND Top = Case.Over.X < 200 ? Ours.Handle : Other.Handle;
        auto Step = [&](TForeignDragStep Kind) {
            TForeignDragEvent Event = Peer.Step(Kind, Case.Over, Case.Asked);
            Event.Wnd = Top;
            const DWORD Answer = InjectForeignDrag(Event);
            EndForeignDragStep();
            return Answer;
        };
        EXPECT_EQ(Step(TForeignDragStep::Enter), DWORD(DROPEFFECT_NONE));
        EXPECT_EQ(Step(TForeignDragStep::Over), Case.Answer);
        EXPECT_TRUE(Peer.Reads.empty()) << "nothing is read before the target asks";
        EXPECT_EQ(Step(TForeignDragStep::Drop), Case.Answer);
        EXPECT_EQ(Log, Case.Log);
        std::vector<std::string> Once = Peer.Reads;
        std::sort(Once.begin(), Once.end());
        EXPECT_EQ(std::adjacent_find(Once.begin(), Once.end()), Once.end())
            << "each target is read once";
        EXPECT_EQ(Failure, "");
        EXPECT_EQ(RevokeDragDrop(Ours.Handle), S_OK);
    }
}

TEST_F(ForeignDrag, TheDataOfALeftDragIsNoLongerRead)
{
    std::vector<std::string> Log;
    TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                          TRect{0, 0, 200, 100});
    TComPtr<TLoggingTarget> Target(new TLoggingTarget(Log));
    ASSERT_EQ(RegisterDragDrop(Ours.Handle, Target.Get()), S_OK);
    TPeer Peer{{"UTF8_STRING"}, {{"UTF8_STRING", "t"}}, {}};
    for (TForeignDragStep Kind :
         {TForeignDragStep::Enter, TForeignDragStep::Over, TForeignDragStep::Leave}) {
        TForeignDragEvent Event = Peer.Step(Kind, TPoint{50, 50}, DROPEFFECT_COPY);
        Event.Wnd = Ours.Handle;
        InjectForeignDrag(Event);
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"enter", "leave"}));
    ASSERT_TRUE(Target->Entered);
    // A target that kept the data object past the drag finds it empty.
    TComPtr<IDataObject> Kept = Target->Entered;
    const FORMATETC Text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(Kept->QueryGetData(&Text), S_OK);
    STGMEDIUM Medium;
    EXPECT_EQ(Kept->GetData(&Text, &Medium), DV_E_FORMATETC);
    EXPECT_TRUE(Peer.Reads.empty());
    EXPECT_EQ(RevokeDragDrop(Ours.Handle), S_OK);
}

TEST_F(ForeignDrag, ATargetsExceptionEndsTheDragAndReachesTheHandlerAfterTheAnswer)
{
    struct TCase {
        const char* Name;
        TThrowAt Throw;
        std::vector<std::string> Log;
        const char* Failure;
    };
    const std::vector<TCase> Cases = {
        {"in DragOver", ThrowInDragOver, {"enter", "leave"}, "the target failed"},
        {"in Drop", ThrowInDrop, {"enter", "over", "leave"}, "the drop failed"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Failure.clear();
        std::vector<std::string> Log;
        TRecordingWindow Ours(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                              TRect{0, 0, 200, 100});
        TComPtr<TLoggingTarget> Target(new TLoggingTarget(Log));
        Target->Throw = Case.Throw;
        ASSERT_EQ(RegisterDragDrop(Ours.Handle, Target.Get()), S_OK);
        TPeer Peer{{"UTF8_STRING"}, {{"UTF8_STRING", "t"}}, {}};
        DWORD Answer = DROPEFFECT_COPY;
        for (TForeignDragStep Kind : {TForeignDragStep::Enter, TForeignDragStep::Over,
                                      TForeignDragStep::Over, TForeignDragStep::Drop}) {
            TForeignDragEvent Event = Peer.Step(Kind, TPoint{50, 50}, DROPEFFECT_COPY);
            Event.Wnd = Ours.Handle;
            Answer = InjectForeignDrag(Event);
            if (!Failure.empty())
                break;
            if (Answer == DROPEFFECT_NONE && Kind != TForeignDragStep::Enter) {
                // The peer has the refusal before the handler hears of the failure.
                EXPECT_EQ(Failure, "");
                EndForeignDragStep();
                EXPECT_EQ(Failure, Case.Failure);
                break;
            }
            EndForeignDragStep();
        }
        EXPECT_EQ(Answer, DWORD(DROPEFFECT_NONE));
        EXPECT_EQ(Log, Case.Log);
        EXPECT_EQ(Failure, Case.Failure);
        EXPECT_EQ(RevokeDragDrop(Ours.Handle), S_OK);
    }
}

} // namespace
