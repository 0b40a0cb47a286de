// platform/stdctrls/memostrings.cpp: the memo's lines through the edit window's messages. Every
// line the list adds ends with CR LF; a text's last empty line is not counted.
#include "platform/stdctrls/memostrings.h"

#include "platform/stdctrls/memo.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

LRESULT TMemoStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const
{
    return SendMessage(FMemo->Handle(), Msg, WParam, LParam);
}

void TMemoStrings::Flush() const
{
    if (FPendingLines == 0)
        return;
    std::string Block;
    Block.swap(FPending);
    FPendingLines = 0;
    // Filling an empty memo (SetText, LoadFromStream, Assign) sets its text, which leaves the
    // caret at the start and the first line in view; inserting would scroll to the end.
    if (FPendingBase == 0 && GetWindowTextLength(FMemo->Handle()) == 0) {
        FMemo->SetText(Block);
        return;
    }
    Block.resize(Block.size() - 2); // RawInsert ends it with CR LF
    RawInsert(FPendingBase, Block);
}

void TMemoStrings::SetUpdateState(bool Updating)
{
    if (!Updating)
        Flush();
}

int TMemoStrings::Count() const
{
    Flush();
    return RawCount() + FPendingLines;
}

int TMemoStrings::Add(const std::string& S)
{
    if (UpdateCount() == 0)
        return TStrings::Add(S);
    if (FPendingLines == 0)
        FPendingBase = RawCount();
    FPending += S;
    FPending += "\r\n";
    ++FPendingLines;
    return FPendingBase + FPendingLines - 1;
}

int TMemoStrings::RawCount() const
{
    auto Result = static_cast<int>(Send(EM_GETLINECOUNT, 0, 0));
    const LRESULT LastStart = Send(EM_LINEINDEX, static_cast<WPARAM>(Result - 1), 0);
    if (Send(EM_LINELENGTH, static_cast<WPARAM>(LastStart), 0) == 0)
        --Result;
    return Result;
}

std::string TMemoStrings::Get(int Index) const
{
    Flush();
    const LRESULT Start = Send(EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
    if (Index < 0 || Start < 0)
        return {};
    const auto Length =
        static_cast<std::size_t>(Send(EM_LINELENGTH, static_cast<WPARAM>(Start), 0));
    if (Length > 0xFFFF) // longer than EM_GETLINE's buffer size can say
        return FMemo->Text().substr(static_cast<std::size_t>(Start), Length);
    std::vector<char> Buffer(std::max<std::size_t>(Length, sizeof(std::uint16_t)));
    const auto Size = static_cast<std::uint16_t>(Length);
    std::memcpy(Buffer.data(), &Size, sizeof Size);
    const LRESULT Got =
        Send(EM_GETLINE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Buffer.data()));
    return std::string(Buffer.data(), static_cast<std::size_t>(std::max<LRESULT>(Got, 0)));
}

void TMemoStrings::Put(int Index, const std::string& S)
{
    Flush();
    const LRESULT Start = Send(EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
    if (Index < 0 || Start < 0)
        return;
    const LRESULT Length = Send(EM_LINELENGTH, static_cast<WPARAM>(Start), 0);
    Send(EM_SETSEL, static_cast<WPARAM>(Start), Start + Length);
    Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
}

void TMemoStrings::Insert(int Index, const std::string& S)
{
    Flush();
    RawInsert(Index, S);
}

void TMemoStrings::RawInsert(int Index, const std::string& S) const
{
    if (Index < 0)
        return;
    LRESULT Start = Send(EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
    std::string Line;
    if (Start >= 0) {
        Line = S + "\r\n";
    } else {
        // After the last line, which has no line break yet.
        Start = Send(EM_LINEINDEX, static_cast<WPARAM>(Index - 1), 0);
        if (Start < 0)
            return;
        const LRESULT Length = Send(EM_LINELENGTH, static_cast<WPARAM>(Start), 0);
        if (Length == 0)
            return;
        Start += Length;
        Line = "\r\n" + S;
    }
    Send(EM_SETSEL, static_cast<WPARAM>(Start), Start);
    Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Line.c_str()));
}

void TMemoStrings::Delete(int Index)
{
    Flush();
    const LRESULT Start = Send(EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
    if (Index < 0 || Start < 0)
        return;
    LRESULT End = Send(EM_LINEINDEX, static_cast<WPARAM>(Index + 1), 0);
    if (End < 0)
        End = Start + Send(EM_LINELENGTH, static_cast<WPARAM>(Start), 0);
    Send(EM_SETSEL, static_cast<WPARAM>(Start), End);
    Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear()
{
    FPending.clear();
    FPendingLines = 0;
    FMemo->Clear();
}
