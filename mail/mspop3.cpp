// mail/mspop3.cpp: the POP3 client.
#include "mail/mspop3.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"

#include <climits>

namespace mspop3 {

namespace {

// The words of a reply after its status indicator ("+OK"), split at blanks.
std::vector<std::string> ReplyWords(const std::string& Reply)
{
    std::vector<std::string> Words;
    std::size_t Start = Reply.find(' ');
    while (Start != std::string::npos) {
        Start = Reply.find_first_not_of(' ', Start);
        if (Start == std::string::npos)
            break;
        std::size_t End = Reply.find(' ', Start);
        Words.push_back(Reply.substr(Start, End == std::string::npos ? End : End - Start));
        Start = End;
    }
    return Words;
}

// Decimal digits only, within int.
bool TryDecimal(const std::string& Text, int& Value)
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

int StrictDecimal(const std::string& Text)
{
    int Value = 0;
    if (!TryDecimal(Text, Value))
        throw EConvertError("'" + Text + "' is not a valid integer value");
    return Value;
}

} // namespace

bool ParseStat(const std::string& Reply, int& Count, int& Size)
{
    std::vector<std::string> Words = ReplyWords(Reply);
    if (Words.empty())
        return false;
    Count = StrictDecimal(Words[0]);
    Size = Words.size() > 1 ? StrictDecimal(Words[1]) : -1;
    return true;
}

int ParseListSize(const std::string& Reply)
{
    std::vector<std::string> Words = ReplyWords(Reply);
    int Size = 0;
    if (Words.size() < 2 || !TryDecimal(Words[1], Size))
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
    std::size_t Size = Data.size();
    if (Data == ".\r\n")
        Size = 0;
    else if (Size >= 5 && Data.compare(Size - 5, 5, "\r\n.\r\n") == 0)
        Size -= 3;
    std::string Result;
    Result.reserve(Size);
    std::size_t Start = 0;
    while (Start < Size) {
        std::size_t End = Data.find('\n', Start);
        End = End == std::string::npos || End >= Size ? Size : End + 1;
        if (Data[Start] == '.')
            ++Start;
        Result.append(Data, Start, End - Start);
        Start = End;
    }
    return Result;
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
            TMemoryStream Data;
            ReceiveData(&Data, -1);
            std::string Text(static_cast<const char*>(Data.Memory()),
                             static_cast<std::size_t>(Data.Size()));
            std::map<int, std::string> Ids;
            mspop3::ParseUidlList(Text, Ids);
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

bool ZevCustomPOP::ReceiveData(TMemoryStream* Stream, int ExpectedSize)
{
    TMemoryStream Raw;
    bool Whole = ReceiveToTerminator(&Raw, ExpectedSize, MaxMessageData);
    std::string Text = mspop3::Unstuff(
        std::string(static_cast<const char*>(Raw.Memory()), static_cast<std::size_t>(Raw.Size())));
    Stream->Clear();
    Stream->WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
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
    TMemoryStream Data;
    ReceiveData(&Data, -1);
    Item->Headers()->LoadFromStream(&Data);
    Item->Headers()->StripBody();
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
    TMemoryStream Data;
    ReceiveData(&Data, -1);
    Current.Headers()->LoadFromStream(&Data);
    Current.Headers()->StripBody();
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
