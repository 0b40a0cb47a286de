// mail/msuucode.h: uuencoded lines: the begin line, its file name, and the coding of one line.
// The line coders pump the application's messages once per call.
#pragma once

#include <string>

// "begin" (any case) followed by a mode of three digits, on a line of more than 8 characters.
bool IsUUBegin(const std::string& Line);
// The file name of a begin line: quoted (up to the next quote) or up to the next space.
std::string UUFileName(const std::string& Line);
// The bytes of one line; its first character gives the count. A space and the grave accent
// stand for 0; other characters outside "!" to "_" raise EMessageParserError
// "Invalid Character".
std::string UUDecodeLine(const std::string& Line);
// One line for at most 45 bytes (more are not taken): the count character and the encoded
// bytes, using the grave accent for 0.
std::string UUEncodeLine(const std::string& Data);
