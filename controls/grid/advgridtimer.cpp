// The grid's window timers: the 500 ms one (the blink phase of blinking HTML text, the repaint of
// the cells that show it, hovering) and the pan timer.
#include "controls/grid/advgrid.h"

#include "platform/rtl/strings.h"
#include "platform/ui/messages.h"

void TAdvStringGrid::WMTimer(TMessage& Message)
{
    if (Message.WParam == PanTimerID) {
        PanTick();
        return;
    }
    if (Message.WParam != TimerID) {
        Inherited(Message);
        return;
    }
    FBlinkOn = !FBlinkOn;
    RepaintBlinkingCells();
    HoverTick();
}

bool TAdvStringGrid::IsBlinkingCell(int ACol, int ARow) const
{
    return Pos("<BLI", UpperCase(Cells(RealColIndex(ACol), ARow))) > 0;
}

void TAdvStringGrid::RepaintBlinkingCells()
{
    int LastCol = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
    int LastRow = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
    auto Check = [this](int C, int R) {
        if (IsBlinkingCell(C, R))
            RepaintCell(C, R);
    };
    for (int C = LeftCol(); C <= LastCol; ++C) {
        for (int R = TopRow(); R <= LastRow; ++R)
            Check(C, R);
        for (int R = 0; R < FixedRows() && R < RowCount(); ++R)
            Check(C, R);
    }
    for (int C = 0; C < FixedCols() && C < ColCount(); ++C)
        for (int R = TopRow(); R <= LastRow; ++R)
            Check(C, R);
}
