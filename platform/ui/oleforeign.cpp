// platform/ui/oleforeign.cpp: another program's drag over this program's windows reaches their
// registered drop targets through a data object that fetches the dragged data when asked; and a
// drag of this program offers the data object's text, files and rich text to other programs.
#include "platform/ui/oleforeign.h"

#include "platform/rtl/clipformats.h"
#include "platform/rtl/globalmemory.h"
#include "platform/ui/application.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>

namespace {

UINT RichTextFormat()
{
    return RegisterClipboardFormat("Rich Text Format");
}

// Another program's dragged data by clipboard format, each target read once.
class TForeignDataObject : public TInterfacedObject<IDataObject> {
public:
    TForeignDataObject(std::vector<std::string> Targets, TForeignDragReader Read)
        : FTargets(std::move(Targets)), FRead(std::move(Read))
    {
        for (UINT Format : FormatsOfTargets(FTargets))
            if (Format != CF_BITMAP) // a handle, not a block of memory
                FFormats.push_back(Format);
    }
    // The drag is over: the other program's data can no longer be read.
    void Close() { FRead = nullptr; }

    HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) override
    {
        if (Format == nullptr || Medium == nullptr)
            return E_INVALIDARG;
        const HRESULT Known = QueryGetData(Format);
        if (Known != S_OK)
            return Known;
        for (const std::string& Target : TargetsForFormat(Format->cfFormat, &FTargets)) {
            const std::string* Bytes = Fetch(Target);
            if (Bytes == nullptr)
                continue;
            const HANDLE Data = ImportTarget(Format->cfFormat, Target, *Bytes);
            if (Data == 0)
                continue;
            Medium->tymed = TYMED_HGLOBAL;
            Medium->hGlobal = Data;
            Medium->pUnkForRelease = nullptr;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const FORMATETC* Format) override
    {
        if (Format == nullptr)
            return E_INVALIDARG;
        if (Format->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if ((Format->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_TYMED;
        return std::find(FFormats.begin(), FFormats.end(), Format->cfFormat) != FFormats.end()
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* Out) override
    {
        if (Out != nullptr)
            Out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override;
    HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA** Enum) override
    {
        if (Enum != nullptr)
            *Enum = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    const std::string* Fetch(const std::string& Target)
    {
        const auto Known = FFetched.find(Target);
        if (Known != FFetched.end())
            return Known->second.first ? &Known->second.second : nullptr;
        if (!FRead)
            return nullptr;
        std::string Data;
        const bool Read = FRead(Target, Data);
        auto& Entry = FFetched[Target] = std::make_pair(Read, std::move(Data));
        return Entry.first ? &Entry.second : nullptr;
    }

    std::vector<std::string> FTargets;
    TForeignDragReader FRead;
    std::vector<UINT> FFormats;
    std::map<std::string, std::pair<bool, std::string>> FFetched; // what each target gave
};

class TFormatEnum : public TInterfacedObject<IEnumFORMATETC> {
public:
    TFormatEnum(std::vector<UINT> Formats, ULONG Pos) : FFormats(std::move(Formats)), FPos(Pos) {}
    HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override
    {
        ULONG Got = 0;
        while (Got < Count && FPos < FFormats.size() && Formats != nullptr)
            Formats[Got++] = FORMATETC{static_cast<CLIPFORMAT>(FFormats[FPos++]), nullptr,
                                       DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
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
        if (Enum == nullptr)
            return E_POINTER;
        *Enum = new TFormatEnum(FFormats, FPos);
        (*Enum)->AddRef();
        return S_OK;
    }

private:
    std::vector<UINT> FFormats;
    ULONG FPos;
};

HRESULT TForeignDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum)
{
    if (Enum == nullptr)
        return E_POINTER;
    *Enum = nullptr;
    if (Direction != DATADIR_GET)
        return E_NOTIMPL;
    *Enum = new TFormatEnum(FFormats, 0);
    (*Enum)->AddRef();
    return S_OK;
}

// The drag another program has going over this program's windows.
struct TForeignDrag {
    TComPtr<TForeignDataObject> Data;
    TComPtr<IDropTarget> Target;
    HWND TargetWnd = 0;
    DWORD Current = DROPEFFECT_NONE; // what the target's last answer accepts
    std::exception_ptr Failure;      // for the application's handler once the peer is told
};

TForeignDrag& Drag()
{
    static TForeignDrag State;
    return State;
}

// The target's answer narrowed to what the other program may do: the effect it asks for when
// the target takes that, else a copy, which every drag allows.
DWORD Narrow(DWORD Answer, DWORD Asked)
{
    if (Answer & Asked)
        return Asked;
    if (Answer & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

DWORD Allowed(DWORD Asked)
{
    return (Asked & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK)) | DROPEFFECT_COPY;
}

void LeaveTarget(TForeignDrag& D)
{
    D.Current = DROPEFFECT_NONE;
    if (!D.Target)
        return;
    TComPtr<IDropTarget> Target = D.Target;
    D.Target = TComPtr<IDropTarget>();
    D.TargetWnd = 0;
    Target->DragLeave();
}

void EndDrag(TForeignDrag& D)
{
    if (D.Data)
        D.Data->Close();
    D.Data = TComPtr<TForeignDataObject>();
}

DWORD Over(TForeignDrag& D, const TForeignDragEvent& Event)
{
    if (!D.Data)
        return DROPEFFECT_NONE;
    HWND Wnd = 0;
    IDropTarget* Under = RegisteredDropTarget(WindowFromPoint(Event.Point), &Wnd);
    const DWORD KeyState = MK_LBUTTON;
    DWORD Effect = Allowed(Event.Effect);
    if (Wnd != D.TargetWnd) {
        LeaveTarget(D);
        if (Under == nullptr)
            return DROPEFFECT_NONE;
        D.Target = TComPtr<IDropTarget>(Under);
        D.TargetWnd = Wnd;
        if (FAILED(D.Target->DragEnter(D.Data.Get(), KeyState, Event.Point, &Effect)))
            Effect = DROPEFFECT_NONE;
    } else if (D.Target) {
        if (FAILED(D.Target->DragOver(KeyState, Event.Point, &Effect)))
            Effect = DROPEFFECT_NONE;
    } else {
        return DROPEFFECT_NONE;
    }
    D.Current = Narrow(Effect, Event.Effect);
    return D.Current;
}

DWORD Dropped(TForeignDrag& D, const TForeignDragEvent& Event)
{
    // The drop is where the last position was, and its answer stands.
    if (!D.Target || D.Current == DROPEFFECT_NONE) {
        LeaveTarget(D);
        return DROPEFFECT_NONE;
    }
    TComPtr<IDropTarget> Target = D.Target;
    DWORD Effect = Allowed(Event.Effect);
    const HRESULT Result = Target->Drop(D.Data.Get(), MK_LBUTTON, Event.Point, &Effect);
    D.Target = TComPtr<IDropTarget>();
    D.TargetWnd = 0;
    D.Current = DROPEFFECT_NONE;
    return FAILED(Result) ? DROPEFFECT_NONE : Narrow(Effect, Event.Effect);
}

} // namespace

DWORD InjectForeignDrag(const TForeignDragEvent& Event)
{
    TForeignDrag& D = Drag();
    DWORD Answer = DROPEFFECT_NONE;
    try {
        switch (Event.Step) {
        case TForeignDragStep::Enter:
            LeaveTarget(D);
            EndDrag(D);
            D.Data = TComPtr<TForeignDataObject>(new TForeignDataObject(Event.Targets, Event.Read));
            break;
        case TForeignDragStep::Over:
            Answer = Over(D, Event);
            break;
        case TForeignDragStep::Leave:
            LeaveTarget(D);
            EndDrag(D);
            break;
        case TForeignDragStep::Drop:
            Answer = D.Data ? Dropped(D, Event) : DROPEFFECT_NONE;
            EndDrag(D);
            break;
        }
    } catch (...) {
        // The drag ends here for this program: the target hears DragLeave (unless it was the
        // one dropped on), and the other program a refusal.
        D.Failure = std::current_exception();
        try {
            LeaveTarget(D);
        } catch (...) {
            // The first failure is the one reported.
        }
        D.Target = TComPtr<IDropTarget>();
        D.TargetWnd = 0;
        EndDrag(D);
        Answer = DROPEFFECT_NONE;
    }
    return Answer;
}

void EndForeignDragStep()
{
    TForeignDrag& D = Drag();
    if (!D.Failure)
        return;
    const std::exception_ptr Failure = D.Failure;
    D.Failure = nullptr;
    if (Application == nullptr)
        std::rethrow_exception(Failure);
    try {
        std::rethrow_exception(Failure);
    } catch (...) {
        Application->HandleException(nullptr);
    }
}

std::vector<std::string> ForeignDragTargets(IDataObject* DataObj, TClipboardSnapshot& Snapshot)
{
    Snapshot = TClipboardSnapshot();
    for (UINT Format : {UINT(CF_UNICODETEXT), UINT(CF_TEXT), UINT(CF_HDROP), RichTextFormat()}) {
        FORMATETC Wanted{static_cast<CLIPFORMAT>(Format), nullptr, DVASPECT_CONTENT, -1,
                         TYMED_HGLOBAL};
        if (DataObj->QueryGetData(&Wanted) != S_OK)
            continue;
        STGMEDIUM Medium;
        if (DataObj->GetData(&Wanted, &Medium) != S_OK)
            continue;
        if (Medium.tymed == TYMED_HGLOBAL && Medium.hGlobal != 0)
            AddToSnapshot(Snapshot, Format, Medium.hGlobal, 0);
        ReleaseStgMedium(&Medium);
    }
    const std::vector<std::string> Offered = SnapshotTargets(Snapshot);
    std::vector<std::string> Targets;
    for (const char* Target :
         {"text/uri-list", "text/plain;charset=utf-8", "UTF8_STRING", "text/rtf"})
        if (std::find(Offered.begin(), Offered.end(), Target) != Offered.end())
            Targets.emplace_back(Target);
    return Targets;
}
