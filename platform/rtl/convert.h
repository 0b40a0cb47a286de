// platform/rtl/convert.h: conversions between numbers and text, with the classic rules for
// parsing (blanks, signs, "$" hexadecimal) and for formatting floating-point values (general,
// exponent, fixed, number and currency formats, and FormatFloat picture strings).
// Routines that read locale settings take a TFormatSettings as the last argument; without it
// they read the global FormatSettings.
#pragma once

#include "platform/rtl/formatsettings.h"
#include "platform/rtl/types.h"

#include <string>

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

std::string IntToStr(int Value);
std::string IntToStr(long Value);
std::string IntToStr(long long Value);
std::string IntToStr(unsigned Value);
std::string IntToStr(unsigned long Value);
std::string IntToStr(unsigned long long Value);

// Upper-case hexadecimal with at least Digits digits; negative values as two's complement of
// their own width (IntToHex(-1, 2) is "FFFFFFFF" for an int).
// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigitValue(char C);

std::string IntToHex(int Value, int Digits);
std::string IntToHex(long Value, int Digits);
std::string IntToHex(long long Value, int Digits);
std::string IntToHex(unsigned Value, int Digits);
std::string IntToHex(unsigned long Value, int Digits);
std::string IntToHex(unsigned long long Value, int Digits);

// Strict integer parsing: leading spaces, an optional sign, then decimal digits or "$", "x",
// "0x" and hexadecimal digits (which may use the full unsigned range and wrap). Nothing may
// follow the digits, not even blanks. Failure raises EConvertError
// "'<S>' is not a valid integer value".
int StrToInt(const std::string& S);
Int64 StrToInt64(const std::string& S);
int StrToIntDef(const std::string& S, int Default);
Int64 StrToInt64Def(const std::string& S, Int64 Default);
bool TryStrToInt(const std::string& S, int& Value);
bool TryStrToInt64(const std::string& S, Int64& Value);

// Parses as StrToInt without raising: Code is 0 on success, otherwise the position (from 1) of
// the first character that does not fit (Length + 1 when the text ends too early). On failure
// Value holds the signed value of the digits before that character (0 when there are none).
void Val(const std::string& S, int& Value, int& Code);
void Val(const std::string& S, Int64& Value, int& Code);
// Floating-point form: leading spaces, sign, digits with "." as the decimal point, exponent
// "E"/"e" with optional sign. A value too large for a double fails with Code Length + 1.
void Val(const std::string& S, double& Value, int& Code);

// General format with 15 significant digits: "1.5", "0.0001", "1E-5", "1.5E20".
std::string FloatToStr(double Value);
std::string FloatToStr(double Value, const TFormatSettings& Settings);
// Precision: significant digits (1 to 18). Digits: for ffGeneral and ffExponent the minimum
// number of exponent digits (0 to 4); for the other formats the decimals (0 to 18).
// ffFixed, ffNumber and ffCurrency fall back to ffGeneral when the value has more integer
// digits than Precision. NaN and infinities give "NAN", "INF" and "-INF".
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                        const TFormatSettings& Settings);
// Picture formats: "0" digit, "#" optional digit, "." decimal point, "," thousand separators,
// "E+0"/"E-0"/"e+0"/"e-0" scientific, quoted literals, and up to three sections separated by
// ";" for positive, negative and zero values. An empty format gives FloatToStr.
std::string FormatFloat(const std::string& Format, double Value);
std::string FormatFloat(const std::string& Format, double Value, const TFormatSettings& Settings);

// Blanks around the number, sign, digits with the DecimalSeparator, exponent; no thousand
// separators. StrToFloat raises EConvertError "'<S>' is not a valid floating point value".
double StrToFloat(const std::string& S);
double StrToFloat(const std::string& S, const TFormatSettings& Settings);
bool TextToFloat(const std::string& S, double& Value);
bool TextToFloat(const std::string& S, double& Value, const TFormatSettings& Settings);
bool TryStrToFloat(const std::string& S, double& Value);
bool TryStrToFloat(const std::string& S, double& Value, const TFormatSettings& Settings);
double StrToFloatDef(const std::string& S, double Default);
double StrToFloatDef(const std::string& S, double Default, const TFormatSettings& Settings);

// Number * Numerator / Denominator with a 64-bit product, rounded half away from zero;
// -1 when Denominator is 0 or the result does not fit an int.
int MulDiv(int Number, int Numerator, int Denominator);
// Part as a whole percentage of Whole, rounded half up; 100 when Whole is not positive (nothing
// to do is all done). Progress reports use it.
int PercentOf(Int64 Part, Int64 Whole);
// Nearest integer, halves to even; EInvalidOp for NaN and values outside the Int64 range.
Int64 Round(double Value);
