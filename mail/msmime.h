// mail/msmime.h: the MIME coders of the mail units: base64 on strings, quoted-printable between
// a byte stream and text lines, and the ISO-2022-JP encoded word.
#pragma once

#include "mail/mailerrors.h"
#include "platform/rtl/object.h"

#include <string>

class TStream;
class TStrings;

// Standard base64 (RFC 2045). Decoding ignores blanks and line ends; "=" ends a group, so a
// short last group gives the bytes its characters hold. Any other character outside the
// alphabet raises EMessageParserError "Invalid Character".
std::string Base64Decode(const std::string& Text);
// Padded with "=" to a multiple of four characters; no line breaks.
std::string Base64Encode(const std::string& Data);

// One quoted-printable header word: "=" with two hexadecimal digits becomes that byte; "_" is
// left for the caller. Only the first decoded line is kept.
std::string QPDecodeWord(const std::string& Text);

// "=?ISO-2022-JP?B?...?=" around the base64 of Text when Text starts with ESC; else Text.
std::string EncodeISO2022JPWord(const std::string& Text);

// Quoted-printable between Stream (the bytes, not owned) and Lines (the text, not owned).
// Both directions pump the application's messages once per paragraph.
class TQuotedPrintable : public TObject {
public:
    TQuotedPrintable(TStream* AStream, TStrings* ALines);

    // Reads Stream from position 0 and appends the encoded lines to Lines: one paragraph per
    // line of the input (a line ends at CR LF, CR or LF), broken with soft breaks into lines
    // of at most 76 characters.
    void Encode();
    // Writes the decoded Lines to Stream at its position; each paragraph ends with CR LF,
    // unless its last line ends with Ctrl-Z.
    void Decode();

    TStream* Stream;
    TStrings* Lines;
    // Stops the coder after the current paragraph.
    bool StopRequested = false;
};
