// Paths: between BeginPath and EndPath the drawing calls add figures, which StrokePath and
// FillPath then draw.
#include "platform/gfx/canvas.h"

void TCanvas::AddFigure(std::vector<TPoint> Points, bool Closed)
{
    FPath.push_back(TFigure{std::move(Points), Closed});
}

bool TCanvas::BeginPath()
{
    AbortPath();
    FPathOpen = true;
    return true;
}

bool TCanvas::EndPath()
{
    if (!FPathOpen)
        return false;
    FPathOpen = false;
    FPathReady = true;
    return true;
}

bool TCanvas::AbortPath()
{
    FPath.clear();
    FPathOpen = false;
    FPathReady = false;
    return true;
}

bool TCanvas::CloseFigure()
{
    if (!FPathOpen || FPath.empty())
        return false;
    FPath.back().Closed = true;
    return true;
}

void TCanvas::DrawPathFigures(bool Fill, bool Stroke)
{
    if (FDevice) {
        TChangeScope Scope(this);
        const TDeviceState S = State();
        std::vector<std::vector<TPoint>> Polygons;
        for (const TFigure& F : FPath)
            if (F.Points.size() >= 2)
                Polygons.push_back(F.Points);
        if (Fill && !Polygons.empty())
            FDevice->PolyPolygon(S, Polygons, FSettings.PolyFillMode == WINDING, true, false);
        if (Stroke)
            for (const TFigure& F : FPath) {
                if (F.Points.size() < 2)
                    continue;
                std::vector<TPoint> Line = F.Points;
                if (F.Closed)
                    Line.push_back(F.Points.front());
                FDevice->Polyline(S, Line);
            }
    }
    FPath.clear();
    FPathReady = false;
}

bool TCanvas::StrokePath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(false, true);
    return true;
}

bool TCanvas::FillPath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(true, false);
    return true;
}

bool TCanvas::StrokeAndFillPath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(true, true);
    return true;
}
