#include "tests/controls/grid/advgridfixture.h"

#include "platform/ui/messages.h"

namespace {

TEST_F(AdvGridTest, TimerTicksToggleTheBlinkPhase)
{
    Grid->SetCells(1, 1, "<bli>x</bli>");
    (void)Grid->Handle();
    EXPECT_FALSE(Grid->BlinkOn());
    Grid->Perform(WM_TIMER, TAdvStringGrid::TimerID, 0);
    EXPECT_TRUE(Grid->BlinkOn());
    Grid->Perform(WM_TIMER, TAdvStringGrid::TimerID, 0);
    EXPECT_FALSE(Grid->BlinkOn());
    Grid->Perform(WM_TIMER, 5, 0); // the base grid's timer
    EXPECT_FALSE(Grid->BlinkOn());
}

} // namespace
