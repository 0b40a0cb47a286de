// platform/ui/cursors.h: the stock cursors of the class library and their identifiers, which
// forms and property texts use ("crHandPoint").
#pragma once

#include <string>

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;

// False when the value or name is not a stock cursor; names compare without regard to case.
bool CursorToIdent(TCursor Cursor, std::string& Ident);
bool IdentToCursor(const std::string& Ident, TCursor& Cursor);
// The identifier, else the decimal value.
std::string CursorToString(TCursor Cursor);
// An identifier or a decimal value; raises EConvertError otherwise.
TCursor StringToCursor(const std::string& S);

// Registers the identifiers for the type name "TCursor" with the property registry; runs at
// start-up and may be called again.
void RegisterCursorIdents();
