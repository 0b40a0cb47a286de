// platform/stdctrls/edittext.h: the text model under the edit window: stepping over whole UTF-8
// characters (an invalid byte is one character, CR LF is one in a multi-line edit), word
// boundaries, and the line layout with word wrap. Positions are byte offsets.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace EditText {

// The bytes of the character at I (1 for a byte that starts no well-formed character).
std::size_t CharLength(const std::string& S, std::size_t I);
// The next and previous character boundary; CrLfOne treats CR LF as one character.
std::size_t NextChar(const std::string& S, std::size_t I, bool CrLfOne);
std::size_t PrevChar(const std::string& S, std::size_t I, bool CrLfOne);
// I moved back to the start of the character that holds it.
std::size_t CharStart(const std::string& S, std::size_t I, bool CrLfOne);
// The longest prefix of S of at most Max bytes that ends on a character boundary.
std::size_t FitBytes(const std::string& S, std::size_t Max);

// Word steps as Ctrl+Left and Ctrl+Right take them: to the start of the previous word, to the
// start of the next one (past the blanks after a word); a line break is a word of its own.
std::size_t PrevWord(const std::string& S, std::size_t I, bool CrLfOne);
std::size_t NextWord(const std::string& S, std::size_t I, bool CrLfOne);
// The word (or run of blanks) around I, for a double click: [Start, End).
void WordAt(const std::string& S, std::size_t I, bool CrLfOne, std::size_t& Start,
            std::size_t& End);

// One line as shown: the bytes [Start, End) and the start of the next line (past a hard break).
struct TLine {
    std::size_t Start = 0;
    std::size_t End = 0;
    std::size_t Next = 0;
};

// The width of the character of Len bytes at S[I] drawn at X (tabs depend on X).
using TCharWidth = std::function<int(const std::string& S, std::size_t I, std::size_t Len, int X)>;

// Splits the text into lines: one line for a single-line edit; else at each CR LF, and with
// WrapWidth > 0 also where a line would pass that width (after blanks when there are any, a
// blank run hanging past the edge; at least one character per line). Linear in the text.
std::vector<TLine> Layout(const std::string& S, bool MultiLine, int WrapWidth,
                          const TCharWidth& Width);

// The index of the line that holds Pos (a position at a wrap point belongs to the next line).
int LineOfPos(const std::vector<TLine>& Lines, std::size_t Pos);

} // namespace EditText
