// tests/controls/entry/edstoremodel.h: a plain model of the editor's text store (paragraphs as
// strings, ten bookmarks) that the store's tests and the edit-sequence fuzz target check the
// store against, and a comparison of the two including a full rewrap of every paragraph.
#pragma once

#include "controls/entry/ovcedpara.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

struct TStoreModel {
    std::vector<std::string> Paras{std::string()};
    std::array<TParaPos, 10> Marks{};

    std::string& Para(int P) { return Paras[static_cast<std::size_t>(P - 1)]; }
    int Len(int P) { return static_cast<int>(Para(P).size()); }
    int Count() const { return static_cast<int>(Paras.size()); }

    void Insert(int P, int Q, std::string_view Text)
    {
        std::string& S = Para(P);
        if (static_cast<int>(S.size()) < Q - 1)
            S.resize(static_cast<std::size_t>(Q - 1), ' ');
        S.insert(static_cast<std::size_t>(Q - 1), Text);
        for (TParaPos& M : Marks)
            if (M.Para == P && M.Pos >= Q)
                M.Pos += static_cast<int>(Text.size());
    }

    void Delete(int P, int Q, int N)
    {
        if (Q < 1 || Q > Len(P) || N <= 0)
            return;
        N = std::min(N, Len(P) - Q + 1);
        Para(P).erase(static_cast<std::size_t>(Q - 1), static_cast<std::size_t>(N));
        for (TParaPos& M : Marks)
            if (M.Para == P && M.Pos >= Q + N)
                M.Pos -= N;
            else if (M.Para == P && M.Pos >= Q)
                M = TParaPos();
    }

    void Replace(int P, int Q, int OldLen, std::string_view Text)
    {
        if (Q > Len(P) + 1)
            Para(P).resize(static_cast<std::size_t>(Q - 1), ' ');
        OldLen = std::clamp(OldLen, 0, Len(P) - Q + 1);
        const int NewLen = static_cast<int>(Text.size());
        Para(P).replace(static_cast<std::size_t>(Q - 1), static_cast<std::size_t>(OldLen), Text);
        for (TParaPos& M : Marks)
            if (M.Para == P && M.Pos >= Q + OldLen)
                M.Pos += NewLen - OldLen;
            else if (M.Para == P && M.Pos >= Q + NewLen)
                M = TParaPos();
    }

    void InsertPara(int P, std::string_view Text)
    {
        Paras.insert(Paras.begin() + (P - 1), std::string(Text));
        for (TParaPos& M : Marks)
            if (M.Para >= P)
                ++M.Para;
    }

    void DeletePara(int P)
    {
        if (Count() <= 1)
            return;
        Paras.erase(Paras.begin() + (P - 1));
        for (TParaPos& M : Marks)
            if (M.Para == P)
                M = TParaPos();
            else if (M.Para > P)
                --M.Para;
    }

    void Split(int P, int Q, int Indent = 0, int TabSize = 0)
    {
        Q = std::clamp(Q, 1, Len(P) + 1);
        if (Q == 1) {
            InsertPara(P, std::string_view());
            return;
        }
        InsertPara(P + 1, std::string_view(Para(P)).substr(static_cast<std::size_t>(Q - 1)));
        for (TParaPos& M : Marks)
            if (M.Para == P && M.Pos >= Q)
                M = TParaPos{P + 1, M.Pos - Q + 1};
        int Cut = Q - 1;
        while (Cut > 0 && (Para(P)[static_cast<std::size_t>(Cut - 1)] == ' ' ||
                           Para(P)[static_cast<std::size_t>(Cut - 1)] == '\t'))
            --Cut;
        Delete(P, Cut + 1, Len(P) - Cut);
        const int Tabs = TabSize > 0 ? Indent / TabSize : 0;
        const int Spaces = TabSize > 0 ? Indent % TabSize : Indent;
        if (Tabs + Spaces > 0)
            Insert(P + 1, 1,
                   std::string(static_cast<std::size_t>(Tabs), '\t') +
                       std::string(static_cast<std::size_t>(Spaces), ' '));
    }

    void Join(int P, int Q)
    {
        if (P < 1 || P >= Count())
            return;
        Q = std::max(Q, Len(P) + 1);
        if (Q == 1) {
            DeletePara(P);
            return;
        }
        const std::string Next = Para(P + 1);
        Insert(P, Q, Next);
        for (TParaPos& M : Marks)
            if (M.Para == P + 1)
                M = TParaPos{P, M.Pos + Q - 1};
        DeletePara(P + 1);
    }

    void DeleteRange(TParaPos From, TParaPos To)
    {
        if (From.Para == To.Para) {
            Delete(From.Para, From.Pos, To.Pos - From.Pos);
            return;
        }
        if (From.Pos == 1 && To.Pos == 1) {
            for (int I = From.Para; I < To.Para; ++I)
                DeletePara(From.Para);
            return;
        }
        Delete(From.Para, From.Pos, Len(From.Para) - From.Pos + 1);
        Delete(To.Para, 1, To.Pos - 1);
        for (int I = From.Para + 1; I < To.Para; ++I)
            DeletePara(From.Para + 1);
        Join(From.Para, From.Pos);
    }

    void InsertBlock(TParaPos& At, std::string_view Text)
    {
        if (Text.find('\n') == std::string_view::npos) {
            Insert(At.Para, At.Pos, Text);
            At.Pos += static_cast<int>(Text.size());
            return;
        }
        for (;;) {
            const std::size_t End = Text.find('\n');
            std::string_view Piece = Text.substr(0, End);
            if (End == std::string_view::npos) {
                if (!Piece.empty()) {
                    Insert(At.Para, At.Pos, Piece);
                    At.Pos += static_cast<int>(Piece.size());
                }
                return;
            }
            Text.remove_prefix(End + 1);
            while (!Piece.empty() && Piece.back() == '\r')
                Piece.remove_suffix(1);
            if (At.Pos == 1) {
                InsertPara(At.Para, Piece);
                ++At.Para;
                continue;
            }
            if (!Piece.empty())
                Insert(At.Para, At.Pos, Piece);
            At.Pos += static_cast<int>(Piece.size());
            Split(At.Para, At.Pos);
            At = TParaPos{At.Para + 1, 1};
        }
    }
};

// The store's paragraphs as texts.
inline std::vector<std::string> StoreParas(TOvcParaList& Store)
{
    std::vector<std::string> Result;
    for (int P = 1; P <= Store.ParaCount(); ++P)
        Result.emplace_back(Store.ParaText(P));
    return Result;
}

// Where the store differs from the model, or from a full rewrap of its paragraphs; empty when
// it does not.
inline std::string StoreDifference(TOvcParaList& Store, const TStoreModel& Model,
                                   bool WithMarks = true)
{
    if (Store.ParaCount() != Model.Count())
        return "paragraph count " + std::to_string(Store.ParaCount()) + ", model " +
               std::to_string(Model.Count());
    int Lines = 0, Size = -2;
    const int Column = Store.WordWrap() ? Store.WrapColumn() : 0;
    for (int P = 1; P <= Model.Count(); ++P) {
        const std::string& Want = Model.Paras[static_cast<std::size_t>(P - 1)];
        if (Store.ParaText(P) != Want)
            return "paragraph " + std::to_string(P) + " '" + std::string(Store.ParaText(P)) +
                   "', model '" + Want + "'";
        TParaNode* Node = Store.ParaNode(P);
        auto* Fresh = new TParaNode(Want);
        Fresh->Wrap(Column, Store.TabSize());
        bool Same = Fresh->LineCount() == Node->LineCount();
        for (int L = 0; Same && L < Fresh->LineCount(); ++L)
            Same = Fresh->LineStart(L) == Node->LineStart(L);
        Fresh->Release();
        if (!Same)
            return "paragraph " + std::to_string(P) + " wrapped unlike a full rewrap";
        for (int L = 1; Node->Utf8() && L < Node->LineCount(); ++L)
            if ((static_cast<unsigned char>(Want[static_cast<std::size_t>(Node->LineStart(L))]) &
                 0xC0) == 0x80)
                return "paragraph " + std::to_string(P) + " broken inside a character";
        Lines += Node->LineCount();
        Size += static_cast<int>(Want.size()) + 2;
    }
    if (Store.LineCount() != Lines)
        return "line count " + std::to_string(Store.LineCount()) + ", lines " +
               std::to_string(Lines);
    if (Store.TextSize() != Size)
        return "text size " + std::to_string(Store.TextSize()) + ", model " + std::to_string(Size);
    for (int N = 0; WithMarks && N < 10; ++N)
        if (!(Store.Marker(N) == Model.Marks[static_cast<std::size_t>(N)]))
            return "bookmark " + std::to_string(N) + " at " + std::to_string(Store.Marker(N).Para) +
                   "," + std::to_string(Store.Marker(N).Pos) + ", model " +
                   std::to_string(Model.Marks[static_cast<std::size_t>(N)].Para) + "," +
                   std::to_string(Model.Marks[static_cast<std::size_t>(N)].Pos);
    return std::string();
}
