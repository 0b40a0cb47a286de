// The 3-D look of the canvas: focus rectangles, edges and the frame controls (push buttons,
// check boxes, radio buttons, scroll and combo arrows), drawn in the system palette.
#include "platform/gfx/canvas.h"

#include <algorithm>

namespace {

// Every other pixel, in a checkerboard from the device origin: XORed twice it is gone.
std::shared_ptr<const TBrushPattern> FocusPattern()
{
    static const auto Pattern = std::make_shared<const TBrushPattern>(
        TBrushPattern{2, 2, {clWhite, clBlack, clBlack, clWhite}});
    return Pattern;
}

struct TEdgeColors {
    TColor TopLeft;
    TColor BottomRight;
};

} // namespace

void TCanvas::DrawFocusRect(const TRect& R)
{
    TRect D;
    if (!DeviceArea(R, D))
        return;
    TDeviceState S = State();
    S.Brush = TBrushData{clWhite, bsSolid, FocusPattern()};
    S.BrushOrigin = TPoint{0, 0};
    // Strips that never overlap, so that no pixel is inverted twice.
    for (const TRect& Strip : FrameStrips(D))
        FDevice->PatBlt(S, Strip, PATINVERT);
}

bool TCanvas::DrawEdge(TRect& R, unsigned Edge, unsigned Flags)
{
    TRect D = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    // One ring of the edge: top and left first, then right and bottom over the corners.
    auto Ring = [&](TEdgeColors C) {
        if (IsRectEmpty(D))
            return;
        const TColor TL = Plain(C.TopLeft);
        const TColor BR = Plain(C.BottomRight);
        if (Flags & BF_LEFT)
            FillDeviceRect(TRect{D.Left, D.Top, D.Left + 1, D.Bottom}, TL);
        if (Flags & BF_TOP)
            FillDeviceRect(TRect{D.Left, D.Top, D.Right, D.Top + 1}, TL);
        if (Flags & BF_RIGHT)
            FillDeviceRect(TRect{D.Right - 1, D.Top, D.Right, D.Bottom}, BR);
        if (Flags & BF_BOTTOM)
            FillDeviceRect(TRect{D.Left, D.Bottom - 1, D.Right, D.Bottom}, BR);
        if (Flags & BF_LEFT)
            ++D.Left;
        if (Flags & BF_TOP)
            ++D.Top;
        if (Flags & BF_RIGHT)
            --D.Right;
        if (Flags & BF_BOTTOM)
            --D.Bottom;
    };
    TChangeScope Scope(this);
    const unsigned Outer = Edge & BDR_OUTER;
    const unsigned Inner = Edge & BDR_INNER;
    if (Flags & BF_MONO) {
        if (Outer)
            Ring({clWindowFrame, clWindowFrame});
        if (Inner)
            Ring({clWindow, clWindow});
    } else if (Flags & BF_FLAT) {
        if (Outer)
            Ring({clBtnShadow, clBtnShadow});
        if (Inner)
            Ring({clBtnFace, clBtnFace});
    } else {
        const bool Soft = Flags & BF_SOFT;
        if (Outer & BDR_RAISEDOUTER)
            Ring({Soft ? clBtnHighlight : cl3DLight, cl3DDkShadow});
        else if (Outer & BDR_SUNKENOUTER)
            Ring({clBtnShadow, clBtnHighlight});
        if (Inner & BDR_RAISEDINNER)
            Ring({Soft ? cl3DLight : clBtnHighlight, clBtnShadow});
        else if (Inner & BDR_SUNKENINNER)
            Ring({cl3DDkShadow, cl3DLight});
    }
    if ((Flags & BF_MIDDLE) && !IsRectEmpty(D))
        FillDeviceRect(D, Plain((Flags & BF_MONO) ? clWindow : clBtnFace));
    if (Flags & BF_ADJUST) {
        const TPoint A = DPtoLP(D.TopLeft());
        const TPoint B = DPtoLP(D.BottomRight());
        R = TRect{A.X, A.Y, B.X, B.Y};
    }
    return true;
}

namespace {

// Rows of a filled triangle pointing in Direction (0 up, 1 down, 2 left, 3 right) centred in R.
std::vector<TRect> ArrowRects(const TRect& R, int Direction)
{
    const int Size = std::max(2, (std::min(R.Width(), R.Height()) + 2) / 4);
    const int CX = R.Left + (R.Width() - 1) / 2;
    const int CY = R.Top + (R.Height() - 1) / 2;
    std::vector<TRect> Rows;
    for (int I = 0; I < Size; ++I) {
        const int Half = Size - 1 - I; // the widest row first
        switch (Direction) {
        case 0: // up: the tip at the top
            Rows.push_back(TRect{CX - I, CY - Size / 2 + I, CX + I + 1, CY - Size / 2 + I + 1});
            break;
        case 1:
            Rows.push_back(
                TRect{CX - Half, CY - Size / 2 + I, CX + Half + 1, CY - Size / 2 + I + 1});
            break;
        case 2:
            Rows.push_back(TRect{CX - Size / 2 + I, CY - I, CX - Size / 2 + I + 1, CY + I + 1});
            break;
        default:
            Rows.push_back(
                TRect{CX - Size / 2 + I, CY - Half, CX - Size / 2 + I + 1, CY + Half + 1});
            break;
        }
    }
    return Rows;
}

} // namespace

bool TCanvas::DrawFrameControl(const TRect& R, unsigned Type, unsigned State)
{
    if (!FDevice)
        return false;
    TChangeScope Scope(this);
    const TRect D = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    const bool Pushed = State & DFCS_PUSHED;
    const bool Inactive = State & DFCS_INACTIVE;
    const bool Flat = State & (DFCS_FLAT | DFCS_MONO);
    // Edges in device coordinates, whatever the mapping.
    auto Edge = [&](TRect Box, unsigned EdgeKind, unsigned Flags) {
        const TPoint A = DPtoLP(Box.TopLeft());
        const TPoint B = DPtoLP(Box.BottomRight());
        TRect L{A.X, A.Y, B.X, B.Y};
        DrawEdge(L, EdgeKind, Flags | BF_ADJUST);
        return DeviceRect(L.Left, L.Top, L.Right, L.Bottom);
    };
    auto Face = [&](TRect Box, bool Sunken) {
        if (Flat) {
            FillDeviceRect(Box, Plain(clBtnShadow));
            InflateRect(Box, -1, -1);
            FillDeviceRect(Box, Plain(clBtnFace));
            return Box;
        }
        return Edge(Box, Sunken ? EDGE_SUNKEN : EDGE_RAISED,
                    BF_RECT | BF_MIDDLE | (Sunken ? 0u : static_cast<unsigned>(BF_SOFT)));
    };
    if (Type == DFC_BUTTON) {
        const unsigned Kind = State & 0xFF;
        if (Kind & DFCS_BUTTONPUSH) {
            Face(D, Pushed || (State & DFCS_CHECKED));
            return true;
        }
        // Check boxes and radio buttons take the largest square of the rectangle.
        const int Side = std::min(D.Width(), D.Height());
        const TRect Box =
            Bounds(D.Left + (D.Width() - Side) / 2, D.Top + (D.Height() - Side) / 2, Side, Side);
        const TColor Back = Plain(Inactive || Pushed ? clBtnFace : clWindow);
        const TColor Mark = Plain(Inactive ? clGrayText : clWindowText);
        if (Kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            TDeviceState S = this->State();
            S.Rop2 = R2_COPYPEN;
            S.Pen = TPenData{Plain(clBtnShadow), 1, psSolid, false};
            S.Brush = TBrushData{Back, bsSolid, nullptr};
            FDevice->Shape(S, TShapeCall{shEllipse, Box, {}, {}, {}});
            if (State & DFCS_CHECKED) {
                const int Dot = std::max(2, Side / 3);
                S.Pen.Color = Mark;
                S.Brush.Color = Mark;
                FDevice->Shape(S, TShapeCall{shEllipse,
                                             Bounds(Box.Left + (Side - Dot) / 2,
                                                    Box.Top + (Side - Dot) / 2, Dot, Dot),
                                             {},
                                             {},
                                             {}});
            }
            return true;
        }
        TRect Inside;
        if (Flat) {
            FillDeviceRect(Box, Plain(clBtnShadow));
            Inside = Box;
            InflateRect(Inside, -1, -1);
        } else {
            Inside = Edge(Box, EDGE_SUNKEN, BF_RECT);
        }
        FillDeviceRect(Inside, Back);
        if (State & DFCS_CHECKED) {
            // A tick three pixels thick: down from the left third, up to the right edge.
            const int W = Inside.Width();
            const int H = Inside.Height();
            const TPoint A{Inside.Left + W * 2 / 10, Inside.Top + H * 4 / 10};
            const TPoint B{Inside.Left + W * 4 / 10, Inside.Top + H * 6 / 10};
            const TPoint C{Inside.Left + W * 8 / 10 + 1, Inside.Top + H * 2 / 10 - 1};
            TDeviceState S = this->State();
            S.Rop2 = R2_COPYPEN;
            S.Pen = TPenData{Mark, 1, psSolid, false};
            for (int DY = 0; DY < 3; ++DY)
                FDevice->Polyline(
                    S, {TPoint{A.X, A.Y + DY}, TPoint{B.X, B.Y + DY}, TPoint{C.X, C.Y + DY}});
        }
        return true;
    }
    if (Type == DFC_SCROLL) {
        const unsigned Kind = State & 0xFF;
        TRect Inside;
        if (Pushed && !Flat) {
            FillDeviceRect(D, Plain(clBtnShadow));
            Inside = D;
            InflateRect(Inside, -1, -1);
            FillDeviceRect(Inside, Plain(clBtnFace));
            OffsetRect(Inside, 1, 1);
        } else {
            Inside = Face(D, false);
        }
        const int Direction = Kind == DFCS_SCROLLCOMBOBOX ? 1 : static_cast<int>(Kind & 3);
        const auto Rows = ArrowRects(Inside, Direction);
        if (Inactive)
            for (TRect Row : Rows) {
                OffsetRect(Row, 1, 1);
                FillDeviceRect(Row, Plain(clBtnHighlight));
            }
        for (const TRect& Row : Rows)
            FillDeviceRect(Row, Plain(Inactive ? clBtnShadow : clBtnText));
        return true;
    }
    return false;
}
