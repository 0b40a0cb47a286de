// Edit masks from forms and grid columns: any mask text, and any text set, typed and pasted
// through it. The edit text always keeps one character per mask position.
#include "platform/stdctrls/editmask.h"
#include "fuzz/fuzzinput.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::size_t Positions(const std::string& Text)
{
    return EditMask::SplitChars(Text).size();
}

} // namespace

// The input: mask, set text, typed text and pasted text, separated by newlines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string Input = InputText(Data, Size);
    std::string Parts[4];
    std::size_t Part = 0;
    for (char Ch : Input) {
        if (Ch == '\n' && Part < 3)
            ++Part;
        else
            Parts[Part] += Ch;
    }
    const EditMask::TParsedMask Mask = EditMask::ParseMask(Parts[0], '/', ':');
    const std::size_t Count = Mask.Positions.size();
    std::string Text = EditMask::FormatValue(Mask, Parts[1], Mask.Blank);
    Check(Positions(Text) == Count);
    Check(Positions(EditMask::FormatMaskText(Parts[0], Parts[1])) == Count);
    Check(Positions(EditMask::ConformEditText(Mask, Parts[1])) == Count);
    // The value form read back lays out to the same length again.
    Check(Positions(EditMask::FormatValue(Mask, EditMask::ValueOf(Mask, Text), Mask.Blank)) ==
          Count);
    const int Incomplete = EditMask::FirstIncomplete(Mask, Text);
    Check(Incomplete >= -1 && Incomplete < static_cast<int>(Count));

    int Caret = 0;
    for (const std::string& Ch : EditMask::SplitChars(Parts[2])) {
        int Next = Caret;
        if (EditMask::TypeInto(Mask, Text, Caret, Caret + 1, Ch, Next))
            Caret = Next;
        Check(Positions(Text) == Count);
        Check(Caret >= 0 && Caret <= static_cast<int>(Count));
    }
    bool Refused = false;
    const int Start = static_cast<int>(Parts[3].size() % (Count + 1));
    Text = EditMask::PasteInto(Mask, Text, Start, Start + 2, Parts[3], Caret, Refused);
    Check(Positions(Text) == Count);
    Check(Caret >= 0 && Caret <= static_cast<int>(Count));
    Text = EditMask::BlankRange(Mask, Text, -3, static_cast<int>(Count) + 3);
    Check(Text == EditMask::EmptyEditText(Mask));
    EditMask::InputsOf(Mask, Text);
    return 0;
}
