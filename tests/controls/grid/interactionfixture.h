// tests/controls/grid/interactionfixture.h: a shown grid of known cells for the keyboard and
// mouse tests, with the points of its cells and borders and keys pressed with modifiers.
#pragma once

#include "controls/grid/advgrid.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Opens up what the tests look at.
class TInteractionGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FCursorKind;
    using TAdvStringGrid::FSortTime;
    using TAdvStringGrid::TAdvStringGrid;
};

class GridInteraction : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = ShownForm(&App, 600, 400);
        Grid = new TInteractionGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 560, 360);
        Grid->SetDefaultColWidth(80);
        Grid->SetDefaultRowHeight(20);
        Grid->SetColCount(5);
        Grid->SetRowCount(6);
        for (int C = 0; C < 5; ++C)
            for (int R = 0; R < 6; ++R)
                Grid->SetCells(C, R, std::to_string(C) + ":" + std::to_string(R));
        Pump();
    }

    // The middle of a cell, in the grid's client coordinates.
    TPoint Centre(int ACol, int ARow) const
    {
        const TRect R = Grid->CellRect(ACol, ARow);
        return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
    void Click(int ACol, int ARow)
    {
        const TPoint P = Centre(ACol, ARow);
        ClickAt(Grid, P.X, P.Y);
    }
    void ClickPoint(TPoint P) { ClickAt(Grid, P.X, P.Y); }
    void WithKeys(const std::vector<int>& Held, const std::function<void()>& Action)
    {
        for (int K : Held)
            InjectKeyDown(K);
        Action();
        for (auto It = Held.rbegin(); It != Held.rend(); ++It)
            InjectKeyUp(*It);
        Pump();
    }
    void Press(int Key, const std::vector<int>& Held = {})
    {
        Grid->SetFocus();
        Pump();
        WithKeys(Held, [Key] { InjectKeyPress(Key); });
    }

    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TInteractionGrid* Grid = nullptr;
};
