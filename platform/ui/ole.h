// platform/ui/ole.h: the object layer that drag and drop between windows rests on: result codes,
// reference-counted interfaces found by interface id, the data object with its formats and
// storage media in global memory, the drag source and drop target, and the calls that register
// drop targets per window and run the modal drag loop (DoDragDrop).
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/globalmemory.h"
#include "platform/rtl/systypes.h"
#include "platform/ui/wintypes.h"

#include <atomic>
#include <cstdint>
#include <utility>

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using CLIPFORMAT = std::uint16_t;

constexpr bool SUCCEEDED(HRESULT Result)
{
    return Result >= 0;
}
constexpr bool FAILED(HRESULT Result)
{
    return Result < 0;
}

// Result codes: success codes are >= 0, failures have the top bit set.
constexpr HRESULT HResult(std::uint32_t Code)
{
    return static_cast<HRESULT>(Code);
}
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HResult(0x80004001);
constexpr HRESULT E_NOINTERFACE = HResult(0x80004002);
constexpr HRESULT E_POINTER = HResult(0x80004003);
constexpr HRESULT E_FAIL = HResult(0x80004005);
constexpr HRESULT E_UNEXPECTED = HResult(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = HResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = HResult(0x80070057);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = HResult(0x80040003);
constexpr HRESULT DV_E_FORMATETC = HResult(0x80040064);
constexpr HRESULT DV_E_TYMED = HResult(0x80040069);
constexpr HRESULT DV_E_DVASPECT = HResult(0x8004006B);
constexpr HRESULT DATA_E_FORMATETC = DV_E_FORMATETC;
constexpr HRESULT DATA_S_SAMEFORMATETC = HResult(0x00040130);
constexpr HRESULT DRAGDROP_S_DROP = HResult(0x00040100);
constexpr HRESULT DRAGDROP_S_CANCEL = HResult(0x00040101);
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = HResult(0x00040102);
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = HResult(0x80040100);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = HResult(0x80040101);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = HResult(0x80040102);

// What a drop does with the data.
enum : DWORD {
    DROPEFFECT_NONE = 0,
    DROPEFFECT_COPY = 1,
    DROPEFFECT_MOVE = 2,
    DROPEFFECT_LINK = 4,
    DROPEFFECT_SCROLL = 0x80000000,
};

// Storage media, aspects and directions of a data object.
enum : DWORD {
    TYMED_NULL = 0,
    TYMED_HGLOBAL = 1,
    TYMED_FILE = 2,
    TYMED_ISTREAM = 4,
    TYMED_ISTORAGE = 8,
    TYMED_GDI = 16,
    TYMED_MFPICT = 32,
    TYMED_ENHMF = 64,
};
enum : DWORD {
    DVASPECT_CONTENT = 1,
    DVASPECT_THUMBNAIL = 2,
    DVASPECT_ICON = 4,
    DVASPECT_DOCPRINT = 8
};
enum : DWORD { DATADIR_GET = 1, DATADIR_SET = 2 };

// An interface id.
struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};
};
using IID = GUID;
bool operator==(const GUID& A, const GUID& B);
inline bool IsEqualGUID(const GUID& A, const GUID& B)
{
    return A == B;
}

extern const IID IID_IUnknown;
extern const IID IID_IDataObject;
extern const IID IID_IEnumFORMATETC;
extern const IID IID_IDropSource;
extern const IID IID_IDropTarget;

// The root of every interface: reference counting (the object goes when the count reaches 0) and
// the look-up of its other interfaces. QueryInterface AddRefs what it hands out.
class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& Iid, void** Object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    static const IID& Id() { return IID_IUnknown; }

protected:
    // Objects go through Release, never delete.
    virtual ~IUnknown() = default;
};

struct DVTARGETDEVICE {
    DWORD tdSize = 0;
};

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    std::int32_t lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;
};

// Data in a medium; with TYMED_HGLOBAL the block in hGlobal. pUnkForRelease, when set, is
// released instead of freeing the block (ReleaseStgMedium).
struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal = 0;
    IUnknown* pUnkForRelease = nullptr;
};

// Frees what the medium holds (or releases its keeper) and empties it.
void ReleaseStgMedium(STGMEDIUM* Medium);

class IEnumFORMATETC : public IUnknown {
public:
    // Up to Count records from the current place; S_OK when all Count came, else S_FALSE.
    virtual HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) = 0;
    virtual HRESULT Skip(ULONG Count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** Enum) = 0;
    static const IID& Id() { return IID_IEnumFORMATETC; }
};

// Advise sinks are not offered by the data objects here; the types exist for the signatures.
class IAdviseSink;
class IEnumSTATDATA;

class IDataObject : public IUnknown {
public:
    virtual HRESULT GetData(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC* Format, STGMEDIUM* Medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC* Format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC* FormatIn, FORMATETC* FormatOut) = 0;
    virtual HRESULT SetData(const FORMATETC* Format, STGMEDIUM* Medium, BOOL Release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) = 0;
    virtual HRESULT DAdvise(const FORMATETC* Format, DWORD Advf, IAdviseSink* Sink,
                            DWORD* Connection) = 0;
    virtual HRESULT DUnadvise(DWORD Connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** Enum) = 0;
    static const IID& Id() { return IID_IDataObject; }
};

// KeyState: MK_ flags (platform/ui/messages.h) with MK_ALT for Alt.
enum : DWORD { MK_ALT = 0x20 };

class IDropSource : public IUnknown {
public:
    // Each step of the drag: S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL cancels.
    virtual HRESULT QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS lets the loop show the pointer for Effect.
    virtual HRESULT GiveFeedback(DWORD Effect) = 0;
    static const IID& Id() { return IID_IDropSource; }
};

// Point: screen coordinates. Effect: in, the effects the source allows; out, what would happen.
class IDropTarget : public IUnknown {
public:
    virtual HRESULT DragEnter(IDataObject* DataObj, DWORD KeyState, TPoint Point,
                              DWORD* Effect) = 0;
    virtual HRESULT DragOver(DWORD KeyState, TPoint Point, DWORD* Effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* DataObj, DWORD KeyState, TPoint Point, DWORD* Effect) = 0;
    static const IID& Id() { return IID_IDropTarget; }
};

// The reference counting and interface look-up of an object implementing Interfaces (each
// derived from IUnknown, with a static Id()). Made with new and a count of 0; the first AddRef
// (or QueryInterface) takes it, the last Release deletes it.
template <class... Interfaces>
class TInterfacedObject : public Interfaces... {
public:
    HRESULT QueryInterface(const IID& Iid, void** Object) override
    {
        if (Object == nullptr)
            return E_POINTER;
        *Object = nullptr;
        if (Iid == IID_IUnknown)
            *Object = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (Offer<Interfaces>(Iid, Object) || ...);
        if (*Object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++FRefCount; }
    ULONG Release() override
    {
        const ULONG Count = --FRefCount;
        if (Count == 0)
            delete this;
        return Count;
    }
    ULONG RefCount() const { return FRefCount; }

protected:
    TInterfacedObject() = default;
    ~TInterfacedObject() override = default;

private:
    template <class I>
    bool Offer(const IID& Iid, void** Object)
    {
        if (!(Iid == I::Id()))
            return false;
        *Object = static_cast<I*>(this);
        return true;
    }
    template <class T, class...>
    struct TFirst {
        using Type = T;
    };
    using First = typename TFirst<Interfaces...>::Type;
    std::atomic<ULONG> FRefCount{0};
};

// Holds one reference to an interface and releases it when it goes.
template <class T>
class TComPtr {
public:
    TComPtr() = default;
    explicit TComPtr(T* Ptr) : FPtr(Ptr)
    {
        if (FPtr != nullptr)
            FPtr->AddRef();
    }
    TComPtr(const TComPtr& Other) : TComPtr(Other.FPtr) {}
    TComPtr& operator=(const TComPtr& Other)
    {
        TComPtr Copy(Other);
        std::swap(FPtr, Copy.FPtr);
        return *this;
    }
    ~TComPtr()
    {
        if (FPtr != nullptr)
            FPtr->Release();
    }
    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    // For out parameters that hand over a reference: releases what it held.
    T** Put()
    {
        TComPtr Empty;
        std::swap(FPtr, Empty.FPtr);
        return &FPtr;
    }

private:
    T* FPtr = nullptr;
};

// Per thread of the program: S_OK the first time, S_FALSE when already initialised. The last
// OleUninitialize revokes the drop targets still registered.
HRESULT OleInitialize(void* Reserved);
void OleUninitialize();

// A window takes drops: the loop AddRefs Target until RevokeDragDrop (or the window is gone).
// E_INVALIDARG for a null target, DRAGDROP_E_INVALIDHWND for a handle that is no window,
// DRAGDROP_E_ALREADYREGISTERED when the window has one.
HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target);
HRESULT RevokeDragDrop(HWND Wnd);
// The target registered for Wnd or the nearest parent that has one (not AddRef'd), or null.
IDropTarget* RegisteredDropTarget(HWND Wnd, HWND* Registered = nullptr);

// The modal drag: holds the mouse, asks the source each step (QueryContinueDrag with Escape and
// the key state), tells the registered window under the pointer (DragEnter, DragOver, DragLeave,
// Drop), gives the source feedback (GiveFeedback; default pointers crNoDrop, crDrag for move,
// crMultiDrag for copy), and waits in the message loop between steps. Ctrl asks for a copy,
// Shift for a move: the target's answer is narrowed to OkEffects. DRAGDROP_S_DROP with the drop's
// effect, DRAGDROP_S_CANCEL with DROPEFFECT_NONE, or the failure a source or target gave. An
// exception from a handler ends the drag (the target told DragLeave, the mouse released) and
// then goes to Application->HandleException; the answer is E_UNEXPECTED.
HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects, DWORD* Effect);
