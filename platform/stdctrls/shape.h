// platform/stdctrls/shape.h: TShape, a rectangle, square, rounded box, ellipse or circle drawn
// with its own pen and brush.
#pragma once

#include "platform/forms/controls.h"

#include <memory>

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    ~TShape() override;

    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(const TPen* Value) { FPen->Assign(Value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};
