// Shortcuts: a key and its shift keys in one word, and their names as menus show them.
#include "platform/forms/menus.h"
#include "platform/rtl/strings.h"
#include "platform/ui/input.h"

#include <cctype>

namespace {

struct TKeyName {
    Word Key;
    const char* Name;
};

constexpr TKeyName KeyNames[] = {
    {VK_BACK, "BkSp"},    {VK_TAB, "Tab"},        {VK_RETURN, "Enter"},  {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},  {VK_PRIOR, "PgUp"},     {VK_NEXT, "PgDn"},     {VK_END, "End"},
    {VK_HOME, "Home"},    {VK_LEFT, "Left"},      {VK_UP, "Up"},         {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},     {VK_DELETE, "Del"},    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},    {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num ."}, {VK_DIVIDE, "Num /"},
    {VK_OEM_1, ";"},      {VK_OEM_PLUS, "="},     {VK_OEM_COMMA, ","},   {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."}, {VK_OEM_2, "/"},        {VK_OEM_3, "`"},       {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},     {VK_OEM_6, "]"},        {VK_OEM_7, "'"},
};

std::string KeyName(Word Key)
{
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return std::string(1, static_cast<char>(Key));
    if (Key >= VK_F1 && Key <= VK_F1 + 23)
        return "F" + std::to_string(Key - VK_F1 + 1);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return "Num " + std::to_string(Key - VK_NUMPAD0);
    for (const TKeyName& Entry : KeyNames)
        if (Entry.Key == Key)
            return Entry.Name;
    return {};
}

// Removes Prefix from the front of Text (without regard to case) when it is there.
bool TakePrefix(std::string& Text, const std::string& Prefix)
{
    if (Text.size() <= Prefix.size() || !SameText(Text.substr(0, Prefix.size()), Prefix))
        return false;
    Text.erase(0, Prefix.size());
    return true;
}

} // namespace

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    if ((Key & 0xFF00) != 0)
        return scNone;
    TShortCut Result = Key;
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift)
{
    Key = Value & 0xFF;
    Shift = TShiftState{};
    if (Value & scShift)
        Shift.Include(ssShift);
    if (Value & scCtrl)
        Shift.Include(ssCtrl);
    if (Value & scAlt)
        Shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut Value)
{
    const std::string Name = KeyName(Value & 0xFF);
    if (Name.empty())
        return {};
    std::string Result;
    if (Value & scShift)
        Result += "Shift+";
    if (Value & scCtrl)
        Result += "Ctrl+";
    if (Value & scAlt)
        Result += "Alt+";
    return Result + Name;
}

TShortCut TextToShortCut(const std::string& Text)
{
    std::string Rest = Text;
    TShortCut Shift = 0;
    for (bool Found = true; Found;) {
        Found = false;
        if (TakePrefix(Rest, "Shift+")) {
            Shift |= scShift;
            Found = true;
        } else if (TakePrefix(Rest, "Ctrl+")) {
            Shift |= scCtrl;
            Found = true;
        } else if (TakePrefix(Rest, "Alt+")) {
            Shift |= scAlt;
            Found = true;
        }
    }
    if (Rest.empty())
        return scNone;
    for (Word Key = 1; Key < 256; ++Key) {
        const std::string Name = KeyName(Key);
        if (!Name.empty() && SameText(Name, Rest))
            return static_cast<TShortCut>(Key | Shift);
    }
    return scNone;
}

TShortCut ShortCutFromMessage(const TWMKey& Message)
{
    return ShortCut(static_cast<Word>(Message.CharCode), KeyDataToShiftState(Message.KeyData));
}
