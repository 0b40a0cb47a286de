// controls/grid/advgridpublish.h: registers the published properties of the grid and of its
// settings objects (once, from the grid's constructor).
#pragma once

void PublishAdvStringGrid();
