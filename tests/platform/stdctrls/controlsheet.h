// tests/platform/stdctrls/controlsheet.h: a golden sheet of controls, a cell per state, each cell
// a control drawn on a fresh form with a margin of the form around it.
#pragma once

#include "tests/platform/stdctrls/stdctrlstest.h"
#include "tests/support/golden.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Cells side by side (Across) or one under another, on forms of FormWidth x FormHeight (a bar
// aligned to its form's edge takes the form's size).
class TControlSheet {
public:
    TControlSheet(TApplication* App, int FormWidth, int FormHeight, bool Across = true,
                  int Margin = 3)
        : FApp(App), FFormWidth(FormWidth), FFormHeight(FormHeight), FAcross(Across),
          FMargin(Margin)
    {
    }

    // Build places the control on a fresh form and puts it in its state.
    void Add(const std::function<TControl*(TForm*)>& Build)
    {
        TForm* Form = ShownForm(FApp, FFormWidth, FFormHeight);
        TControl* Control = Build(Form);
        Pump();
        const TRasterDevice& Raster = WindowBackBuffer(Form->Handle())->Raster();
        TRect Area = Control->BoundsRect();
        InflateRect(Area, FMargin, FMargin);
        TCell Cell{Area.Width(), Area.Height(), {}};
        for (int Y = Area.Top; Y < Area.Bottom; ++Y)
            for (int X = Area.Left; X < Area.Right; ++X)
                Cell.Pixels.push_back(Raster.ScanLine(Y)[X]);
        FCells.push_back(std::move(Cell));
        delete Form;
    }

    // Compared with tests/fixtures/stdctrls/<Name> exactly.
    void ExpectMatches(const std::string& Name) const
    {
        int Width = 0, Height = 0;
        for (const TCell& C : FCells) {
            Width = FAcross ? Width + C.Width : std::max(Width, C.Width);
            Height = FAcross ? std::max(Height, C.Height) : Height + C.Height;
        }
        TRasterDevice Sheet(Width, Height, clWhite);
        int At = 0;
        for (const TCell& C : FCells) {
            for (int Y = 0; Y < C.Height; ++Y)
                std::copy_n(&C.Pixels[static_cast<std::size_t>(Y * C.Width)], C.Width,
                            Sheet.ScanLine(FAcross ? Y : At + Y) + (FAcross ? At : 0));
            At += FAcross ? C.Width : C.Height;
        }
        ExpectMatchesGoldenPng(Sheet, Rect(0, 0, Width, Height), "stdctrls/" + Name);
    }

private:
    struct TCell {
        int Width = 0;
        int Height = 0;
        std::vector<std::uint32_t> Pixels;
    };
    TApplication* FApp;
    int FFormWidth;
    int FFormHeight;
    bool FAcross;
    int FMargin;
    std::vector<TCell> FCells;
};
