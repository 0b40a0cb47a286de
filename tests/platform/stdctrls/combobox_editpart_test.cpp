// The edit field of a combo box: typing whole UTF-8 characters, deleting them whole, the caret
// keys with Shift and Ctrl, the length limit that never splits a character, the letter case.
#include "platform/stdctrls/comboeditpart.h"

#include "platform/ui/input.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Type(TComboEditPart& E, const std::string& Bytes)
{
    for (char C : Bytes)
        E.Char(static_cast<unsigned char>(C));
}

} // namespace

TEST(ComboEditPart, TypingAndDeletingWorkOnWholeCharacters)
{
    struct TStep {
        const char* Name;
        std::string Typed;        // bytes typed, "\b" for Backspace
        std::vector<WPARAM> Keys; // then these keys
        std::string Text;
        int Caret;
    };
    const std::string E = "\xC3\xA9";        // two bytes
    const std::string Euro = "\xE2\x82\xAC"; // three bytes
    const std::vector<TStep> Steps = {
        {"type", "a" + E + "b", {}, "a" + E + "b", 4},
        {"left over b", "", {VK_LEFT}, "a" + E + "b", 3},
        {"left over the two-byte letter", "", {VK_LEFT}, "a" + E + "b", 1},
        {"delete takes it whole", "", {VK_DELETE}, "ab", 1},
        {"type the euro", Euro, {}, "a" + Euro + "b", 4},
        {"backspace takes it whole", "\b", {}, "ab", 1},
        {"a stray byte is kept",
         std::string("\xFF"),
         {},
         "a\xFF"
         "b",
         2},
        {"and stepped over as one",
         "",
         {VK_LEFT, VK_RIGHT, VK_END},
         "a\xFF"
         "b",
         3},
        {"home",
         "",
         {VK_HOME},
         "a\xFF"
         "b",
         0},
    };
    TComboEditPart Edit;
    for (const TStep& Step : Steps) {
        Type(Edit, Step.Typed);
        for (WPARAM Key : Step.Keys)
            Edit.KeyDown(Key, false, false);
        EXPECT_EQ(Edit.Text(), Step.Text) << Step.Name;
        EXPECT_EQ(Edit.Caret(), Step.Caret) << Step.Name;
    }
}

TEST(ComboEditPart, ShiftSelectsAndTypingReplacesTheSelection)
{
    TComboEditPart Edit;
    Edit.SetText("hello big world");
    Edit.KeyDown(VK_HOME, false, false);
    Edit.KeyDown(VK_RIGHT, true, true); // Ctrl+Shift+Right: the first word and its space
    EXPECT_EQ(Edit.SelText(), "hello ");
    Type(Edit, "X");
    EXPECT_EQ(Edit.Text(), "Xbig world");
    Edit.KeyDown(VK_END, true, false);
    EXPECT_EQ(Edit.SelStart(), 1);
    EXPECT_EQ(Edit.SelLength(), 9);
    Edit.SetSel(1, 4);
    EXPECT_EQ(Edit.SelText(), "big");
    Edit.SetSel(0, -1);
    EXPECT_EQ(Edit.SelLength(), 10);
}

TEST(ComboEditPart, TheLengthLimitNeverSplitsACharacter)
{
    TComboEditPart Edit;
    Edit.MaxLength = 4;
    Type(Edit, "ab\xC3\xA9\xC3\xA9"); // room for one two-byte letter only
    EXPECT_EQ(Edit.Text(), "ab\xC3\xA9");
    Edit.SetText("");
    Edit.MaxLength = 3;
    EXPECT_TRUE(Edit.ReplaceSel("a\xE2\x82\xAC")); // the euro does not fit: cut before it
    EXPECT_EQ(Edit.Text(), "a");
}

TEST(ComboEditPart, CharCaseFoldsWhatIsTyped)
{
    TComboEditPart Edit;
    Edit.CharCase = TComboEditPart::ecUpperCase;
    Type(Edit, "ab\xC3\xA9");
    EXPECT_EQ(Edit.Text(), "AB\xC3\x89");
}
