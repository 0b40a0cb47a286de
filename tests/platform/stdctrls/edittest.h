// tests/platform/stdctrls/edittest.h: a form with an edit or a memo for the edit tests, typing
// and key presses through injected input, and the parent's EN_ notifications counted.
#pragma once

#include "platform/forms/form.h"
#include "platform/gfx/fontengine.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/stdctrls/memo.h"
#include "platform/ui/application.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class TEditTestApplication : public TApplication {
public:
    TEditTestApplication() : TApplication(nullptr) { Application = this; }
};

inline void PumpEdits()
{
    Application->ProcessMessages();
}

// Presses a key with the modifiers held (VK_SHIFT, VK_CONTROL).
inline void PressKey(int Key, const std::vector<int>& Held = {}, const std::string& Text = {})
{
    for (int Vk : Held)
        InjectKeyDown(Vk);
    InjectKeyPress(Key, Text);
    for (int Vk : Held)
        InjectKeyUp(Vk);
    PumpEdits();
}

// Types each UTF-8 character as one key with its text.
inline void TypeText(const std::string& Text)
{
    for (std::size_t I = 0; I < Text.size();) {
        std::size_t Len = 1;
        const auto Lead = static_cast<unsigned char>(Text[I]);
        if (Lead >= 0xF0)
            Len = 4;
        else if (Lead >= 0xE0)
            Len = 3;
        else if (Lead >= 0xC0)
            Len = 2;
        Len = std::min(Len, Text.size() - I);
        InjectKeyPress('A', Text.substr(I, Len));
        I += Len;
    }
    PumpEdits();
}

// A shown form holding controls, with deterministic font metrics (each character is as wide as
// half the cell height) so that positions are exact.
class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeterministicFontMetrics(true);
        Form = new TForm(&App);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
        PumpEdits();
    }
    void TearDown() override
    {
        SetDeterministicFontMetrics(false);
        Clipboard()->Clear();
    }

    template <class T>
    T* Make(int Left, int Top, int Width, int Height)
    {
        T* Control = new T(Form);
        Control->SetParent(Form);
        Control->SetBounds(Left, Top, Width, Height);
        Control->OnChange = [this](TObject*) { ++Changes; };
        return Control;
    }
    static void Focus(TWinControl* Control)
    {
        Control->SetFocus();
        PumpEdits();
        ASSERT_TRUE(Control->Focused());
    }
    TEdit* MakeEdit(const std::string& Text = {})
    {
        TEdit* Edit = Make<TEdit>(10, 10, 200, 21);
        Edit->SetText(Text);
        Focus(Edit);
        Changes = 0;
        return Edit;
    }
    TMemo* MakeMemo(const std::string& Text = {})
    {
        TMemo* Memo = Make<TMemo>(10, 40, 200, 120);
        Memo->SetText(Text);
        Focus(Memo);
        Changes = 0;
        return Memo;
    }

    TEditTestApplication App;
    TForm* Form = nullptr;
    int Changes = 0;
};
