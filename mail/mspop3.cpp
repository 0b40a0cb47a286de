// mail/mspop3.cpp: the POP3 client.
#include "mail/mspop3.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

#include <climits>
#include <cstring>
#include <string_view>

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
    std::size_t Start = 0;
    while (Start < Data.size()) {
        std::size_t End = Data.find('\n', Start);
        if (End == std::string::npos)
            End = Data.size();
        std::string Line = Data.substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        std::size_t Blank = Line.find(' ');
        int Number = 0;
        if (Blank == std::string::npos || !TryDecimal(Line.substr(0, Blank), Number))
            continue;
        std::size_t IdStart = Line.find_first_not_of(' ', Blank);
        if (IdStart == std::string::npos)
            continue;
        std::size_t IdEnd = Line.find(' ', IdStart);
        Ids[Number] = Line.substr(IdStart, IdEnd == std::string::npos ? IdEnd : IdEnd - IdStart);
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
        ConnectSocket();
        CheckedReply();
        CheckedCommand("USER " + FUserName);
        CheckedCommand("PASS " + FPassword);
        CheckedCommand("STAT");
        if (!mspop3::ParseStat(LastReply, FMessageCount, FMailboxSize))
            throw EServerError(LastReply);
        // One listing of the unique ids, so that later deletions can make sure each message is
        // still the one that was listed.
        if (FMessageCount > 0 && Command("UIDL")) {
            TStringStream Data;
            ReceiveData(&Data, -1);
            std::map<int, std::string> Ids;
            mspop3::ParseUidlList(Data.DataString(), Ids);
            for (const auto& Id : Ids) {
                if (Id.first < 1 || Id.first > FMessageCount)
                    continue;
                if (FSessionUIDLs.size() < static_cast<std::size_t>(Id.first))
                    FSessionUIDLs.resize(static_cast<std::size_t>(Id.first));
                FSessionUIDLs[static_cast<std::size_t>(Id.first) - 1] = Id.second;
            }
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

std::string ZevCustomPOP::SessionUIDL(int Num) const
{
    if (Num < 0 || static_cast<std::size_t>(Num) >= FSessionUIDLs.size())
        return std::string();
    return FSessionUIDLs[static_cast<std::size_t>(Num)];
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

void ZevCustomPOP::Retrieve(int Num)
{
    const std::string N = IntToStr(Num + 1);
    int Size = ListSize(Num, true);
    if (OnRetrieving)
        OnRetrieving(this, Num);
    CheckedCommand("RETR " + N);
    TMemoryStream Contents;
    if (!ReceiveData(&Contents, Size)) {
        // Read to its end, so the session can go on; only the saving is refused.
        std::string Msg = "Message " + N + " is larger than " +
                          IntToStr(static_cast<long long>(MaxMessageData / (1024 * 1024))) + " MiB";
        if (OnError)
            OnError(this, Msg);
        throw ESocketError(Msg);
    }
    SaveMessage(Num, &Contents);
    if (OnRetrieved)
        OnRetrieved(this, Num);
}

bool ZevCustomPOP::Delete(int Num)
{
    if (!Command("DELE " + IntToStr(Num + 1)))
        return false;
    if (OnDeleting)
        OnDeleting(this, Num);
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
    if (!Listed->UIDL.empty() && SessionHasUIDL())
        return SessionUIDL(Index) == Listed->UIDL;
    if (ListSize(Index, false) != Listed->Size)
        return false;
    if (!Command("TOP " + IntToStr(Index + 1) + " 1"))
        return false;
    ZevRemoteInfoItem Current;
    ReceiveHeaders(Current.Headers());
    return Current.Headers()->Text() == Listed->Headers()->Text();
}

void ZevRemotePOP::ProcessMarked()
{
    if (FRemoteInfo->GetCount() == 0)
        return;
    OpenSession();
    if (OnTransferringData)
        OnTransferringData(this);
    for (int I = 0; I < FRemoteInfo->GetCount(); ++I) {
        ZevRemoteInfoItem* Item = FRemoteInfo->GetItem(I);
        if ((Item->Flags & (rfRetrieve | rfDelete)) == 0)
            continue;
        if (Canceled)
            RaiseCanceled();
        // Numbers shift when another client deletes: never act on a message not listed here.
        if (!Verify(I)) {
            Item->Flags &= static_cast<Byte>(~(rfRetrieve | rfDelete));
            continue;
        }
        if (Item->Flags & rfRetrieve)
            Retrieve(I);
        if ((Item->Flags & rfDelete) && !Delete(I))
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
