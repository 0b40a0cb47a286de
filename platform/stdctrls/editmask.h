// platform/stdctrls/editmask.h: the edit mask language of the masked edit, apart from any
// window: parsing "mask;save-literals;blank", which characters each position takes (with its
// case forced), and the text in its edit form (literals and blanks) and its value form.
// Positions are whole UTF-8 characters (an invalid byte is one); a malformed mask still parses.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace EditMask {

// The mask characters.
constexpr char mDirReverse = '!';
constexpr char mDirUpperCase = '>';
constexpr char mDirLowerCase = '<';
constexpr char mDirLiteral = '\\';
constexpr char mMskAlpha = 'L';
constexpr char mMskAlphaOpt = 'l';
constexpr char mMskAlphaNum = 'A';
constexpr char mMskAlphaNumOpt = 'a';
constexpr char mMskAscii = 'C';
constexpr char mMskAsciiOpt = 'c';
constexpr char mMskNumeric = '0';
constexpr char mMskNumericOpt = '9';
constexpr char mMskNumSymOpt = '#';
constexpr char mMskTimeSeparator = ':';
constexpr char mMskDateSeparator = '/';
constexpr char mMskFieldSeparator = ';';
constexpr char mMskBlank = '_';
constexpr char mMskNoSaveLiterals = '0';

enum class TMaskCase { Normal, Upper, Lower };

// One position of the edit text: a literal shown as it is, or an input place of a kind
// (one of the mask characters L l A a C c 0 9 #).
struct TMaskPosition {
    bool Literal = true;
    std::string Text; // the literal's character
    char Kind = 0;
    TMaskCase Case = TMaskCase::Normal;
};

struct TParsedMask {
    std::vector<TMaskPosition> Positions;
    bool SaveLiterals = true;
    char Blank = mMskBlank;
    bool Reverse = false; // "!": the value is aligned to the end, blanks trimmed from the front
    bool Empty() const { return Positions.empty(); }
};

// The characters of S: whole UTF-8 sequences, an invalid byte on its own.
std::vector<std::string> SplitChars(const std::string& S);

TParsedMask ParseMask(const std::string& Mask, char DateSeparator, char TimeSeparator);
// With the separators of FormatSettings.
TParsedMask ParseMask(const std::string& Mask);

bool IsRequired(const TMaskPosition& Position);
// Whether Position takes Ch; Out is Ch with the position's case forced.
bool Accepts(const TMaskPosition& Position, const std::string& Ch, std::string& Out);

// The edit text with every input position blank.
std::string EmptyEditText(const TParsedMask& Mask);
// Value (in the value form the mask saves: with literals or without) laid into the edit form;
// input positions not filled hold Blank; characters a position refuses leave it blank.
std::string FormatValue(const TParsedMask& Mask, const std::string& Value, char Blank);
// Edit text laid over the mask position by position (what is not taken is blank).
std::string ConformEditText(const TParsedMask& Mask, const std::string& EditText);
// The value form of an edit text: literals dropped unless saved, blanks become spaces, and
// without saved literals the trailing (with "!" the leading) spaces are trimmed.
std::string ValueOf(const TParsedMask& Mask, const std::string& EditText);
// The input characters of EditText in order, blanks as spaces (to carry them to another mask).
std::string InputsOf(const TParsedMask& Mask, const std::string& EditText);
// The first position of EditText a required character is missing at; -1 when complete.
int FirstIncomplete(const TParsedMask& Mask, const std::string& EditText);

// Editing steps on an edit text, positions [Start, Stop) selected. Each keeps the text's
// length in positions.
// The selected positions blanked (literals stay).
std::string BlankRange(const TParsedMask& Mask, const std::string& EditText, int Start, int Stop);
// Ch typed: a selection of more than one position is blanked first, then Ch goes to the first
// input position at or after Start. False (nothing changed) when no position takes it; Caret is
// the position after it.
bool TypeInto(const TParsedMask& Mask, std::string& EditText, int Start, int Stop,
              const std::string& Ch, int& Caret);
// Value pasted over the selection: each character goes to the next input position, one that
// matches the literal in its way passes over it, one the position refuses is dropped (Refused).
std::string PasteInto(const TParsedMask& Mask, const std::string& EditText, int Start, int Stop,
                      const std::string& Value, int& Caret, bool& Refused);

// The edit form of Value under EditMask with blanks as spaces.
std::string FormatMaskText(const std::string& EditMask, const std::string& Value);

} // namespace EditMask
