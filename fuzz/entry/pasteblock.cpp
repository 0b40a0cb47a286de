// Pastes arbitrary blocks (line ends of every kind, NUL, invalid UTF-8) into the editor's text
// store under small limits: each paste either gives what a plain model gives, within the limits,
// or returns a store error and leaves the text as it was; undoing every paste gives the start
// and redoing them the end.
#include "controls/entry/ovcedpara.h"
#include "fuzz/fuzzinput.h"
#include "tests/controls/entry/edstoremodel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class TReader : public TByteReader {
public:
    using TByteReader::TByteReader;
    // Up to MaxLen pieces: the low bytes stand for line ends, NUL and (halves of) characters,
    // the others are themselves.
    std::string Block(int MaxLen)
    {
        static const std::string Pieces[] = {"\n", "\r\n", "\r",   std::string(1, '\0'),
                                             "ü",  "€",    "\xC3", "\xBC",
                                             " ",  "-",    "\t",   "a"};
        std::string S;
        for (int I = Pick(0, MaxLen); I > 0; --I) {
            const int B = Byte();
            if (B < 12)
                S += Pieces[B];
            else
                S.push_back(static_cast<char>(B));
        }
        return S;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TReader In(Data, Size);
    TOvcParaList Store(nullptr, 65535);
    Store.SetTabSize(static_cast<std::uint8_t>(In.Pick(1, 8)));
    Store.SetWrapColumn(In.Pick(1, 12));
    Store.SetWordWrap(In.Byte() % 2 == 0);
    Check(Store.AppendPara("ab cd", false) == 0);
    Check(Store.AppendPara("üx", false) == 0);
    Store.SetParaLimit(In.Pick(2, 9));
    Store.SetTextLimit(In.Pick(16, 96));
    Store.SetParaLengthLimit(In.Pick(6, 24));
    TStoreModel Model;
    Model.Paras = {"ab cd", "üx", ""};
    const std::vector<std::string> Start = Model.Paras;

    for (int Step = 0; Step < 8 && In.More(); ++Step) {
        const int P = In.Pick(1, Model.Count());
        TParaPos At{P, In.Pick(1, Model.Len(P) + 3)}, ModelAt = At;
        const std::string Block = In.Block(24);
        const std::vector<std::string> Before = StoreParas(Store);
        const Word Error = Store.InsertBlock(nullptr, At, Block);
        if (Error != 0) {
            Check(Error >= oeTooManyParas && Error <= oeParaTooLong);
            Check(StoreParas(Store) == Before);
        } else {
            Model.InsertBlock(ModelAt, Block);
            Check(At == ModelAt);
            Check(Store.TextSize() <= Store.TextLimit());
            for (int Q = 1; Q <= Store.ParaCount(); ++Q)
                Check(Store.ParaLength(Q) <= Store.ParaLengthLimit());
        }
        Check(StoreDifference(Store, Model).empty());
    }

    const std::vector<std::string> End = StoreParas(Store);
    TParaPos At;
    for (int I = 0; I < 1000 && Store.UndoBuffer().UndoCount() > 0; ++I)
        Store.Undo(nullptr, At);
    Check(StoreParas(Store) == Start);
    for (int I = 0; I < 1000 && Store.UndoBuffer().RedoCount() > 0; ++I)
        Store.Redo(nullptr, At);
    Check(StoreParas(Store) == End);
    Check(StoreDifference(Store, Model, false).empty());
    return 0;
}
