// controls/entry/ovcedcols.cpp: display columns of the editor's screen lines.
#include "controls/entry/ovcedcols.h"

namespace {

bool IsContinuation(char C)
{
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

int Advance(int Width, char C, int TabSize, bool Utf8)
{
    if (C == '\t')
        return TabSize > 0 ? (Width / TabSize + 1) * TabSize : Width + 1;
    if (Utf8 && IsContinuation(C))
        return Width;
    return Width + 1;
}

} // namespace

bool IsValidUtf8(std::string_view Text)
{
    std::size_t I = 0;
    while (I < Text.size()) {
        const auto C = static_cast<unsigned char>(Text[I]);
        int Extra = 0;
        unsigned Min = 0;
        if (C < 0x80) {
            ++I;
            continue;
        }
        if ((C & 0xE0) == 0xC0) {
            Extra = 1;
            Min = 0x80;
        } else if ((C & 0xF0) == 0xE0) {
            Extra = 2;
            Min = 0x800;
        } else if ((C & 0xF8) == 0xF0) {
            Extra = 3;
            Min = 0x10000;
        } else
            return false;
        if (I + static_cast<std::size_t>(Extra) >= Text.size())
            return false;
        unsigned Code = C & (0x3Fu >> Extra);
        for (int K = 1; K <= Extra; ++K) {
            const char Next = Text[I + static_cast<std::size_t>(K)];
            if (!IsContinuation(Next))
                return false;
            Code = (Code << 6) | (static_cast<unsigned char>(Next) & 0x3Fu);
        }
        if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            return false;
        I += static_cast<std::size_t>(Extra) + 1;
    }
    return true;
}

int ColumnOfOffset(std::string_view Line, int Offset, int TabSize, bool Utf8)
{
    int Width = 0;
    const int Len = static_cast<int>(Line.size());
    for (int I = 0; I < Offset && I < Len; ++I)
        Width = Advance(Width, Line[static_cast<std::size_t>(I)], TabSize, Utf8);
    return Width + (Offset > Len ? Offset - Len : 0);
}

int OffsetOfColumn(std::string_view Line, int Column, int TabSize, bool Utf8)
{
    int Width = 0;
    const int Len = static_cast<int>(Line.size());
    for (int I = 0; I < Len; ++I) {
        const char C = Line[static_cast<std::size_t>(I)];
        if (Utf8 && IsContinuation(C))
            continue;
        const int Next = Advance(Width, C, TabSize, Utf8);
        if (Column < Next)
            return I;
        Width = Next;
    }
    return Len + (Column > Width ? Column - Width : 0);
}

int OffsetReachingColumn(std::string_view Line, int Column, int TabSize, bool Utf8)
{
    const int Len = static_cast<int>(Line.size());
    int Width = 0, I = 0;
    while (I < Len && Width < Column) {
        Width = Advance(Width, Line[static_cast<std::size_t>(I)], TabSize, Utf8);
        I = NextCharOffset(Line, I, Utf8);
    }
    return I;
}

int NextCharOffset(std::string_view Line, int Offset, bool Utf8)
{
    const int Len = static_cast<int>(Line.size());
    ++Offset;
    if (Utf8)
        while (Offset < Len && IsContinuation(Line[static_cast<std::size_t>(Offset)]))
            ++Offset;
    return Offset;
}

int PrevCharOffset(std::string_view Line, int Offset, bool Utf8)
{
    const int Len = static_cast<int>(Line.size());
    if (Offset > Len)
        return Offset - 1;
    --Offset;
    if (Utf8)
        while (Offset > 0 && IsContinuation(Line[static_cast<std::size_t>(Offset)]))
            --Offset;
    return Offset < 0 ? 0 : Offset;
}

std::string ExpandTabs(std::string_view Line, int TabSize, bool Utf8)
{
    std::string Out;
    Out.reserve(Line.size());
    int Width = 0;
    for (char C : Line) {
        const int Next = Advance(Width, C, TabSize, Utf8);
        if (C == '\t')
            Out.append(static_cast<std::size_t>(Next - Width), ' ');
        else
            Out.push_back(C);
        Width = Next;
    }
    return Out;
}

std::string ExpandTabs(std::string_view Line, int TabSize)
{
    return ExpandTabs(Line, TabSize, IsValidUtf8(Line));
}
