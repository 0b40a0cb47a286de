// mail/msutils.h: string helpers of the mail units: quotes, space-separated tokens, header
// parameters, the media type of a file name and writing a list of lines to a file; and the
// message pump of the long-running coders.
#pragma once

#include <string>

class TStrings;

// Trimmed, then leading and trailing double quotes removed.
std::string Unquote(const std::string& Text);
// Skips Skip space-separated words (empty when there are fewer); with FirstOnly only the next
// word is returned, else the whole rest. Trimmed.
std::string GetToken(const std::string& Text, int Skip, bool FirstOnly);
// GetToken(Text, Skip, true) as an integer; -1 when it is not one.
int GetTokenInt(const std::string& Text, int Skip);
// The value of the parameter Name (without case) in a header value such as
// `text/plain; charset="iso-8859-1"`; empty when absent.
std::string GetParamValue(const std::string& Name, const std::string& Text);
// The text before the first space or ";", trimmed (the media type of a Content-Type value).
std::string FirstWord(const std::string& Text);
// The "Content Type" value of the extension's key under HKEY_CLASSES_ROOT;
// "application/octet-stream" when there is none. Common types are built in.
std::string GetMimeType(const std::string& FileName);
// Rewrites FileName with the lines, each ended by CR LF, creating its folder first. I/O errors
// raise EInOutError.
void SaveStringsToFile(const TStrings* List, const std::string& FileName);

// The coders and the decoder run on the UI thread: long work lets the application handle its
// messages once per step (paragraph, line or part) through this. Nothing without an
// application.
void PumpMessages();
