// tests/controls/entry/edtestfixture.h: a shown form with an editor on virtual time and fixed
// font metrics, for the tests of the editor's display and mouse.
#pragma once

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcedit.h"
#include "platform/ui/ttimer.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The editor with the clip rectangles of its paints.
class TProbeEditor : public TOvcEditor {
public:
    using TOvcCustomEditor::VerticalScale;
    explicit TProbeEditor(TComponent* AOwner) : TOvcEditor(AOwner) {}
    std::vector<TRect> PaintClips;

protected:
    void Paint() override
    {
        PaintClips.push_back(Canvas()->ClipRect());
        TOvcEditor::Paint();
    }
};

class EditorViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 400, 300);
        Controller = new TOvcController(Form);
        Ed = new TProbeEditor(Form);
        Ed->SetParent(Form);
        Ed->SetBounds(10, 10, 300, 200);
        Ed->SetFocus();
        Pump();
    }

    // Lines joined by CR LF.
    static std::string Joined(const std::vector<std::string>& Lines)
    {
        std::string Text;
        for (std::size_t I = 0; I < Lines.size(); ++I)
            Text += (I ? "\r\n" : "") + Lines[I];
        return Text;
    }
    void SetText(const std::string& Text)
    {
        Ed->InsertString(Text);
        Ed->SetCaretPosition(1, 1);
        Pump();
    }
    // Lines "line 1" .. "line N".
    void NumberedLines(int N)
    {
        std::string Text;
        for (int I = 1; I <= N; ++I)
            Text += "line " + std::to_string(I) + (I < N ? "\r\n" : "");
        SetText(Text);
    }

    // The client point of the middle of the cell of screen row Row, column Col (both from 1).
    TPoint Cell(int Row, int Col) const
    {
        return TPoint{Ed->LeftMargin() + (Col - 1) * Ed->CharWidth() + 1,
                      (Row - 1) * Ed->LineHeight() + Ed->LineHeight() / 2};
    }

    // Runs Action once, Ms milliseconds from now, from inside whatever loop is pumping then.
    void After(int Ms, std::function<void()> Action)
    {
        auto* Timer = new TTimer(Form);
        Timer->SetInterval(static_cast<UINT>(Ms));
        Timer->OnTimer = [Timer, Action](TObject*) {
            Timer->SetEnabled(false);
            Action();
        };
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TVirtualTime Time;
    TForm* Form = nullptr;
    TOvcController* Controller = nullptr;
    TProbeEditor* Ed = nullptr;
};
