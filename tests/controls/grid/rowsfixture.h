// tests/controls/grid/rowsfixture.h: a grid filled with one text per row, and helpers to read
// a column back, for the row, column and filter tests.
#pragma once

#include "tests/controls/grid/advgridfixture.h"

#include <string>
#include <vector>

class RowsTest : public AdvGridTest {
protected:
    // Columns 0..Cols-1; row 0 is the fixed header, row R holds "rR" in column 1 and "cC.rR" in
    // every other column.
    void Fill(int Cols, int Rows)
    {
        Grid->SetColCount(Cols);
        Grid->SetRowCount(Rows);
        for (int R = 0; R < Rows; ++R)
            for (int C = 0; C < Cols; ++C)
                Grid->SetCells(C, R,
                               C == 1 ? "r" + std::to_string(R)
                                      : "c" + std::to_string(C) + ".r" + std::to_string(R));
    }
    std::vector<std::string> Column(int ACol)
    {
        std::vector<std::string> Texts;
        for (int R = 0; R < Grid->RowCount(); ++R)
            Texts.push_back(Grid->Cells(ACol, R));
        return Texts;
    }
    std::vector<std::string> Row(int ARow)
    {
        std::vector<std::string> Texts;
        for (int C = 0; C < Grid->ColCount() + Grid->NumHiddenColumns(); ++C)
            Texts.push_back(Grid->Cells(C, ARow));
        return Texts;
    }
};
