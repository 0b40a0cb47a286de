// tests/platform/stdctrls/listboxtest.h: what the list and combo box tests share: an application
// on virtual time with exact font metrics, a shown form, injected clicks and keys, and the
// comparison with golden pictures under tests/fixtures/stdctrls/ (tests/support/golden.h).
#pragma once

#include "platform/forms/form.h"
#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/virtualtime.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

class TListTestApplication : public TApplication {
public:
    TListTestApplication() : TApplication(nullptr) { Application = this; }
};

// A form 400 x 300 at (100, 100), shown, on an application with virtual time.
class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDeterministicFontMetrics(true);
        Form = new TForm(&App);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Pump();
    }
    void TearDown() override { SetDeterministicFontMetrics(false); }

    static void Pump() { Application->ProcessMessages(); }
    template <class T>
    T* Place(int L, int Tp, int W, int H)
    {
        T* Control = new T(Form);
        Control->SetParent(Form);
        Control->SetBounds(L, Tp, W, H);
        return Control;
    }
    static void Click(TWinControl* C, int X, int Y, std::vector<int> Keys = {})
    {
        for (int Key : Keys)
            InjectKeyDown(Key);
        InjectMouseButton(C->Handle(), 0, true, X, Y);
        InjectMouseButton(C->Handle(), 0, false, X, Y);
        for (int Key : Keys)
            InjectKeyUp(Key);
        Pump();
    }
    static void Key(int VirtualKey, std::vector<int> Modifiers = {}, const std::string& Text = {})
    {
        for (int M : Modifiers)
            InjectKeyDown(M);
        InjectKeyPress(VirtualKey, Text);
        for (int M : Modifiers)
            InjectKeyUp(M);
        Pump();
    }
    // Letters typed as the keyboard gives them.
    static void Type(const std::string& Text)
    {
        for (char C : Text) {
            const char Upper = static_cast<char>(C >= 'a' && C <= 'z' ? C - 32 : C);
            InjectKeyPress(static_cast<unsigned char>(Upper), std::string(1, C));
        }
        Pump();
    }

public:
    TVirtualTime Time;
    TListTestApplication App;
    TForm* Form = nullptr;
};

// A picture against tests/fixtures/stdctrls/<Name>, real letters allowed a little drift.
inline void ExpectMatchesGolden(const TRasterDevice& D, const std::string& Name)
{
    ExpectMatchesGoldenPng(D, "stdctrls/" + Name, TGoldenTolerance{24, 40});
}
