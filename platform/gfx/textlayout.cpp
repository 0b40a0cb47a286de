#include "platform/gfx/textlayout.h"

#include "platform/rtl/strings.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

const std::string Ellipsis = "...";

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

// A hard line after prefix processing: Source[I] is the byte of the original text that Text[I]
// came from.
struct TDisplayLine {
    std::string Text;
    std::vector<size_t> Source;
    int Underline = -1; // byte index in Text of the underlined character
    size_t SourceBegin = 0;
    size_t SourceEnd = 0;
};

class TLayouter {
public:
    TLayouter(const TTextMeasure& AMeasure, const std::string& AText, const TRect& ARect,
              unsigned AFormat, int TabLength)
        : Measure(AMeasure), Text(AText), Rect(ARect), Format(AFormat)
    {
        int TabChars = 8;
        if (Format & DT_TABSTOP) {
            TabChars = static_cast<int>((Format >> 8) & 0xFF);
            Format &= ~0xFF00u;
        }
        if (TabLength > 0)
            TabChars = TabLength;
        if (TabChars <= 0)
            TabChars = 8;
        TabWidth = std::max(1, TabChars * Measure.AveCharWidth());
        Utf8 = IsValidUtf8(Text);
        Coding = Utf8 ? tcUtf8 : tcAnsi;
        LineHeight = Measure.LineHeight();
        if (Format & DT_EXTERNALLEADING)
            LineHeight += Measure.ExternalLeading();
    }

    TDrawTextLayout Run();

private:
    struct TVisualLine {
        const TDisplayLine* Hard;
        std::string Text;
        std::vector<size_t> Source;
        int Underline = -1;
        size_t SourceEnd = 0; // the original byte after the line's text
        bool Ellipsized = false;
        size_t HeadEnd = 0;   // with an ellipsis: display bytes kept before it
        size_t TailBegin = 0; // and where the kept tail starts (path ellipsis)
    };

    size_t CharEnd(const std::string& S, size_t I) const
    {
        ++I;
        if (Utf8)
            while (I < S.size() && (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80)
                ++I;
        return std::min(I, S.size());
    }
    size_t CharStart(const std::string& S, size_t I) const
    {
        if (Utf8)
            while (I > 0 && I < S.size() && (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80)
                --I;
        return I;
    }

    int NextTabStop(int X) const { return (X / TabWidth + 1) * TabWidth; }

    int Width(const std::string& S) const
    {
        if (!(Format & DT_EXPANDTABS) || S.find('\t') == std::string::npos)
            return Measure.CodedTextWidth(S, Coding);
        int X = 0;
        size_t Begin = 0;
        for (;;) {
            size_t Tab = S.find('\t', Begin);
            X += Measure.CodedTextWidth(
                S.substr(Begin, Tab == std::string::npos ? Tab : Tab - Begin), Coding);
            if (Tab == std::string::npos)
                return X;
            X = NextTabStop(X);
            Begin = Tab + 1;
        }
    }

    std::vector<TDisplayLine> SplitHardLines() const;
    size_t FitEnd(const std::string& S, size_t Pos, int Limit, size_t& Hint) const;
    void Wrap(const TDisplayLine& Hard, std::vector<TVisualLine>& Out) const;
    void Ellipsize(TVisualLine& Line, bool Always) const;
    TVisualLine Slice(const TDisplayLine& Hard, size_t Begin, size_t End) const;
    void Place(const TVisualLine& Line, TDrawTextLine& Out) const;
    std::string Modified(const std::vector<TVisualLine>& Lines) const;

    const TTextMeasure& Measure;
    const std::string& Text;
    TRect Rect;
    unsigned Format;
    int TabWidth = 1;
    int LineHeight = 0;
    bool Utf8 = false;
    TTextCoding Coding = tcAnsi;
};

std::vector<TDisplayLine> TLayouter::SplitHardLines() const
{
    std::vector<TDisplayLine> Lines;
    bool Prefix = !(Format & DT_NOPREFIX);
    bool Single = Format & DT_SINGLELINE;
    size_t I = 0;
    while (I < Text.size()) {
        TDisplayLine Line;
        Line.SourceBegin = I;
        while (I < Text.size()) {
            char C = Text[I];
            if (!Single && (C == '\r' || C == '\n'))
                break;
            if (Prefix && C == '&') {
                if (I + 1 < Text.size() && Text[I + 1] == '&') {
                    Line.Text += '&';
                    Line.Source.push_back(I);
                    I += 2;
                    continue;
                }
                if (I + 1 < Text.size() && (Single || (Text[I + 1] != '\r' && Text[I + 1] != '\n')))
                    Line.Underline = static_cast<int>(Line.Text.size());
                ++I;
                continue;
            }
            Line.Text += C;
            Line.Source.push_back(I);
            ++I;
        }
        Line.SourceEnd = I;
        if (I < Text.size()) {
            if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n')
                I += 2;
            else
                ++I;
        }
        Lines.push_back(std::move(Line));
    }
    return Lines;
}

TLayouter::TVisualLine TLayouter::Slice(const TDisplayLine& Hard, size_t Begin, size_t End) const
{
    TVisualLine Line;
    Line.Hard = &Hard;
    Line.Text = Hard.Text.substr(Begin, End - Begin);
    Line.Source.assign(Hard.Source.begin() + static_cast<std::ptrdiff_t>(Begin),
                       Hard.Source.begin() + static_cast<std::ptrdiff_t>(End));
    Line.SourceEnd = End >= Hard.Text.size() ? Hard.SourceEnd : Hard.Source[End - 1] + 1;
    if (Hard.Underline >= static_cast<int>(Begin) && Hard.Underline < static_cast<int>(End))
        Line.Underline = Hard.Underline - static_cast<int>(Begin);
    return Line;
}

// The farthest character boundary up to which S from Pos fits Limit, or Pos when not even one
// character fits. Widths grow with the end: the search starts at the last line's fit (Hint, in
// characters, updated here) and widens by doubling steps before it bisects, so a line of
// ordinary text costs two measurements, and no search measures much more than twice the longer
// of the two fits, however much text follows.
size_t TLayouter::FitEnd(const std::string& S, size_t Pos, int Limit, size_t& Hint) const
{
    constexpr size_t Unknown = std::numeric_limits<size_t>::max();
    size_t Lo = 0, LoEnd = Pos;      // Lo characters fit, up to LoEnd
    size_t Hi = Unknown;             // Hi characters do not fit, or are not there
    auto Probe = [&](size_t Chars) { // Lo < Chars < Hi
        size_t End = Pos, Count = 0;
        for (; Count < Chars && End < S.size(); ++Count)
            End = CharEnd(S, End);
        if (Count == Lo) {
            Hi = Lo + 1; // the text ends
        } else if (Width(S.substr(Pos, End - Pos)) <= Limit) {
            Lo = Count;
            LoEnd = End;
            if (Count < Chars)
                Hi = Lo + 1;
        } else {
            Hi = Count;
        }
    };
    Probe(std::max<size_t>(Hint, 1));
    size_t Step = 1;
    if (Lo > 0) {
        while (Hi == Unknown) {
            Probe(Lo + Step);
            Step *= 2;
        }
    } else {
        while (Lo == 0 && Hi > 1) {
            Probe(Hi > Step ? Hi - Step : 1);
            Step *= 2;
        }
    }
    while (Hi - Lo > 1)
        Probe(Lo + (Hi - Lo) / 2);
    Hint = Lo;
    return LoEnd;
}

// Breaks a hard line at blanks so that each piece fits the rectangle's width; a word wider
// than the width stands alone (and overflows) unless DT_EDITCONTROL breaks it by characters.
// Each line looks only at the text it can hold and the word that follows, so long text wraps
// in time proportional to its length.
void TLayouter::Wrap(const TDisplayLine& Hard, std::vector<TVisualLine>& Out) const
{
    const std::string& S = Hard.Text;
    const int Limit = Rect.Width();
    if (S.empty()) {
        Out.push_back(Slice(Hard, 0, 0));
        return;
    }
    // A line may end after a word (the blanks that follow belong to no line) or at the end.
    auto EndsWord = [&S](size_t K) {
        return K == S.size() || (IsBlank(S[K]) && !IsBlank(S[K - 1]));
    };
    size_t Pos = 0;
    size_t Hint = 0;
    for (;;) {
        const size_t Fit = FitEnd(S, Pos, Limit, Hint);
        // The last word end that fits...
        size_t End = Fit;
        while (End > Pos && !EndsWord(End))
            --End;
        if (End == Pos) {
            if (Format & DT_EDITCONTROL) {
                // ...else the most characters that fit, at least one...
                End = std::max(Fit, CharEnd(S, Pos));
            } else {
                // ...else the first word, overflowing.
                End = Pos + 1;
                while (!EndsWord(End))
                    ++End;
            }
        }
        Out.push_back(Slice(Hard, Pos, End));
        if (End >= S.size())
            return;
        Pos = End;
        while (Pos < S.size() && IsBlank(S[Pos]))
            ++Pos;
        if (Pos >= S.size())
            return;
    }
}

// Fits Line into the width with "..." by the ellipsis flag in effect; Always puts the
// ellipsis on even when the line fits (it stands for lines that were left out).
void TLayouter::Ellipsize(TVisualLine& Line, bool Always) const
{
    const int Limit = Rect.Width();
    const std::string& S = Line.Text;
    if (!Always && Width(S) <= Limit)
        return;

    // The longest head among the candidate ends (ascending) that fits with Suffix after it.
    auto LongestHead = [&](const std::vector<size_t>& Ends, const std::string& Suffix) {
        size_t Lo = 0, Hi = Ends.size();
        while (Lo < Hi) {
            size_t Mid = (Lo + Hi) / 2;
            if (Width(S.substr(0, Ends[Mid]) + Suffix) <= Limit)
                Lo = Mid + 1;
            else
                Hi = Mid;
        }
        return Lo == 0 ? std::string::npos : Ends[Lo - 1];
    };
    std::vector<size_t> CharEnds{0};
    for (size_t I = 0; I < S.size(); I = CharEnd(S, I))
        CharEnds.push_back(CharEnd(S, I));

    size_t Head = 0;
    size_t Tail = S.size();
    size_t Separator = S.find_last_of("\\/");
    if ((Format & DT_PATH_ELLIPSIS) && Separator != std::string::npos && !Always) {
        std::vector<size_t> Ends;
        for (size_t E : CharEnds)
            if (E <= Separator)
                Ends.push_back(E);
        size_t Found = LongestHead(Ends, Ellipsis + S.substr(Separator));
        Head = Found == std::string::npos ? 0 : Found;
        Tail = Separator;
    } else {
        size_t Found = std::string::npos;
        if (Format & DT_WORD_ELLIPSIS) {
            std::vector<size_t> Ends;
            for (size_t K = 1; K < S.size(); ++K)
                if (IsBlank(S[K]) && !IsBlank(S[K - 1]))
                    Ends.push_back(K);
            if (Always)
                Ends.push_back(S.size());
            Found = LongestHead(Ends, Ellipsis);
        }
        if (Found == std::string::npos)
            Found = LongestHead(CharEnds, Ellipsis);
        Head = Found == std::string::npos ? 0 : Found;
    }

    std::string Result = S.substr(0, Head) + Ellipsis + S.substr(Tail);
    std::vector<size_t> Source(Line.Source.begin(),
                               Line.Source.begin() + static_cast<std::ptrdiff_t>(Head));
    size_t Mark = Head == 0 ? (Line.Source.empty() ? Line.Hard->SourceBegin : Line.Source[0])
                            : Line.Source[Head - 1] + 1;
    Source.insert(Source.end(), Ellipsis.size(), Mark);
    Source.insert(Source.end(), Line.Source.begin() + static_cast<std::ptrdiff_t>(Tail),
                  Line.Source.end());
    int Underline = -1;
    if (Line.Underline >= 0 && static_cast<size_t>(Line.Underline) < Head)
        Underline = Line.Underline;
    else if (Line.Underline >= 0 && static_cast<size_t>(Line.Underline) >= Tail && Tail < S.size())
        Underline = static_cast<int>(Head + Ellipsis.size() + (Line.Underline - Tail));
    Line.HeadEnd = Head;
    Line.TailBegin = Tail;
    Line.Text = std::move(Result);
    Line.Source = std::move(Source);
    Line.Underline = Underline;
    Line.Ellipsized = true;
}

void TLayouter::Place(const TVisualLine& Line, TDrawTextLine& Out) const
{
    const std::string& S = Line.Text;
    Out.Width = Width(S);
    if (Format & DT_CENTER)
        Out.X = Rect.Left + (Rect.Width() - Out.Width) / 2;
    else if (Format & DT_RIGHT)
        Out.X = Rect.Right - Out.Width;
    else
        Out.X = Rect.Left;

    if (!(Format & DT_PREFIXONLY)) {
        if (Format & DT_EXPANDTABS) {
            int X = 0;
            size_t Begin = 0;
            for (;;) {
                size_t Tab = S.find('\t', Begin);
                std::string Piece = S.substr(Begin, Tab == std::string::npos ? Tab : Tab - Begin);
                int PieceWidth = Measure.CodedTextWidth(Piece, Coding);
                if (!Piece.empty())
                    Out.Runs.push_back(TTextRun{std::move(Piece), Out.X + X});
                X += PieceWidth;
                if (Tab == std::string::npos)
                    break;
                X = NextTabStop(X);
                Begin = Tab + 1;
            }
        } else if (!S.empty()) {
            Out.Runs.push_back(TTextRun{S, Out.X});
        }
    }

    if (Line.Underline >= 0 && !(Format & DT_HIDEPREFIX) &&
        static_cast<size_t>(Line.Underline) < S.size()) {
        size_t U = static_cast<size_t>(Line.Underline);
        Out.Underlined = true;
        Out.UnderlineLeft = Out.X + Width(S.substr(0, U));
        Out.UnderlineRight = Out.X + Width(S.substr(0, CharEnd(S, U)));
    }
}

std::string TLayouter::Modified(const std::vector<TVisualLine>& Lines) const
{
    std::string Result;
    size_t Copied = 0;
    for (const TVisualLine& Line : Lines) {
        if (!Line.Ellipsized)
            continue;
        // The source bytes of the kept head, the ellipsis, then those of the kept tail.
        size_t LineBegin = Line.Source.empty() ? Line.Hard->SourceBegin : Line.Source.front();
        size_t HeadSourceEnd = Line.HeadEnd == 0 ? LineBegin : Line.Source[Line.HeadEnd - 1] + 1;
        if (LineBegin < Copied)
            continue;
        Result.append(Text, Copied, HeadSourceEnd - Copied);
        Result += Ellipsis;
        size_t TailLength = Line.Text.size() - Line.HeadEnd - Ellipsis.size();
        size_t Resume;
        if (TailLength > 0) {
            size_t TailSource = Line.Source[Line.HeadEnd + Ellipsis.size()];
            Resume = TailSource;
        } else {
            Resume = Line.SourceEnd;
        }
        if (Resume < Copied)
            Resume = Copied;
        Copied = Resume;
    }
    Result.append(Text, Copied, std::string::npos);
    return Result;
}

TDrawTextLayout TLayouter::Run()
{
    TDrawTextLayout Layout;
    Layout.Coding = Coding;
    const bool Single = Format & DT_SINGLELINE;
    const bool WordBreak = (Format & DT_WORDBREAK) && !Single;
    const bool AnyEllipsis = Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);

    std::vector<TDisplayLine> Hard = SplitHardLines();
    std::vector<TVisualLine> Lines;
    for (const TDisplayLine& Line : Hard) {
        if (WordBreak)
            Wrap(Line, Lines);
        else
            Lines.push_back(Slice(Line, 0, Line.Text.size()));
    }

    // An edit control shows no partly visible last line (but always its first).
    bool Cut = false;
    if ((Format & DT_EDITCONTROL) && !(Format & DT_CALCRECT) && !Single && LineHeight > 0) {
        size_t Fit = static_cast<size_t>(std::max(1, Rect.Height() / LineHeight));
        if (Lines.size() > Fit) {
            Lines.resize(Fit);
            Cut = true;
        }
    }
    if (AnyEllipsis) {
        for (size_t I = 0; I < Lines.size(); ++I)
            Ellipsize(Lines[I], Cut && I + 1 == Lines.size() && (Format & DT_END_ELLIPSIS));
    }

    int Y = Rect.Top;
    if (Single && !Lines.empty()) {
        if (Format & DT_VCENTER)
            Y = Rect.Top + (Rect.Height() - LineHeight) / 2;
        else if (Format & DT_BOTTOM)
            Y = Rect.Bottom - LineHeight;
    }
    int Widest = 0;
    Layout.Lines.reserve(Lines.size());
    for (const TVisualLine& Line : Lines) {
        TDrawTextLine Out;
        Place(Line, Out);
        Out.Y = Y;
        Y += LineHeight;
        Widest = std::max(Widest, Out.Width);
        Layout.Lines.push_back(std::move(Out));
    }

    const int Total = static_cast<int>(Lines.size()) * LineHeight;
    Layout.Height = Total;
    if (Single && !Lines.empty() && (Format & (DT_VCENTER | DT_BOTTOM)))
        Layout.Height = Layout.Lines[0].Y + LineHeight - Rect.Top;

    Layout.CalcRect = Rect;
    Layout.CalcRect.Bottom = Rect.Top + Total;
    Layout.CalcRect.Right = Rect.Left + (WordBreak ? std::max(Rect.Width(), Widest) : Widest);

    if (Format & DT_MODIFYSTRING)
        Layout.ModifiedText = Modified(Lines);
    return Layout;
}

} // namespace

TDrawTextLayout LayoutDrawText(const TTextMeasure& Measure, const std::string& Text,
                               const TRect& Rect, unsigned Format, int TabLength)
{
    TLayouter Layouter(Measure, Text, Rect, Format, TabLength);
    return Layouter.Run();
}
