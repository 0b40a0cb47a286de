// Edits and a memo drawn headless, each state against its golden picture under
// tests/fixtures/stdctrls/ (TARNWICK_UPDATE_GOLDEN=1 rewrites them). The pictures take the whole
// window, its non-client edge and scroll bars included.
#include "tests/platform/stdctrls/edittest.h"
#include "tests/support/golden.h"

#include "platform/gfx/fontengine.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"

#include <functional>
#include <vector>

namespace {

class EditGolden : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        SetDeterministicFontMetrics(false); // the real faces, as a person sees them
        if (!FontFamilyInstalled("Liberation Sans") && !FontFamilyInstalled("DejaVu Sans"))
            GTEST_SKIP() << "no fonts";
        Form->SetColor(clBtnFace);
    }

    // The control's window, frame included, as its form's back buffer holds it once everything
    // is painted.
    void ExpectLooksLike(TWinControl* Control, const std::string& Name)
    {
        Form->Invalidate();
        Control->Invalidate();
        PumpEdits();
        TBackBuffer* Buffer = WindowBackBuffer(Form->Handle());
        ASSERT_NE(Buffer, nullptr);
        ExpectMatchesGoldenPng(Buffer->Raster(), WindowAreaInBackBuffer(Control->Handle()),
                               "stdctrls/" + Name, TGoldenTolerance{8, 4});
    }
};

} // namespace

TEST_F(EditGolden, EditStates)
{
    struct TCase {
        const char* Name;
        std::function<void(TEdit* Edit, TEdit* Other)> Set;
    };
    const std::vector<TCase> Cases = {
        {"edit-empty.png", [](TEdit* E, TEdit*) { E->SetText(""); }},
        {"edit-text.png",
         [](TEdit* E, TEdit*) {
             E->SetText("Caf\xC3\xA9 \xE2\x82\xAC"
                        "5 \xFF"
                        "bytes");
         }},
        {"edit-selection-focused.png",
         [](TEdit* E, TEdit*) {
             E->SetText("Select this word");
             E->SetFocus();
             E->SetSelStart(7);
             E->SetSelLength(4);
         }},
        {"edit-selection-unfocused.png",
         [](TEdit* E, TEdit* Other) {
             E->SetText("Select this word");
             E->SetSelStart(7);
             E->SetSelLength(4);
             Other->SetFocus(); // the selection hides
         }},
        {"edit-selection-kept.png",
         [](TEdit* E, TEdit* Other) {
             E->SetHideSelection(false);
             E->SetText("Select this word");
             E->SetSelStart(7);
             E->SetSelLength(4);
             Other->SetFocus(); // ES_NOHIDESEL: still shown
         }},
        {"edit-disabled.png",
         [](TEdit* E, TEdit*) {
             E->SetText("Disabled");
             E->SetEnabled(false);
         }},
        {"edit-readonly.png",
         [](TEdit* E, TEdit*) {
             E->SetText("Read only");
             E->SetReadOnly(true);
         }},
        {"edit-password.png",
         [](TEdit* E, TEdit*) {
             E->SetText("s\xC3\xA9"
                        "cret");
             E->SetPasswordChar('*');
         }},
    };
    for (const TCase& Case : Cases) {
        TEdit* Other = Make<TEdit>(10, 100, 100, 21);
        TEdit* Edit = Make<TEdit>(10, 10, 160, 21);
        Case.Set(Edit, Other);
        ExpectLooksLike(Edit, Case.Name);
        delete Edit;
        delete Other;
    }
}

TEST_F(EditGolden, MemoWithWrappedText)
{
    TMemo* Memo = Make<TMemo>(10, 10, 180, 96);
    Memo->SetText("A memo wraps its long lines at blanks.\r\nA hard break starts a new "
                  "paragraph; na\xC3\xAFve words stay whole.");
    Memo->SetFocus();
    Memo->SetSelStart(2);
    Memo->SetSelLength(4);
    ExpectLooksLike(Memo, "memo-wrapped.png");
}
