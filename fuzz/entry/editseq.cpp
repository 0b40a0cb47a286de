// Feeds arbitrary bytes to the editor's text store as a sequence of edits, undos and redos: after
// every step the text, the bookmarks and the word wrap equal a plain model's; each undo and redo
// goes to a text the sequence had; undoing everything gives the start and redoing it the end
// (a hundred steps at most, so that no record has to make room).
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
    // Up to MaxLen bytes, most of them the ones wrapping and pasting care about.
    std::string Text(int MaxLen)
    {
        static const char Common[] = "ab -\t\r\nc";
        std::string S(static_cast<std::size_t>(Pick(0, MaxLen)), ' ');
        for (char& C : S) {
            const int B = Byte();
            C = (B & 0x80) ? static_cast<char>(B) : Common[B % 8];
        }
        return S;
    }
};

void SyncMarks(TOvcParaList& Store, TStoreModel& Model)
{
    for (int N = 0; N < 10; ++N)
        Model.Marks[static_cast<std::size_t>(N)] = Store.Marker(N);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TReader In(Data, Size);
    TOvcParaList Store(nullptr, 65535);
    Store.SetTabSize(static_cast<std::uint8_t>(In.Pick(1, 8)));
    Store.SetWrapColumn(In.Pick(1, 20));
    Store.SetWordWrap(In.Byte() % 2 == 0);
    Check(Store.AppendPara("start here", false) == 0);
    TStoreModel Model;
    Model.Paras = {"start here", ""};
    std::vector<std::vector<std::string>> History{Model.Paras};
    std::size_t Current = 0;

    for (int Step = 0; Step < 100 && In.More(); ++Step) {
        const int P = In.Pick(1, Model.Count());
        const int Len = Model.Len(P);
        bool Replayed = false;
        switch (In.Pick(0, 11)) {
        case 0:
        case 1: {
            const int Q = In.Pick(1, Len + 4);
            const std::string S = In.Text(8);
            Check(Store.InsertText(nullptr, P, Q, S) == 0);
            Model.Insert(P, Q, S);
            break;
        }
        case 2: {
            const int Q = In.Pick(1, Len + 2), N = In.Pick(0, 8);
            Check(Store.DeleteText(nullptr, P, Q, N) == 0);
            Model.Delete(P, Q, N);
            break;
        }
        case 3: {
            const int Q = In.Pick(1, Len + 3), N = In.Pick(0, 4);
            const std::string S = In.Text(4);
            Check(Store.ReplaceText(nullptr, P, Q, N, S) == 0);
            Model.Replace(P, Q, N, S);
            break;
        }
        case 4: {
            const int Q = In.Pick(1, Len + 2), Indent = In.Pick(0, 9), Tab = In.Pick(0, 4);
            Check(Store.SplitPara(nullptr, P, Q, Indent, Tab) == 0);
            Model.Split(P, Q, Indent, Tab);
            break;
        }
        case 5: {
            const int Q = Len + 1 + In.Pick(0, 3);
            Check(Store.JoinParas(nullptr, P, Q) == 0);
            Model.Join(P, Q);
            break;
        }
        case 6: {
            const int P2 = In.Pick(P, Model.Count());
            const TParaPos From{P, In.Pick(1, Len + 1)};
            TParaPos To{P2, In.Pick(1, Model.Len(P2) + 1)};
            if (P2 == P && To.Pos < From.Pos)
                To.Pos = From.Pos;
            Check(Store.DeleteRange(nullptr, From, To) == 0);
            Model.DeleteRange(From, To);
            break;
        }
        case 7: {
            TParaPos At{P, In.Pick(1, Len + 3)}, ModelAt = At;
            const std::string Block = In.Text(6);
            Check(Store.InsertBlock(nullptr, At, Block) == 0);
            Model.InsertBlock(ModelAt, Block);
            Check(At == ModelAt);
            break;
        }
        case 8: {
            const int N = In.Pick(0, 9), Q = In.Pick(1, Len + 2);
            Store.SetMarker(N, P, Q);
            Model.Marks[static_cast<std::size_t>(N)] = TParaPos{P, Q};
            break;
        }
        case 9:
        case 10: {
            TParaPos At;
            const bool Could = Store.UndoBuffer().UndoCount() > 0;
            Store.Undo(nullptr, At);
            if (Could) {
                // Back to a text the sequence had, never past the start.
                const std::vector<std::string> Now = StoreParas(Store);
                while (Current > 0 && History[Current] != Now)
                    --Current;
                Check(History[Current] == Now);
            }
            Replayed = true;
            break;
        }
        default: {
            TParaPos At;
            const bool Could = Store.UndoBuffer().RedoCount() > 0;
            Store.Redo(nullptr, At);
            if (Could) {
                const std::vector<std::string> Now = StoreParas(Store);
                while (Current + 1 < History.size() && History[Current] != Now)
                    ++Current;
                Check(History[Current] == Now);
            }
            Replayed = true;
            break;
        }
        }
        if (Replayed) {
            Model.Paras = History[Current];
            SyncMarks(Store, Model);
        } else {
            // A recorded change drops what could be redone, even one that leaves the text as
            // it was (overtyping a character by itself).
            if (Store.UndoBuffer().RedoCount() == 0)
                History.resize(Current + 1);
            if (Model.Paras != History[Current]) {
                History.resize(Current + 1);
                History.push_back(Model.Paras);
                ++Current;
            }
        }
        Check(StoreDifference(Store, Model).empty());
    }

    while (Store.UndoBuffer().UndoCount() > 0) {
        TParaPos At;
        Store.Undo(nullptr, At);
    }
    Check(StoreParas(Store) == History.front());
    Check(!Store.Modified());
    while (Store.UndoBuffer().RedoCount() > 0) {
        TParaPos At;
        Store.Redo(nullptr, At);
    }
    Check(StoreParas(Store) == History.back());
    TStoreModel End;
    End.Paras = History.back();
    SyncMarks(Store, End);
    Check(StoreDifference(Store, End).empty());
    return 0;
}
