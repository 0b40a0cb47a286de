// The message maps: the most derived class's handler wins, a message falls back up the class
// chain (past classes without a map) and ends in DefaultHandler, ranges, and a handler that
// overrides its base's and asks for the inherited behaviour.
#include "platform/forms/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : UINT {
    MsgOne = WM_APP + 1,
    MsgTwo = WM_APP + 2,
    MsgThree = WM_APP + 3,
    MsgFour = WM_APP + 4,
    MsgRangeFirst = WM_APP + 10,
    MsgRangeLast = WM_APP + 19,
};

std::string Number(const TMessage& Message)
{
    return std::to_string(Message.Msg - WM_APP);
}

// Answers MsgOne, MsgTwo and the range, setting Result to the message's number.
class TBase : public TControl {
public:
    explicit TBase(std::vector<std::string>& Log) : TControl(nullptr), FLog(Log) {}
    void DefaultHandler(TMessage& Message) override
    {
        FLog.push_back("default " + Number(Message));
        TControl::DefaultHandler(Message);
    }

protected:
    void Note(const std::string& What, TMessage& Message)
    {
        FLog.push_back(What + " " + Number(Message));
        Message.Result = static_cast<LRESULT>(Message.Msg - WM_APP);
    }
    void One(TMessage& Message) { Note("base", Message); }
    void Two(TMessage& Message) { Note("base", Message); }
    void Range(TMessage& Message) { Note("base range", Message); }
    TW_MESSAGE_MAP();

private:
    std::vector<std::string>& FLog;
};

const TMessageMap& TBase::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessages<&TBase::Range>(MsgRangeFirst, MsgRangeLast),
        OnMessage<&TBase::Two>(MsgTwo),
        OnMessage<&TBase::One>(MsgOne),
    });
    static constexpr TMessageMap Map{Handlers, &TControl::ClassMessageMap};
    return Map;
}

// No map of its own: answers with TBase's.
class TMiddle : public TBase {
public:
    using TBase::TBase;
};

// Overrides Two (and asks for TBase's), takes one message out of TBase's range, answers Three,
// and Four, whose inherited behaviour is the default one.
class TLeaf : public TMiddle {
public:
    using TMiddle::TMiddle;

protected:
    void Two(TMessage& Message)
    {
        Note("leaf", Message);
        Inherited(Message);
    }
    void Three(TMessage& Message) { Note("leaf", Message); }
    void Four(TMessage& Message)
    {
        Note("leaf", Message);
        Inherited(Message);
    }
    void Fifteen(TMessage& Message) { Note("leaf", Message); }
    void Sixteen(TMessage& Message)
    {
        Note("leaf", Message);
        Inherited(Message);
    }
    TW_MESSAGE_MAP();
};

const TMessageMap& TLeaf::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TLeaf::Sixteen>(WM_APP + 16),
        OnMessage<&TLeaf::Four>(MsgFour),
        OnMessage<&TLeaf::Fifteen>(WM_APP + 15),
        OnMessage<&TLeaf::Two>(MsgTwo),
        OnMessage<&TLeaf::Three>(MsgThree),
    });
    static constexpr TMessageMap Map{Handlers, &TMiddle::ClassMessageMap};
    return Map;
}

enum TKind { kBase, kMiddle, kLeaf };

TEST(MessageMap, HandlersAreFoundFromTheMostDerivedClassUpToDefaultHandler)
{
    struct TCase {
        TKind Kind;
        UINT Msg;
        std::vector<std::string> Log;
        LRESULT Result;
    };
    const std::vector<TCase> Cases = {
        {kBase, MsgOne, {"base 1"}, 1},
        {kLeaf, MsgOne, {"base 1"}, 1}, // up the chain, past TMiddle
        {kMiddle, MsgTwo, {"base 2"}, 2},
        {kLeaf, MsgTwo, {"leaf 2", "base 2"}, 2}, // the override, then the inherited one
        {kLeaf, MsgThree, {"leaf 3"}, 3},
        {kBase, MsgThree, {"default 3"}, 0},
        {kLeaf, MsgFour, {"leaf 4", "default 4"}, 4},
        {kLeaf, WM_APP + 5, {"default 5"}, 0},
        {kBase, MsgRangeFirst - 1, {"default 9"}, 0},
        {kBase, MsgRangeFirst, {"base range 10"}, 10},
        {kLeaf, WM_APP + 14, {"base range 14"}, 14},
        {kLeaf, WM_APP + 15, {"leaf 15"}, 15}, // one message of the base's range taken over
        {kBase, WM_APP + 15, {"base range 15"}, 15},
        {kLeaf, WM_APP + 16, {"leaf 16", "base range 16"}, 16},
        {kLeaf, MsgRangeLast, {"base range 19"}, 19},
        {kLeaf, MsgRangeLast + 1, {"default 20"}, 0},
    };
    for (const TCase& Case : Cases) {
        std::vector<std::string> Log;
        TBase Base(Log);
        TMiddle Middle(Log);
        TLeaf Leaf(Log);
        TControl* Target = Case.Kind == kBase     ? static_cast<TControl*>(&Base)
                           : Case.Kind == kMiddle ? static_cast<TControl*>(&Middle)
                                                  : static_cast<TControl*>(&Leaf);
        const LRESULT Result = Target->Perform(Case.Msg, 0, 0);
        EXPECT_EQ(Log, Case.Log) << "message " << Case.Msg - WM_APP << " to kind " << Case.Kind;
        EXPECT_EQ(Result, Case.Result) << "message " << Case.Msg - WM_APP;
    }
}

TEST(MessageMap, TheRootClassAnswersItsOwnMessagesWithoutDefaultHandler)
{
    std::vector<std::string> Log;
    TLeaf Leaf(Log);
    // TControl's own handlers (its mouse range included) take these: none reaches the default.
    Leaf.Perform(CM_TEXTCHANGED, 0, 0);
    Leaf.Perform(WM_MOUSEMOVE, 0, 0);
    Leaf.Perform(WM_MBUTTONDBLCLK, 0, 0);
    EXPECT_TRUE(Log.empty());
    // A message TControl has no handler for goes to the default.
    Leaf.Perform(WM_CHAR, 0, 0);
    EXPECT_EQ(Log, std::vector<std::string>{"default " + std::to_string(WM_CHAR - WM_APP)});
}

// Any TObject class can keep a table; this one notes which handler ran.
struct TProbe : TObject {
    std::string Ran;
    void A(TMessage&) { Ran = "a"; }
    void B(TMessage&) { Ran = "b"; }
    void C(TMessage& Message) { Ran = "c" + std::to_string(Message.Msg); }
};

TEST(MessageMap, EntriesAreSortedAtCompileTimeAndRangesFoundByTheirEnds)
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessages<&TProbe::C>(300, 310),
        OnMessage<&TProbe::A>(5),
        OnMessage<&TProbe::B>(100),
    });
    static_assert(Handlers[0].First == 5 && Handlers[1].First == 100 && Handlers[2].First == 300);
    static constexpr TMessageMap Map{Handlers, nullptr};
    EXPECT_EQ(Map.Parent(), nullptr);
    struct TCase {
        UINT Msg;
        const char* Ran; // "" when no handler takes it
    };
    const std::vector<TCase> Cases = {{4, ""},       {5, "a"},      {6, ""},   {99, ""},
                                      {100, "b"},    {101, ""},     {299, ""}, {300, "c300"},
                                      {305, "c305"}, {310, "c310"}, {311, ""}, {0, ""}};
    for (const TCase& Case : Cases) {
        TProbe Probe;
        TMessage Message{Case.Msg, 0, 0, 0};
        EXPECT_EQ(Map.Dispatch(&Probe, Message), *Case.Ran != 0) << Case.Msg;
        EXPECT_EQ(Probe.Ran, Case.Ran) << Case.Msg;
        EXPECT_EQ(Map.Find(Case.Msg) != nullptr, *Case.Ran != 0) << Case.Msg;
    }
}

} // namespace
