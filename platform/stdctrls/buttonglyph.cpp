#include "platform/stdctrls/buttonglyph.h"

#include "platform/stdctrls/buttonwindow.h"

#include <algorithm>

namespace {

TSize GlyphSizeOf(TBitmap* Glyph, TNumGlyphs NumGlyphs)
{
    if (Glyph == nullptr || Glyph->Empty())
        return TSize{0, 0};
    return TSize{Glyph->Width() / std::max(1, NumGlyphs), Glyph->Height()};
}

void DrawGlyph(TCanvas* Canvas, const TPoint& At, TBitmap* Glyph, TNumGlyphs NumGlyphs,
               TButtonState State)
{
    const TSize Size = GlyphSizeOf(Glyph, NumGlyphs);
    if (Size.cx == 0 || Size.cy == 0)
        return;
    const int Index = static_cast<int>(State) < NumGlyphs ? static_cast<int>(State) : 0;
    TCanvas* Source = Glyph->Canvas();
    const TColor Clear = Source->Pixels(0, Size.cy - 1) & 0xFFFFFF;
    const bool Emboss = State == bsDisabled && Index == 0;
    for (int Y = 0; Y < Size.cy; ++Y)
        for (int X = 0; X < Size.cx; ++X) {
            const TColor C = Source->Pixels(Index * Size.cx + X, Y) & 0xFFFFFF;
            if (C == Clear)
                continue;
            if (!Emboss) {
                Canvas->SetPixels(At.X + X, At.Y + Y, C);
                continue;
            }
            // Dark pixels of the picture make the embossed shape.
            const int Light = GetRValue(C) * 30 + GetGValue(C) * 59 + GetBValue(C) * 11;
            if (Light >= 100 * 192)
                continue;
            Canvas->SetPixels(At.X + X + 1, At.Y + Y + 1, ColorToRGB(clBtnHighlight));
        }
    if (!Emboss)
        return;
    for (int Y = 0; Y < Size.cy; ++Y)
        for (int X = 0; X < Size.cx; ++X) {
            const TColor C = Source->Pixels(X, Y) & 0xFFFFFF;
            const int Light = GetRValue(C) * 30 + GetGValue(C) * 59 + GetBValue(C) * 11;
            if (C != Clear && Light < 100 * 192)
                Canvas->SetPixels(At.X + X, At.Y + Y, ColorToRGB(clBtnShadow));
        }
}

} // namespace

TButtonGlyphLayout CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                    const std::string& Caption, TButtonLayout Layout, int Margin,
                                    int Spacing, const TSize& GlyphSize)
{
    const TSize ClientSize{Client.Width(), Client.Height()};
    TSize TextSize{0, 0};
    if (!Caption.empty()) {
        TRect R = Rect(0, 0, ClientSize.cx, 0);
        Canvas->DrawText(Caption, R, DT_CALCRECT | DT_SINGLELINE);
        TextSize = TSize{R.Width(), R.Height()};
    }
    const bool Across = Layout == blGlyphLeft || Layout == blGlyphRight;
    TPoint GlyphPos;
    TPoint TextPos;
    if (Across) {
        GlyphPos.Y = (ClientSize.cy - GlyphSize.cy + 1) / 2;
        TextPos.Y = (ClientSize.cy - TextSize.cy + 1) / 2;
    } else {
        GlyphPos.X = (ClientSize.cx - GlyphSize.cx + 1) / 2;
        TextPos.X = (ClientSize.cx - TextSize.cx + 1) / 2;
    }
    if (TextSize.cx == 0 || GlyphSize.cx == 0)
        Spacing = 0;
    const int Glyph = Across ? GlyphSize.cx : GlyphSize.cy;
    const int Text = Across ? TextSize.cx : TextSize.cy;
    const int Room = Across ? ClientSize.cx : ClientSize.cy;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (Room - (Glyph + Text)) / 3;
            Spacing = Margin;
        } else {
            Margin = (Room - (Glyph + Spacing + Text) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (Room - (Margin + Glyph) - Text) / 2;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphPos.X = Margin;
        TextPos.X = GlyphPos.X + GlyphSize.cx + Spacing;
        break;
    case blGlyphRight:
        GlyphPos.X = ClientSize.cx - Margin - GlyphSize.cx;
        TextPos.X = GlyphPos.X - Spacing - TextSize.cx;
        break;
    case blGlyphTop:
        GlyphPos.Y = Margin;
        TextPos.Y = GlyphPos.Y + GlyphSize.cy + Spacing;
        break;
    case blGlyphBottom:
        GlyphPos.Y = ClientSize.cy - Margin - GlyphSize.cy;
        TextPos.Y = GlyphPos.Y - Spacing - TextSize.cy;
        break;
    }
    const int DX = Client.Left + Offset.X;
    const int DY = Client.Top + Offset.Y;
    TButtonGlyphLayout Result;
    Result.GlyphPos = TPoint{GlyphPos.X + DX, GlyphPos.Y + DY};
    Result.TextBounds = Bounds(TextPos.X + DX, TextPos.Y + DY, TextSize.cx, TextSize.cy);
    return Result;
}

void DrawButtonGlyph(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                     const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                     TBitmap* Glyph, TNumGlyphs NumGlyphs, TButtonState State)
{
    const TButtonGlyphLayout Placed = CalcButtonLayout(
        Canvas, Client, Offset, Caption, Layout, Margin, Spacing, GlyphSizeOf(Glyph, NumGlyphs));
    DrawGlyph(Canvas, Placed.GlyphPos, Glyph, NumGlyphs, State);
    TRect Text = Placed.TextBounds;
    Canvas->Brush()->SetStyle(bsClear);
    DrawButtonText(Canvas, Caption, Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                   State != bsDisabled);
}
