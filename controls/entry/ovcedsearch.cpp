// controls/entry/ovcedsearch.cpp: the editor's search and replace: a skip-table search through
// the paragraphs, forwards or backwards, within a scope, for whole words, replacing one or all.
#include "controls/entry/ovcedit.h"

#include "controls/entry/ovcstr.h"
#include "platform/ui/cursors.h"
#include "platform/ui/screen.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t NoMatch = std::string_view::npos;

// The hourglass while the text is searched.
class TSearchCursor {
public:
    TSearchCursor()
    {
        if (Screen != nullptr) {
            FSaved = Screen->Cursor();
            Screen->SetCursor(crHourGlass);
        }
    }
    ~TSearchCursor()
    {
        if (Screen != nullptr)
            Screen->SetCursor(FSaved);
    }
    TSearchCursor(const TSearchCursor&) = delete;
    TSearchCursor& operator=(const TSearchCursor&) = delete;

private:
    TCursor FSaved = crDefault;
};

// A range of the text no match may touch: the text put there by the replacement of the
// selection, which the rest of the search must not find again.
struct THole {
    TParaPos Start;
    TParaPos End;
};

bool PosBefore(TParaPos A, TParaPos B)
{
    return A.Para < B.Para || (A.Para == B.Para && A.Pos < B.Pos);
}

// A position behind a replacement at Pos of paragraph Para moves by the change of length.
void ShiftPos(TParaPos& P, int Para, int Pos, int Delta)
{
    if (P.Para == Para && P.Pos > Pos)
        P.Pos += Delta;
}

// The find text prepared for the skip-table search, and the rules a match must meet.
class TFinder {
public:
    TFinder(const std::string& Pattern, bool MatchCase, bool WholeWord)
        : FPattern(Pattern), FMatchCase(MatchCase), FWholeWord(WholeWord)
    {
        if (!FMatchCase)
            for (char& C : FPattern)
                C = CharUpperOne(C);
        BuildSkipTable(FPattern, FTable);
    }

    int Length() const { return static_cast<int>(FPattern.size()); }

    bool Equals(std::string_view Text) const
    {
        if (Text.size() != FPattern.size())
            return false;
        for (std::size_t I = 0; I < Text.size(); ++I)
            if ((FMatchCase ? Text[I] : CharUpperOne(Text[I])) != FPattern[I])
                return false;
        return true;
    }

    // The first taken match lying in Text[From, To) of paragraph Para.
    std::size_t First(std::string_view Text, std::size_t From, std::size_t To, int Para) const
    {
        while (From + FPattern.size() <= To) {
            std::size_t Pos = 0;
            const bool Found =
                FMatchCase ? SkipSearch(Text.data() + From, To - From, FTable, Pos, FPattern)
                           : SkipSearchNoCase(Text.data() + From, To - From, FTable, Pos, FPattern);
            if (!Found)
                return NoMatch;
            if (Taken(Text, From + Pos, Para))
                return From + Pos;
            From += Pos + 1;
        }
        return NoMatch;
    }

    // The last taken match lying in Text[From, To) of paragraph Para.
    std::size_t Last(std::string_view Text, std::size_t From, std::size_t To, int Para) const
    {
        std::size_t Result = NoMatch;
        for (std::size_t At = First(Text, From, To, Para); At != NoMatch;
             At = First(Text, At + 1, To, Para))
            Result = At;
        return Result;
    }

    std::optional<THole> Hole;

private:
    bool Taken(std::string_view Text, std::size_t At, int Para) const
    {
        const std::size_t End = At + FPattern.size();
        if (FWholeWord && ((At > 0 && !IsEditorDelimiter(Text[At - 1])) ||
                           (End < Text.size() && !IsEditorDelimiter(Text[End]))))
            return false;
        if (Hole) {
            const TParaPos MatchStart{Para, static_cast<int>(At) + 1};
            const TParaPos MatchEnd{Para, static_cast<int>(End) + 1};
            if (PosBefore(MatchStart, Hole->End) && PosBefore(Hole->Start, MatchEnd))
                return false;
        }
        return true;
    }

    std::string FPattern;
    TSkipTable FTable{};
    bool FMatchCase;
    bool FWholeWord;
};

} // namespace

int TOvcCustomEditor::Search(const std::string& FindText, const std::string& ReplaceText,
                             Word Options)
{
    const std::string Find = FindText.substr(0, MaxOvcText);
    const std::string Replacement = ReplaceText.substr(0, MaxOvcText);
    if (Find.empty())
        return 0;
    const bool Backward = (Options & soBackward) != 0;
    const bool ReplaceAll = (Options & soReplaceAll) != 0 && !ReadOnly();
    const bool Replacing = ReplaceAll || ((Options & soReplace) != 0 && !ReadOnly());
    const bool SelOnly = (Options & soSelText) != 0;
    TFinder Finder(Find, (Options & soMatchCase) != 0, (Options & soWholeWord) != 0);
    const TSearchCursor Busy;
    const int OldLines = LineCount();
    const bool Group = FParas->BeginGroup();
    int Count = 0;
    Word Error = 0;

    // A selection holding the find text is replaced first, as a paste.
    bool ReplacedSelection = false;
    TParaPos HoleStart, HoleEnd;
    if (Replacing && HasSelection() && SelStart().Para == SelEnd().Para &&
        Finder.Equals(SelectedText())) {
        HoleStart = SelStart();
        HoleEnd = HoleStart;
        Error = FParas->DeleteText(this, HoleStart.Para, HoleStart.Pos, Finder.Length());
        if (Error == 0)
            Error = FParas->InsertBlock(this, HoleEnd, Replacement);
        SetCaretFromPara(HoleEnd);
        FAnchor = ClippedCaret();
        if (Error == 0) {
            ReplacedSelection = true;
            Finder.Hole = THole{HoleStart, HoleEnd};
            ++Count;
        }
    }

    // The scope, and where the search starts in it.
    const TParaPos TextEnd{ParaCount(), ParaLength(ParaCount()) + 1};
    TParaPos From{1, 1}, To = TextEnd;
    if (SelOnly) {
        From = ReplacedSelection ? HoleStart : SelStart();
        To = ReplacedSelection ? HoleEnd : SelEnd();
    } else if ((Options & soGlobal) == 0) {
        if (Backward)
            To = ReplacedSelection ? HoleStart : ClippedCaret();
        else
            From = ClippedCaret();
    }

    bool Found = false;
    TParaPos MatchAt;
    if (Error == 0) {
        int Para = Backward ? To.Para : From.Para;
        TParaNode* Node = FParas->ParaNode(Para);
        // Forwards: the offset the search goes on from; backwards: the end of the part left.
        std::size_t Offset = static_cast<std::size_t>(Backward ? To.Pos - 1 : From.Pos - 1);
        while (Node != nullptr && (Backward ? Para >= From.Para : Para <= To.Para)) {
            const std::string_view Text = Node->Text();
            const std::size_t Low =
                Backward ? (Para == From.Para ? static_cast<std::size_t>(From.Pos - 1) : 0)
                         : Offset;
            std::size_t High = Backward ? std::min(Offset, Text.size()) : Text.size();
            if (!Backward && Para == To.Para)
                High = std::min(High, static_cast<std::size_t>(To.Pos - 1));
            const std::size_t At = Low > High ? NoMatch
                                   : Backward ? Finder.Last(Text, Low, High, Para)
                                              : Finder.First(Text, Low, High, Para);
            if (At == NoMatch) {
                Node = Backward ? Node->Prev : Node->Next;
                Para += Backward ? -1 : 1;
                Offset = Backward ? NoMatch : 0;
                continue;
            }
            const int Pos = static_cast<int>(At) + 1;
            if (!ReplaceAll) {
                Found = true;
                MatchAt = TParaPos{Para, Pos};
                break;
            }
            Error = FParas->ReplaceText(this, Para, Pos, Finder.Length(), Replacement);
            if (Error != 0)
                break;
            ++Count;
            // Go on behind (or before) the new text, never through it.
            const int Delta = static_cast<int>(Replacement.size()) - Finder.Length();
            ShiftPos(To, Para, Pos, Delta);
            if (Finder.Hole) {
                ShiftPos(Finder.Hole->Start, Para, Pos, Delta);
                ShiftPos(Finder.Hole->End, Para, Pos, Delta);
            }
            Offset = Backward ? At : At + Replacement.size();
        }
    }
    FParas->EndGroup(Group);

    if (Found) {
        const TParaPos MatchEnd{MatchAt.Para, MatchAt.Pos + Finder.Length()};
        SetCaretFromPara(Backward ? MatchAt : MatchEnd);
        FAnchor = Backward ? MatchEnd : MatchAt;
    } else if (ReplaceAll && Count > 0 && SelOnly) {
        SetCaretFromPara(To);
        FAnchor = From;
    } else if (Count > 0) {
        FAnchor = ClippedCaret();
    }
    if (Found || Count > 0 || Error != 0)
        CaretMoved(false, 0);
    // The store keeps only its last operation's changed lines; several replacements can lie
    // anywhere between the first and that one, so the views are repainted whole then.
    if (Count > 1)
        TextChanged(-1);
    else if (Count > 0 || Error != 0)
        TextChanged(OldLines);
    if (Error != 0) {
        DoOnError(Error);
        return -static_cast<int>(Error);
    }
    if (Count > 0)
        return Count;
    return Found ? 0 : -1;
}
