// controls/entry/ovcbordr.h: TOvcBorder, one edge's line of an entry field, and TOvcBorders, the
// four of them.
#pragma once

#include "platform/gfx/color.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

#include <memory>

class TCanvas;

enum TOvcBorderStyle { bpsSolid };

class TOvcBorder : public TPersistent {
public:
    // Copies Enabled and the pen, not the style.
    void Assign(const TPersistent* Source) override;

    TOvcBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TOvcBorderStyle Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor Value);
    TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(TPenStyle Value);
    // Values of 0 and below are refused.
    int PenWidth() const { return FPenWidth; }
    void SetPenWidth(int Value);

    // Fired by every change that takes effect.
    TNotifyEvent OnChange;

private:
    void Changed();

    TOvcBorderStyle FBorderStyle = bpsSolid;
    bool FEnabled = false;
    TColor FPenColor = clBlack;
    TPenStyle FPenStyle = psSolid;
    int FPenWidth = 2;
};

class TOvcBorders : public TPersistent {
public:
    TOvcBorders();
    ~TOvcBorders() override;

    void Assign(const TPersistent* Source) override;

    TOvcBorder* BottomBorder() const { return FBottomBorder.get(); }
    TOvcBorder* LeftBorder() const { return FLeftBorder.get(); }
    TOvcBorder* RightBorder() const { return FRightBorder.get(); }
    TOvcBorder* TopBorder() const { return FTopBorder.get(); }
    bool AnyEnabled() const;

private:
    std::unique_ptr<TOvcBorder> FBottomBorder;
    std::unique_ptr<TOvcBorder> FLeftBorder;
    std::unique_ptr<TOvcBorder> FRightBorder;
    std::unique_ptr<TOvcBorder> FTopBorder;
};

// Where an edge's line of pen width W runs in a field of Width x Height: the left and right
// lines' x, the top and bottom lines' y.
int BorderLeftX(int W);
int BorderRightX(int W, int Width);
int BorderTopY(int W);
int BorderBottomY(int W, int Height);
// Draws the enabled edges' lines on Canvas over a client area of Width x Height.
void DrawBorders(TCanvas* Canvas, const TOvcBorders& Borders, int Width, int Height);
