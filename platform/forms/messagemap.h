// platform/forms/messagemap.h: declarative message handlers. A class that answers messages keeps
// a static, compile-time sorted table (message or message range -> member handler
// `void Handler(TMessage&)`); Dispatch looks the message up in the object's most derived table,
// then in each parent class's table, and gives it to DefaultHandler when no class has a handler.
//
// Declaring a map (a class without one answers with its parent's):
//
//     class TMyButton : public TCustomControl {
//         ...
//     protected:
//         void CMDialogKey(TMessage& Message);
//         void WMGetDlgCode(TMessage& Message);
//         TW_MESSAGE_MAP();
//     };
//
//     // in the source:
//     const TMessageMap& TMyButton::ClassMessageMap()
//     {
//         static constexpr auto Handlers = SortMessageHandlers({
//             OnMessage<&TMyButton::CMDialogKey>(CM_DIALOGKEY),
//             OnMessage<&TMyButton::WMGetDlgCode>(WM_GETDLGCODE),
//             // OnMessages<&TMyButton::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK) for a range
//         });
//         static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
//         return Map;
//     }
//
//     void TMyButton::WMGetDlgCode(TMessage& Message)
//     {
//         Inherited(Message); // what TCustomControl and its parents do with it
//         Message.Result |= DLGC_WANTARROWS;
//     }
//
// The order of the entries does not matter; overlapping entries do not compile. Handlers are not
// virtual: a derived class overrides its parent's handler by listing its own for the message (a
// single message may also take one out of a parent's range). A handler that wants what its parent
// classes would have done calls `Inherited(Message)`: it continues the look-up above the
// handler's own class and ends in DefaultHandler. (`Inherited` is declared by TW_MESSAGE_MAP for
// the class it stands in, so only that class's handlers call it.)
#pragma once

#include "platform/rtl/object.h"
#include "platform/ui/wintypes.h"

#include <array>
#include <cstddef>
#include <stdexcept>

// One entry: messages First..Last (inclusive) go to Call, which casts the object to the class of
// the handler and calls it.
struct TMessageHandler {
    UINT First = 0;
    UINT Last = 0;
    void (*Call)(TObject* Self, TMessage& Message) = nullptr;
};

namespace MessageMapDetail {

template <class T>
struct THandlerClass;
template <class C>
struct THandlerClass<void (C::*)(TMessage&)> {
    using Type = C;
};

template <auto Handler>
void Call(TObject* Self, TMessage& Message)
{
    using C = typename THandlerClass<decltype(Handler)>::Type;
    (static_cast<C*>(Self)->*Handler)(Message);
}

} // namespace MessageMapDetail

// An entry for one message.
template <auto Handler>
constexpr TMessageHandler OnMessage(UINT Msg)
{
    return TMessageHandler{Msg, Msg, &MessageMapDetail::Call<Handler>};
}

// An entry for the messages First..Last.
template <auto Handler>
constexpr TMessageHandler OnMessages(UINT First, UINT Last)
{
    return TMessageHandler{First, Last, &MessageMapDetail::Call<Handler>};
}

// The entries sorted by message, for a binary search at run time; two entries that share a
// message stop the compilation (the throw is not a constant expression).
template <std::size_t N>
consteval std::array<TMessageHandler, N> SortMessageHandlers(const TMessageHandler (&Entries)[N])
{
    std::array<TMessageHandler, N> Sorted{};
    for (std::size_t I = 0; I < N; ++I) {
        if (Entries[I].Last < Entries[I].First)
            throw std::logic_error("a message range ends before it starts");
        std::size_t J = I;
        for (; J > 0 && Sorted[J - 1].First > Entries[I].First; --J)
            Sorted[J] = Sorted[J - 1];
        Sorted[J] = Entries[I];
    }
    for (std::size_t I = 1; I < N; ++I)
        if (Sorted[I].First <= Sorted[I - 1].Last)
            throw std::logic_error("two handlers for one message in a message map");
    return Sorted;
}

// The table of one class and the way to its parent class's table.
class TMessageMap {
public:
    using TParentMap = const TMessageMap& (*)();

    // The root of a chain: no handlers, no parent.
    constexpr TMessageMap() = default;
    template <std::size_t N>
    constexpr TMessageMap(const std::array<TMessageHandler, N>& Sorted, TParentMap AParent)
        : FHandlers(Sorted.data()), FCount(N), FParent(AParent)
    {
    }

    // The entry of this class's own table that takes Msg, or null.
    const TMessageHandler* Find(UINT Msg) const;
    const TMessageMap* Parent() const { return FParent != nullptr ? &FParent() : nullptr; }

    // Gives Message to the first handler for it from this table up the parent chain; false
    // when no table has one.
    bool Dispatch(TObject* Self, TMessage& Message) const;

private:
    const TMessageHandler* FHandlers = nullptr;
    std::size_t FCount = 0;
    TParentMap FParent = nullptr;
};

// Declares, at the end of a class body, the class's table (ClassMessageMap, defined in the
// source), the virtual accessor that makes it the object's most derived table, and Inherited for
// its handlers; it leaves the access private. An ancestor declares the root of the chain:
// `virtual const TMessageMap& MessageMap() const` and
// `void InheritedMessage(const TMessageMap* From, TMessage& Message)`, as TControl does.
#define TW_MESSAGE_MAP()                                                                           \
public:                                                                                            \
    static const TMessageMap& ClassMessageMap();                                                   \
    const TMessageMap& MessageMap() const override                                                 \
    {                                                                                              \
        return ClassMessageMap();                                                                  \
    }                                                                                              \
                                                                                                   \
protected:                                                                                         \
    void Inherited(TMessage& Message)                                                              \
    {                                                                                              \
        InheritedMessage(ClassMessageMap().Parent(), Message);                                     \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    static_assert(true, "")
