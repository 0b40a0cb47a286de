// platform/stdctrls/edittext.cpp: character steps, word steps and the line layout of an edit.
#include "platform/stdctrls/edittext.h"

#include "platform/rtl/strings.h"

#include <algorithm>

namespace EditText {

namespace {

bool IsContinuation(unsigned char C)
{
    return (C & 0xC0) == 0x80;
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsBreak(char C)
{
    return C == '\r' || C == '\n';
}

enum TCharClass { ccBlank, ccBreak, ccWord };

TCharClass ClassAt(const std::string& S, std::size_t I)
{
    if (IsBlank(S[I]))
        return ccBlank;
    if (IsBreak(S[I]))
        return ccBreak;
    return ccWord;
}

} // namespace

std::size_t CharLength(const std::string& S, std::size_t I)
{
    if (I >= S.size())
        return 0;
    if (static_cast<unsigned char>(S[I]) < 0x80)
        return 1;
    std::size_t J = I;
    char32_t Code = 0;
    return DecodeUtf8At(S, J, Code) ? J - I : 1;
}

std::size_t NextChar(const std::string& S, std::size_t I, bool CrLfOne)
{
    if (I >= S.size())
        return S.size();
    if (CrLfOne && S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n')
        return I + 2;
    return I + CharLength(S, I);
}

std::size_t CharStart(const std::string& S, std::size_t I, bool CrLfOne)
{
    if (I == 0 || I >= S.size())
        return std::min(I, S.size());
    if (CrLfOne && S[I] == '\n' && S[I - 1] == '\r')
        return I - 1;
    if (!IsContinuation(static_cast<unsigned char>(S[I])))
        return I;
    // Inside a well-formed character when one starting up to three bytes back covers I.
    for (std::size_t Back = 1; Back <= 3 && Back <= I; ++Back) {
        const std::size_t Start = I - Back;
        if (!IsContinuation(static_cast<unsigned char>(S[Start])))
            return CharLength(S, Start) > Back ? Start : I;
    }
    return I;
}

std::size_t PrevChar(const std::string& S, std::size_t I, bool CrLfOne)
{
    if (I == 0)
        return 0;
    I = std::min(I, S.size());
    return CharStart(S, I - 1, CrLfOne);
}

std::size_t FitBytes(const std::string& S, std::size_t Max)
{
    if (Max >= S.size())
        return S.size();
    return CharStart(S, Max, false);
}

std::size_t PrevWord(const std::string& S, std::size_t I, bool CrLfOne)
{
    if (I == 0)
        return 0;
    std::size_t P = PrevChar(S, I, CrLfOne);
    if (ClassAt(S, P) == ccBreak)
        return P;
    while (P > 0 && ClassAt(S, P) == ccBlank)
        P = PrevChar(S, P, CrLfOne);
    if (ClassAt(S, P) != ccWord)
        return ClassAt(S, P) == ccBreak ? NextChar(S, P, CrLfOne) : P;
    while (P > 0) {
        const std::size_t Before = PrevChar(S, P, CrLfOne);
        if (ClassAt(S, Before) != ccWord)
            break;
        P = Before;
    }
    return P;
}

std::size_t NextWord(const std::string& S, std::size_t I, bool CrLfOne)
{
    if (I >= S.size())
        return S.size();
    std::size_t P = I;
    if (ClassAt(S, P) == ccBreak)
        return NextChar(S, P, CrLfOne);
    while (P < S.size() && ClassAt(S, P) == ccWord)
        P = NextChar(S, P, CrLfOne);
    while (P < S.size() && ClassAt(S, P) == ccBlank)
        P = NextChar(S, P, CrLfOne);
    return P;
}

void WordAt(const std::string& S, std::size_t I, bool CrLfOne, std::size_t& Start, std::size_t& End)
{
    I = CharStart(S, std::min(I, S.size()), CrLfOne);
    if (I == S.size() || ClassAt(S, I) == ccBreak) {
        // At the end of a line: the word before it.
        if (I == 0 || ClassAt(S, PrevChar(S, I, CrLfOne)) == ccBreak) {
            Start = End = I;
            return;
        }
        I = PrevChar(S, I, CrLfOne);
    }
    const TCharClass Class = ClassAt(S, I);
    Start = I;
    while (Start > 0) {
        const std::size_t Before = PrevChar(S, Start, CrLfOne);
        if (ClassAt(S, Before) != Class)
            break;
        Start = Before;
    }
    End = I;
    while (End < S.size() && ClassAt(S, End) == Class)
        End = NextChar(S, End, CrLfOne);
}

std::vector<TLine> Layout(const std::string& S, bool MultiLine, int WrapWidth,
                          const TCharWidth& Width)
{
    std::vector<TLine> Lines;
    if (!MultiLine) {
        Lines.push_back(TLine{0, S.size(), S.size()});
        return Lines;
    }
    std::size_t LineStart = 0;
    while (true) {
        // The paragraph up to the next CR LF.
        std::size_t ParaEnd = S.find("\r\n", LineStart);
        const bool LastPara = ParaEnd == std::string::npos;
        if (LastPara)
            ParaEnd = S.size();
        if (WrapWidth > 0) {
            int X = 0;
            std::size_t BreakAt = std::string::npos; // after the last blank run
            std::size_t P = LineStart;
            while (P < ParaEnd) {
                const std::size_t Len = CharLength(S, P);
                if (IsBlank(S[P])) {
                    X += Width(S, P, Len, X);
                    P += Len;
                    BreakAt = P;
                    continue;
                }
                const int W = Width(S, P, Len, X);
                if (X + W > WrapWidth && P > LineStart) {
                    const std::size_t Cut = BreakAt != std::string::npos ? BreakAt : P;
                    Lines.push_back(TLine{LineStart, Cut, Cut});
                    LineStart = Cut;
                    BreakAt = std::string::npos;
                    X = 0;
                    P = Cut;
                    continue;
                }
                X += W;
                P += Len;
            }
        }
        if (LastPara) {
            Lines.push_back(TLine{LineStart, ParaEnd, ParaEnd});
            break;
        }
        Lines.push_back(TLine{LineStart, ParaEnd, ParaEnd + 2});
        LineStart = ParaEnd + 2;
    }
    return Lines;
}

int LineOfPos(const std::vector<TLine>& Lines, std::size_t Pos)
{
    // The last line whose start is at or before Pos.
    auto It = std::upper_bound(Lines.begin(), Lines.end(), Pos,
                               [](std::size_t P, const TLine& L) { return P < L.Start; });
    if (It == Lines.begin())
        return 0;
    return static_cast<int>(It - Lines.begin()) - 1;
}

} // namespace EditText
