// The scan code, extended flag, repeat count and state bits key messages carry in LParam.
#include "tests/platform/ui/uitest.h"

#include "platform/ui/input.h"
#include "platform/ui/keyscan.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

struct TKeyData {
    UINT Msg;
    WPARAM WParam;
    std::uint32_t Data;
    int Scan() const { return (Data >> 16) & 0xFF; }
    bool Extended() const { return (Data >> 24) & 1; }
    int Repeat() const { return Data & 0xFFFF; }
    bool Context() const { return (Data >> 29) & 1; }
    bool Previous() const { return (Data >> 30) & 1; }
    bool Up() const { return (Data >> 31) & 1; }
};

// Takes the waiting messages from the queue as a loop does and keeps the keyboard's.
std::vector<TKeyData> TakeKeys()
{
    std::vector<TKeyData> Keys;
    TMsg M;
    while (PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
        if (M.message >= WM_KEYDOWN && M.message <= WM_SYSCHAR)
            Keys.push_back(
                TKeyData{M.message, M.wParam,
                         static_cast<std::uint32_t>(static_cast<std::int32_t>(M.lParam))});
        TranslateMessage(M);
        DispatchMessage(M);
    }
    return Keys;
}

} // namespace

TEST(KeyScan, KeyMessagesCarryTheScanCodeAndExtendedFlag)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetFocus(Window.Handle);
    TakeKeys();
    struct TCase {
        int Key;
        bool Keypad; // injected with the keypad's code
        int Scan;
        bool Extended;
    };
    const std::vector<TCase> Cases = {
        {'A', false, 0x1E, false},           {'Q', false, 0x10, false},
        {'M', false, 0x32, false},           {'0', false, 0x0B, false},
        {'1', false, 0x02, false},           {VK_DECIMAL, false, 0x53, false},
        {VK_OEM_PERIOD, false, 0x34, false}, {VK_RETURN, false, 0x1C, false},
        {VK_RETURN, true, 0x1C, true},       {VK_DIVIDE, false, 0x35, true},
        {VK_OEM_2, false, 0x35, false},      {VK_NUMPAD7, false, 0x47, false},
        {VK_HOME, false, 0x47, true},        {VK_HOME, true, 0x47, false},
        {VK_END, false, 0x4F, true},         {VK_PRIOR, false, 0x49, true},
        {VK_NEXT, false, 0x51, true},        {VK_INSERT, false, 0x52, true},
        {VK_DELETE, false, 0x53, true},      {VK_DELETE, true, 0x53, false},
        {VK_UP, false, 0x48, true},          {VK_DOWN, false, 0x50, true},
        {VK_LEFT, false, 0x4B, true},        {VK_RIGHT, false, 0x4D, true},
        {VK_NUMLOCK, false, 0x45, true},     {VK_PAUSE, false, 0x45, false},
        {VK_LCONTROL, false, 0x1D, false},   {VK_RCONTROL, false, 0x1D, true},
        {VK_RSHIFT, false, 0x36, false},     {VK_F1, false, 0x3B, false},
        {VK_F12, false, 0x58, false},        {VK_SPACE, false, 0x39, false},
    };
    for (const TCase& Case : Cases) {
        // Twice, so that Num Lock ends as it was.
        for (int Time = 0; Time < 2; ++Time) {
            if (Case.Keypad) {
                InjectKeyDown(Case.Key, {}, ScanCodeOfVirtualKey(Case.Key, true));
                InjectKeyUp(Case.Key, ScanCodeOfVirtualKey(Case.Key, true));
            } else {
                InjectKeyPress(Case.Key);
            }
        }
        const auto Keys = TakeKeys();
        int Downs = 0;
        for (const TKeyData& K : Keys) {
            SCOPED_TRACE(testing::Message() << "key " << Case.Key << " keypad " << Case.Keypad
                                            << " message " << K.Msg);
            EXPECT_EQ(K.Scan(), Case.Scan);
            EXPECT_EQ(K.Extended(), Case.Extended);
            EXPECT_EQ(K.Repeat(), 1);
            EXPECT_FALSE(K.Context());
            if (K.Msg == WM_KEYDOWN) {
                ++Downs;
                EXPECT_FALSE(K.Previous());
                EXPECT_FALSE(K.Up());
            } else if (K.Msg == WM_KEYUP) {
                EXPECT_TRUE(K.Previous());
                EXPECT_TRUE(K.Up());
            } else {
                // A character carries the data of the key that typed it.
                EXPECT_EQ(K.Msg, static_cast<UINT>(WM_CHAR));
                EXPECT_FALSE(K.Up());
            }
        }
        EXPECT_EQ(Downs, 2) << "key " << Case.Key;
    }
}

TEST(KeyScan, HeldKeysRepeatAndAltSetsTheContext)
{
    TRecordingWindow Window(WS_POPUP | WS_VISIBLE);
    SetFocus(Window.Handle);
    TakeKeys();

    // Auto-repeat: the second key-down says the key was down already.
    InjectKeyDown('A');
    InjectKeyDown('A');
    InjectKeyUp('A');
    auto Keys = TakeKeys();
    std::vector<std::pair<UINT, bool>> Seen;
    for (const TKeyData& K : Keys)
        Seen.emplace_back(K.Msg, K.Previous());
    const std::vector<std::pair<UINT, bool>> Repeated = {
        {WM_KEYDOWN, false}, {WM_CHAR, false}, {WM_KEYDOWN, true},
        {WM_CHAR, true},     {WM_KEYUP, true},
    };
    EXPECT_EQ(Seen, Repeated);

    // The right Alt given as the side-neutral key with its own code: extended, and the right Alt
    // in the key state; the key typed with it is a system key with the context bit.
    InjectKeyDown(VK_MENU, {}, ScanCodeOfVirtualKey(VK_RMENU));
    InjectKeyPress('X');
    Keys = TakeKeys();
    EXPECT_LT(GetKeyState(VK_RMENU), 0);
    EXPECT_GE(GetKeyState(VK_LMENU), 0);
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    ASSERT_EQ(Keys.size(), 4u);
    EXPECT_EQ(Keys[0].Msg, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(Keys[0].WParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(Keys[0].Scan(), 0x38);
    EXPECT_TRUE(Keys[0].Extended());
    const std::vector<UINT> Kinds = {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP};
    for (std::size_t I = 0; I < Keys.size(); ++I) {
        EXPECT_EQ(Keys[I].Msg, Kinds[I]) << I;
        EXPECT_TRUE(Keys[I].Context()) << I;
        EXPECT_EQ(Keys[I].Up(), I == 3) << I;
        if (I > 0) {
            EXPECT_EQ(Keys[I].Scan(), 0x2D) << I;
        }
    }

    // Ctrl with Alt (AltGr) types ordinary keys: no context bit.
    InjectKeyDown(VK_CONTROL);
    InjectKeyPress('Q');
    InjectKeyUp(VK_CONTROL);
    InjectKeyUp(VK_MENU, ScanCodeOfVirtualKey(VK_RMENU));
    Keys = TakeKeys();
    for (const TKeyData& K : Keys)
        if (K.WParam == 'Q') {
            EXPECT_EQ(K.Msg & ~1u, static_cast<UINT>(WM_KEYDOWN)) << K.Msg;
            EXPECT_FALSE(K.Context());
            EXPECT_EQ(K.Scan(), 0x10);
        }
    EXPECT_GE(GetKeyState(VK_RMENU), 0);
    EXPECT_GE(GetKeyState(VK_MENU), 0);
}

TEST(KeyScan, NoTwoKeysShareACode)
{
    // The side-neutral keys are their left keys, and the keypad's 5 without Num Lock is Clear.
    const std::set<int> Aliases = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_CLEAR};
    std::set<std::pair<int, bool>> Codes;
    int Known = 0;
    for (int Vk = 1; Vk < 256; ++Vk) {
        const TKeyScan Scan = ScanCodeOfVirtualKey(Vk);
        if (Scan.Code == 0 || Aliases.count(Vk) != 0)
            continue;
        ++Known;
        EXPECT_TRUE(Codes.emplace(Scan.Code, Scan.Extended).second)
            << "virtual key " << Vk << " scan " << Scan.Code;
        EXPECT_LT(Scan.Code, 0x80) << "virtual key " << Vk;
    }
    // Letters, digits, F1-F12, the keypad and the named keys of the table.
    EXPECT_GE(Known, 26 + 10 + 12 + 10 + 40);
}
