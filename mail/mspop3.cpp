// mail/mspop3.cpp: the POP3 client.
#include "mail/mspop3.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>
#include <vector>

namespace mspop3 {

namespace {

// Word Index (from 0) of a reply after its status indicator ("+OK"), words split at blanks;
// false when the reply has fewer words. A view into Reply: a reply per message is parsed without
// allocating.
bool ReplyWord(std::string_view Reply, std::size_t Index, std::string_view& Word)
{
    std::size_t Start = Reply.find(' ');
    for (std::size_t I = 0; Start != std::string_view::npos; ++I) {
        Start = Reply.find_first_not_of(' ', Start);
        if (Start == std::string_view::npos)
            break;
        const std::size_t End = Reply.find(' ', Start);
        if (I == Index) {
            Word = Reply.substr(Start, End == std::string_view::npos ? End : End - Start);
            return true;
        }
        Start = End;
    }
    return false;
}

// Decimal digits only, within int.
bool TryDecimal(std::string_view Text, int& Value)
{
    if (Text.empty() || Text.size() > 10)
        return false;
    long long Result = 0;
    for (char C : Text) {
        if (C < '0' || C > '9')
            return false;
        Result = Result * 10 + (C - '0');
    }
    if (Result > INT_MAX)
        return false;
    Value = static_cast<int>(Result);
    return true;
}

int StrictDecimal(std::string_view Text)
{
    int Value = 0;
    if (!TryDecimal(Text, Value))
        throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
    return Value;
}

} // namespace

bool ParseStat(const std::string& Reply, int& Count, int& Size)
{
    std::string_view Word;
    if (!ReplyWord(Reply, 0, Word))
        return false;
    Count = StrictDecimal(Word);
    Size = ReplyWord(Reply, 1, Word) ? StrictDecimal(Word) : -1;
    return true;
}

int ParseListSize(const std::string& Reply)
{
    std::string_view Word;
    int Size = 0;
    if (!ReplyWord(Reply, 1, Word) || !TryDecimal(Word, Size))
        return 0;
    return Size;
}

void ParseUidlList(const std::string& Data, std::map<int, std::string>& Ids)
{
    constexpr std::size_t MaxIdLength = 70;
    const std::string_view All(Data);
    std::size_t Start = 0;
    while (Start < All.size()) {
        std::size_t End = All.find('\n', Start);
        if (End == std::string_view::npos)
            End = All.size();
        std::string_view Line = All.substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.remove_suffix(1);
        const std::size_t Blank = Line.find(' ');
        int Number = 0;
        if (Blank == std::string_view::npos || !TryDecimal(Line.substr(0, Blank), Number))
            continue;
        const std::size_t IdStart = Line.find_first_not_of(' ', Blank);
        if (IdStart == std::string_view::npos)
            continue;
        const std::string_view Id = Line.substr(IdStart, Line.find(' ', IdStart) - IdStart);
        // Anything else (a stray CR, a control or 8-bit byte) would make an id that another
        // session might not give back byte for byte: such a message is matched without one.
        const bool Printable = std::all_of(Id.begin(), Id.end(), [](char C) {
            return static_cast<unsigned char>(C) >= 0x21 && static_cast<unsigned char>(C) <= 0x7E;
        });
        if (Id.size() <= MaxIdLength && Printable)
            Ids[Number] = std::string(Id);
    }
}

std::string Unstuff(const std::string& Data)
{
    std::string Result = Data;
    Result.resize(Unstuff(Result.data(), Result.size()));
    return Result;
}

std::size_t Unstuff(char* Data, std::size_t Size)
{
    if (Size == 3 && std::memcmp(Data, ".\r\n", 3) == 0)
        return 0;
    if (Size >= 5 && std::memcmp(Data + Size - 5, "\r\n.\r\n", 5) == 0)
        Size -= 3;
    // Lines move down by the dots taken so far; a line without a stuffed dot moves as it is.
    std::size_t Out = 0;
    std::size_t Start = 0;
    while (Start < Size) {
        const void* Lf = std::memchr(Data + Start, '\n', Size - Start);
        const std::size_t End =
            Lf ? static_cast<std::size_t>(static_cast<const char*>(Lf) - Data) + 1 : Size;
        if (Data[Start] == '.')
            ++Start;
        if (Out != Start)
            std::memmove(Data + Out, Data + Start, End - Start);
        Out += End - Start;
        Start = End;
    }
    return Out;
}

std::size_t HeaderBlockLength(std::string_view Text)
{
    const char* const Begin = Text.data();
    const char* const End = Begin + Text.size();
    const char* Line = Begin;
    while (Line < End) {
        if (*Line == '\r' || *Line == '\n')
            return static_cast<std::size_t>(Line - Begin);
        const char* Lf = static_cast<const char*>(std::memchr(Line, '\n', End - Line));
        const char* Stop = Lf ? Lf : End;
        // Up to the LF every CR ends a line too; one CR straight after another is an empty line.
        for (const char* Cr = static_cast<const char*>(std::memchr(Line, '\r', Stop - Line)); Cr;
             Cr = static_cast<const char*>(std::memchr(Cr + 1, '\r', Stop - Cr - 1)))
            if (Cr + 1 < Stop && Cr[1] == '\r')
                return static_cast<std::size_t>(Cr + 1 - Begin);
        if (!Lf)
            break;
        Line = Lf + 1;
    }
    return Text.size();
}

} // namespace mspop3

// ZevMailBase

void ZevMailBase::OpenSession()
{
    if (GetConnected())
        return;
    Connect();
    Login();
}

void ZevMailBase::CloseSession()
{
    if (!GetConnected())
        return;
    try {
        Logout();
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

// ZevCustomPOP

ZevCustomPOP::ZevCustomPOP(TComponent* AOwner) : ZevMailBase(AOwner)
{
    SetServiceName("pop3");
    SetDefaultPort(110);
}

int ZevCustomPOP::GetReplyCode(const std::string& Line)
{
    if (Line.empty())
        return 0;
    if (Line[0] == '+')
        return 1;
    return Line[0] == '-' ? -1 : 0;
}

void ZevCustomPOP::CheckCredentials()
{
    if (FUserName.empty())
        RaiseSocketError(sidUserNameRequired);
    else if (FPassword.empty())
        RaiseSocketError(sidPasswordRequired);
}

void ZevCustomPOP::Connect()
{
    CheckCredentials();
    Reset();
    ZevMailBase::Connect();
}

void ZevCustomPOP::Login()
{
    // Whatever fails, no half-open session is left behind for a later OpenSession to reuse.
    try {
        Reset();
        FMessageCount = -1;
        FMailboxSize = -1;
        FSessionHasUIDL = false;
        FSessionUIDLs.clear();
        FSessionNumbers.clear();
        ConnectSocket();
        CheckedReply();
        CheckedCommand("USER " + FUserName);
        CheckedCommand("PASS " + FPassword);
        CheckedCommand("STAT");
        if (!mspop3::ParseStat(LastReply, FMessageCount, FMailboxSize))
            throw EServerError(LastReply);
        // One listing of the unique ids, so that later deletions find each message listed
        // before, whatever number it has by then.
        if (FMessageCount > 0 && Command("UIDL")) {
            TStringStream Data;
            if (!ReceiveData(&Data, -1)) {
                // A line cut at the limit could give a shortened id: it is dropped.
                const std::size_t LastLine = Data.DataString().rfind('\n');
                Data.SetSize(LastLine == std::string::npos ? 0
                                                           : static_cast<int64_t>(LastLine + 1));
            }
            std::map<int, std::string> Ids;
            mspop3::ParseUidlList(Data.DataString(), Ids);
            FSessionNumbers.reserve(Ids.size());
            bool Repeated = false;
            for (auto& Id : Ids) {
                if (Id.first < 1 || Id.first > FMessageCount)
                    continue;
                const auto Number = static_cast<std::size_t>(Id.first) - 1;
                const auto Added = FSessionNumbers.emplace(Id.second, static_cast<int>(Number));
                if (!Added.second) {
                    Added.first->second = AmbiguousUIDL;
                    Repeated = true;
                }
                if (FSessionUIDLs.size() <= Number)
                    FSessionUIDLs.resize(Number + 1);
                FSessionUIDLs[Number] = std::move(Id.second);
            }
            // An id given to two messages identifies neither of them.
            if (Repeated)
                for (std::string& Id : FSessionUIDLs)
                    if (!Id.empty() && FSessionNumbers.find(Id)->second == AmbiguousUIDL)
                        Id.clear();
            FSessionHasUIDL = true;
        }
    } catch (...) {
        Close();
        throw;
    }
}

void ZevCustomPOP::Logout()
{
    if (GetConnected())
        CheckedCommand("QUIT");
}

bool ZevCustomPOP::Command(const std::string& Line)
{
    SendLine(Line);
    return ReadLine(LastReply) == 1;
}

void ZevCustomPOP::CheckedCommand(const std::string& Line)
{
    if (!Command(Line))
        throw EServerError(LastReply);
}

void ZevCustomPOP::CheckedReply()
{
    if (ReadLine(LastReply) != 1)
        throw EServerError(LastReply);
}

bool ZevCustomPOP::ReceiveData(TCustomMemoryStream* Stream, int ExpectedSize)
{
    Stream->SetSize(0);
    const bool Whole = ReceiveToTerminator(Stream, ExpectedSize, MaxMessageData);
    const std::size_t Size = mspop3::Unstuff(static_cast<char*>(Stream->Memory()),
                                             static_cast<std::size_t>(Stream->Size()));
    Stream->SetSize(static_cast<int64_t>(Size));
    Stream->SetPosition(0);
    return Whole;
}

const std::string& ZevCustomPOP::SessionUIDL(int Num) const
{
    static const std::string None;
    if (Num < 0 || static_cast<std::size_t>(Num) >= FSessionUIDLs.size())
        return None;
    return FSessionUIDLs[static_cast<std::size_t>(Num)];
}

int ZevCustomPOP::SessionNumber(const std::string& UIDL) const
{
    const auto Found = FSessionNumbers.find(UIDL);
    return Found == FSessionNumbers.end() ? NoSuchUIDL : Found->second;
}

int ZevCustomPOP::ListSize(int Num, bool Checked)
{
    if (!Command("LIST " + IntToStr(Num + 1))) {
        if (Checked)
            throw EServerError(LastReply);
        return -1;
    }
    return mspop3::ParseListSize(LastReply);
}

void ZevCustomPOP::RetrieveAs(int Num, int Reported)
{
    int Size = ListSize(Num, true);
    if (OnRetrieving)
        OnRetrieving(this, Reported);
    CheckedCommand("RETR " + IntToStr(Num + 1));
    TMemoryStream Contents;
    if (!ReceiveData(&Contents, Size)) {
        // Read to its end, so the session can go on; only the saving is refused.
        std::string Msg = "Message " + IntToStr(Reported + 1) + " is larger than " +
                          IntToStr(static_cast<long long>(MaxMessageData / (1024 * 1024))) + " MiB";
        if (OnError)
            OnError(this, Msg);
        throw ESocketError(Msg);
    }
    SaveMessage(Reported, &Contents);
    if (OnRetrieved)
        OnRetrieved(this, Reported);
}

bool ZevCustomPOP::DeleteAs(int Num, int Reported)
{
    if (!Command("DELE " + IntToStr(Num + 1)))
        return false;
    if (OnDeleting)
        OnDeleting(this, Reported);
    return true;
}

// ZevRemotePOP

ZevRemotePOP::ZevRemotePOP(TComponent* AOwner)
    : ZevCustomPOP(AOwner), FRemoteInfo(std::make_unique<ZevRemoteInfo>())
{
}

ZevRemotePOP::~ZevRemotePOP() = default;

void ZevRemotePOP::SetMessageDirectory(const std::string& Value)
{
    FMessageDirectory = Value.empty() ? Value : IncludeTrailingPathDelimiter(Value);
}

void ZevRemotePOP::MarkDelete(int Index)
{
    FRemoteInfo->GetItem(Index)->Flags |= rfDelete;
}

void ZevRemotePOP::MarkRetrieve(int Index)
{
    FRemoteInfo->GetItem(Index)->Flags |= rfRetrieve;
}

void ZevRemotePOP::Unmark(int Index)
{
    FRemoteInfo->GetItem(Index)->Flags = 0;
}

void ZevRemotePOP::GetInfo(int Index, ZevRemoteInfoItem* Item, bool WithUIDL, bool WithHeaders)
{
    if (WithUIDL)
        Item->UIDL = SessionUIDL(Index);
    if (!WithHeaders)
        return;
    Item->Size = ListSize(Index, true);
    CheckedCommand("TOP " + IntToStr(Index + 1) + " 1");
    // Header data beyond the limit is dropped; the message is listed with what came.
    ReceiveHeaders(Item->Headers());
}

void ZevRemotePOP::ReceiveHeaders(ZevHeaders* Headers)
{
    TStringStream Data;
    ReceiveData(&Data, -1);
    // Only the header block becomes lines, so nothing is split to be stripped again.
    Data.SetSize(static_cast<int64_t>(mspop3::HeaderBlockLength(Data.DataString())));
    Headers->SetText(Data.DataString());
}

void ZevRemotePOP::UpdateInfo()
{
    OpenSession();
    if (OnUpdatingInfo)
        OnUpdatingInfo(this);
    FRemoteInfo->Clear();
    for (int I = 0; I < MessageCount(); ++I) {
        // A handler may have cancelled between two messages, outside any wait.
        if (Canceled)
            RaiseCanceled();
        auto Item = std::make_unique<ZevRemoteInfoItem>();
        GetInfo(I, Item.get(), true, true);
        FRemoteInfo->Add(std::move(Item));
        if (OnNextInfoUpdated)
            OnNextInfoUpdated(this, FRemoteInfo->GetCount() - 1);
    }
    if (!KeepConnection)
        CloseSession();
    if (OnInfoUpdated)
        OnInfoUpdated(this);
}

bool ZevRemotePOP::Verify(int Index)
{
    const ZevRemoteInfoItem* Listed = FRemoteInfo->GetItem(Index);
    if (Index >= MessageCount())
        return false;
    if (ListSize(Index, false) != Listed->Size)
        return false;
    if (!Command("TOP " + IntToStr(Index + 1) + " 1"))
        return false;
    ZevRemoteInfoItem Current;
    ReceiveHeaders(Current.Headers());
    return Current.Headers()->Text() == Listed->Headers()->Text();
}

int ZevRemotePOP::Locate(int Index)
{
    const std::string& UIDL = FRemoteInfo->GetItem(Index)->UIDL;
    if (!UIDL.empty() && SessionHasUIDL()) {
        const int Num = SessionNumber(UIDL);
        if (Num != AmbiguousUIDL)
            return Num;
    }
    return Verify(Index) ? Index : -1;
}

void ZevRemotePOP::ProcessMarked()
{
    if (FRemoteInfo->GetCount() == 0)
        return;
    OpenSession();
    if (OnTransferringData)
        OnTransferringData(this);
    // A message found by its id may sit at the number where an item without one was listed:
    // each message of the session is acted on for one item at the most.
    std::vector<bool> Taken(static_cast<std::size_t>(std::max(MessageCount(), 0)));
    for (int I = 0; I < FRemoteInfo->GetCount(); ++I) {
        ZevRemoteInfoItem* Item = FRemoteInfo->GetItem(I);
        if ((Item->Flags & (rfRetrieve | rfDelete)) == 0)
            continue;
        if (Canceled)
            RaiseCanceled();
        // Numbers shift when another client deletes: act on the listed message wherever it is
        // now, and never on another one.
        int Num = Locate(I);
        if (Num >= 0 && Taken[static_cast<std::size_t>(Num)])
            Num = -1;
        if (Num >= 0)
            Taken[static_cast<std::size_t>(Num)] = true;
        if (Num < 0) {
            Item->Flags &= static_cast<Byte>(~(rfRetrieve | rfDelete));
            continue;
        }
        // The host knows the message by its row in RemoteInfo, not by the server's new number.
        if (Item->Flags & rfRetrieve)
            RetrieveAs(Num, I);
        if ((Item->Flags & rfDelete) && !DeleteAs(Num, I))
            Item->Flags &= static_cast<Byte>(~rfDelete);
    }
    if (OnDataTransfered)
        OnDataTransfered(this);
    CloseSession();
}

void ZevRemotePOP::SaveMessage(int Num, TMemoryStream* Contents)
{
    if (OnUserMessageSave) {
        OnUserMessageSave(this, Num, Contents);
        return;
    }
    Contents->SaveToFile(FMessageDirectory + "msg_" + IntToStr(Num) + ".eml");
}
