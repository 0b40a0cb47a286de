#include "platform/ui/cursors.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/properties.h"
#include "platform/rtl/strings.h"

namespace {

struct TCursorIdent {
    TCursor Value;
    const char* Name;
};

// crSize shares its value with crSizeAll; the value reads back as crSizeAll.
const TCursorIdent Idents[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},     {crSize, "crSize"},
};

const bool Registered = (RegisterCursorIdents(), true);

} // namespace

bool CursorToIdent(TCursor Cursor, std::string& Ident)
{
    for (const TCursorIdent& Entry : Idents) {
        if (Entry.Value == Cursor) {
            Ident = Entry.Name;
            return true;
        }
    }
    return false;
}

bool IdentToCursor(const std::string& Ident, TCursor& Cursor)
{
    for (const TCursorIdent& Entry : Idents) {
        if (SameText(Ident, Entry.Name)) {
            Cursor = Entry.Value;
            return true;
        }
    }
    return false;
}

std::string CursorToString(TCursor Cursor)
{
    std::string Ident;
    return CursorToIdent(Cursor, Ident) ? Ident : IntToStr(Cursor);
}

TCursor StringToCursor(const std::string& S)
{
    TCursor Cursor = 0;
    if (IdentToCursor(S, Cursor))
        return Cursor;
    return StrToInt(S);
}

void RegisterCursorIdents()
{
    (void)Registered;
    RegisterIntegerConsts("TCursor", IdentToCursor, CursorToIdent);
}
