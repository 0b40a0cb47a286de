// Any texts under any sort style: the comparison of two cells is antisymmetric wherever the
// order does not depend on which cell comes first, a sort leaves a permutation of the rows (also
// with compare handlers that answer at random), sorted where the style is a total order, and a
// raising handler leaves the grid as it was.
// Input: a style byte, a flags byte, a handler-answer byte, then the cells separated by '\n'.
#include "controls/grid/advgrid.h"
#include "fuzz/fuzzinput.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

struct THandlerFailure {};

bool Antisymmetric(TSortStyle Style)
{
    return Style != 0 && Style != 8 && Style != 12;
}

bool TotalOrder(TSortStyle Style)
{
    return Style == 1 || Style == 3 || Style == 4 || Style == 5 || Style == 6 || Style == 7 ||
           Style == 13 || Style == 14 || Style > 14;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size < 3)
        return 0;
    const TSortStyle Style = Data[0] % 17;
    const int Flags = Data[1];
    unsigned Answer = Data[2];
    std::vector<std::string> Texts;
    std::string Rest = InputText(Data + 3, Size - 3);
    for (std::size_t At = 0; Texts.size() < 40;) {
        const std::size_t Nl = Rest.find('\n', At);
        Texts.push_back(Rest.substr(At, Nl == std::string::npos ? std::string::npos : Nl - At));
        if (Nl == std::string::npos)
            break;
        At = Nl + 1;
    }

    TAdvStringGrid Grid(nullptr);
    Grid.SetColCount(3);
    Grid.SetRowCount(static_cast<int>(Texts.size()) + 1);
    for (std::size_t I = 0; I < Texts.size(); ++I) {
        Grid.SetCells(1, static_cast<int>(I) + 1, Texts[I]);
        Grid.SetCells(2, static_cast<int>(I) + 1, std::to_string(I));
    }
    Grid.OnGetFormat = [Style](TObject*, int ACol, TSortStyle& S, std::string& P, std::string& X) {
        if (ACol != 1)
            return;
        S = Style;
        P = "$";
        X = " kg";
    };
    const bool Raise = (Flags & 8) != 0;
    int Calls = 0;
    const auto Next = [&] {
        if (Raise && ++Calls == static_cast<int>(Answer % 7) + 1)
            throw THandlerFailure();
        Answer = Answer * 1103515245u + 12345u;
        return static_cast<int>((Answer >> 16) % 3) - 1;
    };
    Grid.OnCustomCompare = [&](TObject*, const std::string&, const std::string&, int& Res) {
        Res = Next();
    };
    Grid.OnRawCompare = [&](TObject*, int, int, int, int& Res) { Res = Next(); };
    Grid.SetSortIgnoreBlanks((Flags & 1) != 0);
    Grid.SetSortDirection((Flags & 2) != 0 ? sdDescending : sdAscending);
    Grid.SetSortFull((Flags & 4) != 0);
    Grid.SetSortColumn(1);

    const int Rows = Grid.RowCount();
    if (Antisymmetric(Style))
        for (int A = 1; A < Rows; ++A)
            for (int B = 1; B < Rows; ++B)
                Check(Grid.CompareCells(1, A, B) == -Grid.CompareCells(1, B, A));

    std::vector<std::pair<std::string, std::string>> Before;
    for (int R = 1; R < Rows; ++R)
        Before.emplace_back(Grid.Cells(1, R), Grid.Cells(2, R));
    bool Raised = false;
    try {
        Grid.SortByColumn();
    } catch (const THandlerFailure&) {
        Raised = true;
    }
    Check(Grid.UpdateCount() == 0);
    std::vector<std::pair<std::string, std::string>> After;
    for (int R = 1; R < Rows; ++R)
        After.emplace_back(Grid.Cells(1, R), Grid.Cells(2, R));
    if (Raised) {
        Check(After == Before);
        return 0;
    }
    if (TotalOrder(Style)) {
        const int Sign = Grid.SortDirection() == sdDescending ? -1 : 1;
        for (int R = 1; R + 1 < Rows; ++R)
            Check(Sign * Grid.CompareCells(1, R, R + 1) <= 0);
    }
    std::sort(Before.begin(), Before.end());
    std::sort(After.begin(), After.end());
    Check(After == Before);
    return 0;
}
