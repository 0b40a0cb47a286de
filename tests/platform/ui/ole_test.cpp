// The object layer of drag and drop: reference counts and interface look-up, format
// enumeration, storage media, initialisation, registration per window, and DoDragDrop between
// two registered windows with copy, move, Escape, a refusing target and handlers that throw.
#include "platform/ui/ole.h"

#include "platform/rtl/clipformats.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "tests/platform/ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const FORMATETC TextFormat{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
const FORMATETC UnicodeFormat{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};

class TFormatList : public TInterfacedObject<IEnumFORMATETC> {
public:
    explicit TFormatList(std::vector<FORMATETC> Formats, ULONG Pos = 0)
        : FFormats(std::move(Formats)), FPos(Pos)
    {
    }
    HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override
    {
        ULONG Got = 0;
        while (Got < Count && FPos < FFormats.size())
            Formats[Got++] = FFormats[FPos++];
        if (Fetched != nullptr)
            *Fetched = Got;
        return Got == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Count) override
    {
        const bool Whole = FPos + Count <= FFormats.size();
        FPos = Whole ? FPos + Count : static_cast<ULONG>(FFormats.size());
        return Whole ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        FPos = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC** Enum) override
    {
        *Enum = new TFormatList(FFormats, FPos);
        (*Enum)->AddRef();
        return S_OK;
    }

private:
    std::vector<FORMATETC> FFormats;
    ULONG FPos;
};

// Text in CF_TEXT; counts its own destruction.
class TTextData : public TInterfacedObject<IDataObject> {
public:
    TTextData(std::string Text, int* Destroyed) : FText(std::move(Text)), FDestroyed(Destroyed) {}
    ~TTextData() override
    {
        if (FDestroyed != nullptr)
            ++*FDestroyed;
    }
    HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override
    {
        if (QueryGetData(Format) != S_OK)
            return DV_E_FORMATETC;
        const HGLOBAL Mem = GlobalAlloc(GHND, FText.size() + 1);
        if (Mem == 0)
            return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(Mem), FText.c_str(), FText.size() + 1);
        GlobalUnlock(Mem);
        Medium->tymed = TYMED_HGLOBAL;
        Medium->hGlobal = Mem;
        Medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const FORMATETC* Format) override
    {
        if (Format->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if ((Format->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_TYMED;
        return Format->cfFormat == CF_TEXT ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* Out) override
    {
        Out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return DV_E_FORMATETC; }
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override
    {
        if (Direction != DATADIR_GET)
            return E_NOTIMPL;
        *Enum = new TFormatList({TextFormat});
        (*Enum)->AddRef();
        return S_OK;
    }
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA** Enum) override
    {
        *Enum = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::string FText;
    int* FDestroyed;
};

// The classic source: Escape cancels, releasing the left button drops.
class TTestSource : public TInterfacedObject<IDropSource> {
public:
    HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override
    {
        if (EscapePressed)
            return DRAGDROP_S_CANCEL;
        if ((KeyState & MK_LBUTTON) == 0)
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT GiveFeedback(DWORD Effect) override
    {
        Feedback.push_back(Effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    std::vector<DWORD> Feedback;
};

enum TThrowAt { ThrowNowhere, ThrowInDragOver, ThrowInDrop };

// Logs its calls; offers Offer and reads the text on a drop.
class TTestTarget : public TInterfacedObject<IDropTarget> {
public:
    TTestTarget(std::vector<std::string>& Log, std::string Name) : FLog(Log), FName(std::move(Name))
    {
    }
    HRESULT DragEnter(IDataObject*, DWORD, TPoint, DWORD* Effect) override
    {
        FLog.push_back(FName + " enter");
        *Effect &= Offer;
        return S_OK;
    }
    HRESULT DragOver(DWORD, TPoint, DWORD* Effect) override
    {
        if (FLog.empty() || FLog.back() != FName + " over")
            FLog.push_back(FName + " over");
        if (Throw == ThrowInDragOver)
            throw Exception("the target failed");
        *Effect &= Offer;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        FLog.push_back(FName + " leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject* DataObj, DWORD, TPoint, DWORD* Effect) override
    {
        if (Throw == ThrowInDrop)
            throw Exception("the drop failed");
        STGMEDIUM Medium;
        std::string Text = "?";
        if (DataObj->GetData(&TextFormat, &Medium) == S_OK) {
            Text = static_cast<const char*>(GlobalLock(Medium.hGlobal));
            GlobalUnlock(Medium.hGlobal);
            ReleaseStgMedium(&Medium);
        }
        FLog.push_back(FName + " drop " + Text);
        *Effect &= Offer;
        return S_OK;
    }
    DWORD Offer = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    TThrowAt Throw = ThrowNowhere;

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

} // namespace

TEST(Ole, TheLastReleaseFreesTheObjectAndQueryInterfaceFindsOnlyItsInterfaces)
{
    int Destroyed = 0;
    auto* Data = new TTextData("x", &Destroyed);
    EXPECT_EQ(Data->AddRef(), 1u);
    IUnknown* Unknown = nullptr;
    ASSERT_EQ(Data->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&Unknown)), S_OK);
    EXPECT_EQ(Data->RefCount(), 2u);
    IDataObject* AsData = nullptr;
    ASSERT_EQ(Unknown->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&AsData)), S_OK);
    EXPECT_EQ(AsData, static_cast<IDataObject*>(Data));
    void* Other = reinterpret_cast<void*>(1);
    EXPECT_EQ(Data->QueryInterface(IID_IDropTarget, &Other), E_NOINTERFACE);
    EXPECT_EQ(Other, nullptr);
    EXPECT_EQ(Data->QueryInterface(IID_IDataObject, nullptr), E_POINTER);
    EXPECT_EQ(AsData->Release(), 2u);
    EXPECT_EQ(Unknown->Release(), 1u);
    EXPECT_EQ(Destroyed, 0);
    EXPECT_EQ(Data->Release(), 0u);
    EXPECT_EQ(Destroyed, 1);
}

TEST(Ole, AFormatEnumeratorStepsSkipsResetsAndClones)
{
    TComPtr<IEnumFORMATETC> Enum(new TFormatList({TextFormat, UnicodeFormat}));
    FORMATETC Got[10];
    ULONG Fetched = 99;
    EXPECT_EQ(Enum->Next(10, Got, &Fetched), S_FALSE);
    EXPECT_EQ(Fetched, 2u);
    EXPECT_EQ(Got[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(Enum->Reset(), S_OK);
    EXPECT_EQ(Enum->Skip(1), S_OK);
    TComPtr<IEnumFORMATETC> Clone;
    ASSERT_EQ(Enum->Clone(Clone.Put()), S_OK);
    EXPECT_EQ(Clone->Next(1, Got, &Fetched), S_OK);
    EXPECT_EQ(Got[0].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(Enum->Skip(5), S_FALSE);
    EXPECT_EQ(Enum->Next(1, Got, &Fetched), S_FALSE);
    EXPECT_EQ(Fetched, 0u);
}

TEST(Ole, ReleaseStgMediumFreesTheBlockOrReleasesItsKeeper)
{
    const std::size_t Before = GlobalBlockCount();
    TComPtr<IDataObject> Data(new TTextData("hello", nullptr));
    STGMEDIUM Medium;
    ASSERT_EQ(Data->GetData(&TextFormat, &Medium), S_OK);
    EXPECT_EQ(GlobalBlockCount(), Before + 1);
    ReleaseStgMedium(&Medium);
    EXPECT_EQ(GlobalBlockCount(), Before);
    EXPECT_EQ(Medium.tymed, TYMED_NULL);
    EXPECT_EQ(Data->GetData(&UnicodeFormat, &Medium), DV_E_FORMATETC);

    int Destroyed = 0;
    auto* Keeper = new TTextData("", &Destroyed);
    Keeper->AddRef();
    STGMEDIUM Kept;
    Kept.tymed = TYMED_HGLOBAL;
    const HGLOBAL Block = GlobalAlloc(GHND, 4);
    Kept.hGlobal = Block;
    Kept.pUnkForRelease = Keeper;
    ReleaseStgMedium(&Kept);
    EXPECT_EQ(Destroyed, 1);
    EXPECT_EQ(GlobalBlockCount(), Before + 1); // the keeper's block is its own to free
    EXPECT_EQ(GlobalFree(Block), HGLOBAL(0));
}

TEST(Ole, OleInitializeAnswersSFalseWhenAlreadyInitialised)
{
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    OleUninitialize();
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(Ole, RegisterDragDropHoldsOneTargetPerWindowUntilRevoked)
{
    std::vector<std::string> Log;
    TRecordingWindow Window;
    auto* Target = new TTestTarget(Log, "t");
    Target->AddRef();
    EXPECT_EQ(RegisterDragDrop(Window.Handle, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(HWND(0x7FFFFFF), Target), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RegisterDragDrop(Window.Handle, Target), S_OK);
    EXPECT_EQ(Target->RefCount(), 2u);
    EXPECT_EQ(RegisterDragDrop(Window.Handle, Target), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisteredDropTarget(Window.Handle), Target);
    EXPECT_EQ(RevokeDragDrop(Window.Handle), S_OK);
    EXPECT_EQ(Target->RefCount(), 1u);
    EXPECT_EQ(RevokeDragDrop(Window.Handle), DRAGDROP_E_NOTREGISTERED);
    // A window destroyed without revoking lets its target go.
    {
        TRecordingWindow Brief;
        EXPECT_EQ(RegisterDragDrop(Brief.Handle, Target), S_OK);
    }
    EXPECT_EQ(RegisteredDropTarget(Window.Handle), nullptr);
    EXPECT_EQ(Target->RefCount(), 1u);
    Target->Release();
}

TEST(Ole, DoDragDropBetweenTwoRegisteredWindows)
{
    struct TCase {
        const char* Name;
        int Key;     // held during the drag (0: none)
        bool Escape; // pressed over the target
        DWORD Offer; // what the target takes
        TThrowAt Throw;
        HRESULT Result;
        DWORD Effect;
        std::vector<std::string> Log;
        const char* Failure; // what reached the application's handler
    };
    const std::vector<TCase> Cases = {
        {"a plain drag moves",
         0,
         false,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         ThrowNowhere,
         DRAGDROP_S_DROP,
         DROPEFFECT_MOVE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B drop text"},
         ""},
        {"Ctrl copies",
         VK_CONTROL,
         false,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         ThrowNowhere,
         DRAGDROP_S_DROP,
         DROPEFFECT_COPY,
         {"A enter", "A over", "A leave", "B enter", "B over", "B drop text"},
         ""},
        {"Shift moves",
         VK_SHIFT,
         false,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         ThrowNowhere,
         DRAGDROP_S_DROP,
         DROPEFFECT_MOVE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B drop text"},
         ""},
        {"a copy-only target copies",
         0,
         false,
         DROPEFFECT_COPY,
         ThrowNowhere,
         DRAGDROP_S_DROP,
         DROPEFFECT_COPY,
         {"A enter", "A over", "A leave", "B enter", "B over", "B drop text"},
         ""},
        {"Escape cancels",
         0,
         true,
         DROPEFFECT_COPY | DROPEFFECT_MOVE,
         ThrowNowhere,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B leave"},
         ""},
        {"a refusing target gets no drop",
         0,
         false,
         DROPEFFECT_NONE,
         ThrowNowhere,
         DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B leave"},
         ""},
        {"a throwing DragOver ends the drag",
         0,
         false,
         DROPEFFECT_MOVE,
         ThrowInDragOver,
         E_UNEXPECTED,
         DROPEFFECT_NONE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B leave"},
         "the target failed"},
        {"a throwing Drop ends the drag",
         0,
         false,
         DROPEFFECT_MOVE,
         ThrowInDrop,
         E_UNEXPECTED,
         DROPEFFECT_NONE,
         {"A enter", "A over", "A leave", "B enter", "B over", "B leave"},
         "the drop failed"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TApplication App(nullptr);
        Application = &App;
        std::string Failure;
        App.OnException = [&Failure](TObject*, const Exception& E) { Failure = E.Message(); };
        std::vector<std::string> Log;
        TRecordingWindow A(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                           TRect{0, 0, 200, 100});
        TRecordingWindow B(WS_POPUP | WS_VISIBLE, 0, "TRecordingWindow", "", 0, 0,
                           TRect{300, 0, 500, 100});
        TComPtr<TTestTarget> TargetA(new TTestTarget(Log, "A"));
        TComPtr<TTestTarget> TargetB(new TTestTarget(Log, "B"));
        TargetA->Offer = DROPEFFECT_NONE; // the source's own window takes nothing
        TargetB->Offer = Case.Offer;
        TargetB->Throw = Case.Throw;
        ASSERT_EQ(RegisterDragDrop(A.Handle, TargetA.Get()), S_OK);
        ASSERT_EQ(RegisterDragDrop(B.Handle, TargetB.Get()), S_OK);
        const int Windows = WindowCount();

        // The press in A has been handled when the drag starts; the rest of the input comes
        // once the drag loop runs.
        InjectMouseMove(A.Handle, 50, 50);
        InjectMouseButton(A.Handle, 0, true, 50, 50);
        PumpPending();
        A.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            if (Msg != WM_USER)
                return DefWindowProc(Wnd, Msg, WParam, LParam);
            if (Case.Key != 0)
                InjectKeyDown(Case.Key);
            InjectMouseMove(A.Handle, 60, 50);
            InjectMouseMove(B.Handle, 20, 50);
            InjectMouseMove(B.Handle, 30, 50);
            if (Case.Escape)
                InjectKeyPress(VK_ESCAPE);
            InjectMouseButton(B.Handle, 0, false, 30, 50);
            if (Case.Key != 0)
                InjectKeyUp(Case.Key);
            return 0;
        };
        PostMessage(A.Handle, WM_USER, 0, 0);

        int Destroyed = 0;
        TComPtr<IDataObject> Data(new TTextData("text", &Destroyed));
        TComPtr<TTestSource> Source(new TTestSource);
        DWORD Effect = 0xFF;
        const HRESULT Result =
            DoDragDrop(Data.Get(), Source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &Effect);
        EXPECT_EQ(Result, Case.Result);
        EXPECT_EQ(Effect, Case.Effect);
        EXPECT_EQ(Log, Case.Log);
        EXPECT_EQ(Failure, Case.Failure);
        EXPECT_EQ(GetCapture(), HWND(0));
        EXPECT_EQ(WindowCount(), Windows);
        EXPECT_FALSE(Source->Feedback.empty());
        PumpPending();
        EXPECT_EQ(RevokeDragDrop(A.Handle), S_OK);
        EXPECT_EQ(RevokeDragDrop(B.Handle), S_OK);
        Data = TComPtr<IDataObject>();
        EXPECT_EQ(Destroyed, 1); // the loop holds no reference after it
    }
}

TEST(Ole, DoDragDropRefusesMissingObjects)
{
    TComPtr<TTestSource> Source(new TTestSource);
    DWORD Effect = 0xFF;
    EXPECT_EQ(DoDragDrop(nullptr, Source.Get(), DROPEFFECT_COPY, &Effect), E_INVALIDARG);
    EXPECT_EQ(Effect, DROPEFFECT_NONE);
}
