#include "mail/agsocket.h"

#include "mail/agRasCmp.h"
#include "platform/net/errors.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/resources.h"
#include "platform/rtl/strings.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/wait.h"

namespace {

constexpr std::size_t ReceiveChunk = 16384;
constexpr std::size_t SendBlock = 2047;
// Transfer steps that did not wait before the loop gets a turn anyway.
constexpr int StepsBetweenPumps = 16;

// The wording of Code: the system's for socket errors, the string table's for the program's.
std::string SocketErrorText(int Code)
{
    std::string Text = Code >= 10000 && Code <= 11004 ? WinsockErrorText(Code) : LoadStr(Code);
    return Text.empty() ? "Error #" + std::to_string(Code) : Text;
}

int Clamped(std::int64_t Value)
{
    return Value > INT32_MAX ? INT32_MAX : static_cast<int>(Value);
}

} // namespace

// TTimeCounter

TTimeCounter::TTimeCounter() : Timer(std::make_unique<TTimer>(nullptr))
{
    Timer->SetEnabled(false);
    Timer->SetInterval(1000);
    Timer->OnTimer = [this](TObject*) { Tick(); };
}

TTimeCounter::~TTimeCounter() = default;

void TTimeCounter::Restart()
{
    Remaining = TimeOut;
    // A fresh period each time, so that a restart just before a tick still grants whole
    // idle seconds.
    Timer->SetEnabled(false);
    Timer->SetEnabled(true);
}

void TTimeCounter::Stop()
{
    Timer->SetEnabled(false);
}

void TTimeCounter::Tick()
{
    if (--Remaining <= 0)
        TimedOut = true;
}

void SaveLogAtDestruction(const TStringList& Lines, const std::string& FileName)
{
    if (FileName.empty())
        return;
    try {
        const std::string Folder = ExtractFilePath(FileName);
        if (!Folder.empty())
            ForceDirectories(Folder);
        Lines.SaveToFile(FileName);
    } catch (const Exception&) {
        // A log that cannot be written must not stop the component from going away.
    }
}

// TagSocket

TagSocket::TagSocket(TComponent* AOwner)
    : TComponent(AOwner), FCounter(std::make_unique<TTimeCounter>()),
      FLogLines(std::make_unique<TStringList>())
{
}

TagSocket::~TagSocket()
{
    Destroying();
    Unwatch();
    FSocket.Close();
    SetRAS(nullptr);
    SaveLogAtDestruction(*FLogLines, FLogFileName);
}

int TagSocket::TimeOut() const
{
    return FCounter->TimeOut;
}

void TagSocket::SetTimeOut(int Value)
{
    FCounter->TimeOut = Value;
}

void TagSocket::SetRAS(TagRas* Value)
{
    if (Value == FRAS)
        return;
    if (FRAS)
        FRAS->RemoveFreeNotification(this);
    FRAS = Value;
    if (FRAS)
        FRAS->FreeNotification(this);
}

void TagSocket::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRAS)
        FRAS = nullptr;
}

bool TagSocket::GetConnected() const
{
    return FSocket.IsOpen();
}

void TagSocket::Reset()
{
    Canceled = false;
    FCounter->TimedOut = false;
    ErrorPending = false;
    Connected = false;
    Readable = false;
    Writable = false;
    PeerClosed = false;
}

int TagSocket::GetReplyCode(const std::string& Line)
{
    const std::string Code = Line.substr(0, 3);
    for (char C : Code)
        if (C < '0' || C > '9')
            return -1;
    return Code.empty() ? -1 : StrToInt(Code);
}

void TagSocket::Connect()
{
    if (FRAS)
        FRAS->Dial();
    if (OnOpen)
        OnOpen(this);
    if (FServer.empty())
        RaiseSocketError(sidServerRequired);

    const std::size_t Colon = FServer.find(':');
    const std::string Host = FServer.substr(0, Colon);
    FLocalHost = LocalHostName();
    if (FLocalHost.empty())
        FLocalHost = Host;

    if (!ParseIPv4(Host, FRemoteAddress)) {
        // Leaving the scope abandons a look-up that a cancel or time-out cut short.
        const std::unique_ptr<TLookup> Lookup = TLookup::Host(Host);
        WaitForLookup(*Lookup);
        // Asked once: a worker ending between two questions would leave neither its error nor
        // the cancel, and an address of 0.0.0.0.
        const bool Found = Lookup->Done();
        if (Found && Lookup->Error() != 0) {
            FErrorCode = Lookup->Error();
            RaiseSocketError(FErrorCode);
        }
        if (FCounter->TimedOut)
            RaiseTimeOut();
        if (!Found)
            RaiseCanceled();
        FRemoteAddress = Lookup->Address();
        Pump();
    }
    FRemoteAddressText = FormatIPv4(FRemoteAddress);

    // A port in Server wins; text that is not a number, or 0, leaves it to the service.
    std::uint32_t Number = 0;
    if (Colon != std::string::npos) {
        const std::string Text = FServer.substr(Colon + 1);
        bool Digits = !Text.empty();
        for (char C : Text) {
            if (C < '0' || C > '9')
                Digits = false;
            else if (Digits && Number <= 65535)
                Number = Number * 10 + static_cast<std::uint32_t>(C - '0');
        }
        if (!Digits)
            Number = 0;
        if (Number > 65535)
            RaiseError("Invalid port number " + Text, false);
    }
    if (Number != 0) {
        FPort = static_cast<std::uint16_t>(Number);
    } else {
        if (FServiceName.empty())
            RaiseSocketError(sidServiceRequired);
        if (Canceled)
            RaiseCanceled();
        const std::unique_ptr<TLookup> Lookup = TLookup::Service(FServiceName, "tcp");
        WaitForLookup(*Lookup);
        // A time-out stays set, so that ConnectSocket ends with it at once.
        if (!FCounter->TimedOut && Canceled)
            RaiseCanceled();
        FPort = Lookup->Done() && Lookup->Error() == 0 ? Lookup->Port() : FDefaultPort;
    }

    Unwatch();
    FBuffer.Clear();
    PeerClosed = false;
    Connected = false;
    if (const int Error = FSocket.Open()) {
        FErrorCode = Error;
        RaiseSocketError(Error);
    }
    FWatchId = RegisterDescriptor(FSocket.Handle(), 0,
                                  [this](int, short REvents) { SocketReady(REvents); });
}

void TagSocket::ConnectSocket()
{
    if (Canceled)
        RaiseCanceled();
    CheckConnected();
    FCounter->Restart();
    const int Error = FSocket.Connect(FRemoteAddress, FPort);
    if (Error != 0 && Error != WSAEWOULDBLOCK) {
        FErrorCode = Error;
        RaiseSocketError(Error);
    }
    // Also when connected at once: the wait reports a time-out left by the port look-up.
    WaitFor(wkConnected);
    // Most servers speak first.
    AwaitingReply = true;
    if (OnConnected)
        OnConnected(this);
}

void TagSocket::Close()
{
    if (FSocket.IsOpen()) {
        if (OnClosing)
            OnClosing(this);
        Unwatch();
        FSocket.Close();
        FBuffer.Clear();
        if (OnClosed)
            OnClosed(this);
    }
    if (FRAS)
        FRAS->EndDial();
}

void TagSocket::Cancel()
{
    Canceled = true;
    if (OnCancel)
        OnCancel(this);
    Close();
}

void TagSocket::SocketReady(short REvents)
{
    SetDescriptorEvents(FWatchId, 0);
    switch (FWaitKind) {
    case wkConnected:
        if (const int Error = FSocket.ConnectResult()) {
            FErrorCode = Error;
            ErrorPending = true;
        } else {
            Connected = true;
        }
        break;
    case wkReadable:
        Readable = true;
        break;
    case wkWritable:
        Writable = true;
        break;
    }
    (void)REvents; // errors and hang-ups surface through the following recv or send
}

void TagSocket::Unwatch()
{
    if (FWatchId != 0)
        UnregisterDescriptor(FWatchId);
    FWatchId = 0;
}

void TagSocket::CheckConnected()
{
    if (!FSocket.IsOpen())
        RaiseSocketError(sidNotConnected);
}

void TagSocket::CheckQuit(int PumpResult)
{
    if (PumpResult == prQuit && !Canceled)
        Cancel();
}

void TagSocket::Pump()
{
    CheckQuit(WaitUntil({}, 0));
}

void TagSocket::CheckUsable()
{
    if (Canceled)
        RaiseCanceled();
    if (!FSocket.IsOpen())
        RaiseSocketError(sidNotConnected);
}

void TagSocket::PumpNowAndThen()
{
    if (++StepsWithoutWait < StepsBetweenPumps)
        return;
    StepsWithoutWait = 0;
    Pump();
    CheckUsable();
}

void TagSocket::WaitFor(TWaitKind Kind)
{
    bool& Flag = Kind == wkReadable ? Readable : Kind == wkWritable ? Writable : Connected;
    Flag = false;
    FWaitKind = Kind;
    StepsWithoutWait = 0;
    FCounter->Restart();
    SetDescriptorEvents(FWatchId, Kind == wkReadable ? POLLIN : POLLOUT);
    const TPumpResult Result = WaitUntil([&] {
        return Flag || Canceled || FCounter->TimedOut || ErrorPending || !FSocket.IsOpen();
    });
    if (FWatchId != 0)
        SetDescriptorEvents(FWatchId, 0);
    FCounter->Stop();
    CheckQuit(Result);
    if (Canceled)
        RaiseCanceled();
    if (FCounter->TimedOut)
        RaiseTimeOut();
    if (ErrorPending) {
        ErrorPending = false;
        RaiseSocketError(FErrorCode);
    }
    if (!FSocket.IsOpen())
        RaiseSocketError(sidNotConnected);
}

void TagSocket::WaitForLookup(TLookup& Lookup)
{
    FCounter->Restart();
    const TPumpResult Result =
        WaitUntil([&] { return Lookup.Done() || Canceled || FCounter->TimedOut; });
    FCounter->Stop();
    CheckQuit(Result);
}

bool TagSocket::ReceiveMore()
{
    // Reading first costs a system call for nothing when the peer has yet to answer; after
    // that (more of a reply, data behind a status line) what is awaited has mostly come.
    bool Waited = AwaitingReply;
    if (Waited)
        WaitFor(wkReadable);
    else
        CheckUsable();
    char Chunk[ReceiveChunk];
    for (;;) {
        int Error = 0;
        const long Got = FSocket.Recv(Chunk, sizeof Chunk, Error);
        if (Got > 0) {
            AwaitingReply = false;
            FBuffer.Append(Chunk, static_cast<std::size_t>(Got));
            if (!Waited)
                PumpNowAndThen();
            return true;
        }
        if (Got == 0) {
            PeerClosed = true;
            return false;
        }
        if (Error != WSAEWOULDBLOCK) {
            FErrorCode = Error;
            RaiseSocketError(Error);
        }
        WaitFor(wkReadable);
        Waited = true;
    }
}

void TagSocket::SendAll(const char* Data, std::size_t Count)
{
    std::size_t Sent = 0;
    while (Sent < Count) {
        int Error = 0;
        const long Done = FSocket.Send(Data + Sent, Count - Sent, Error);
        if (Done >= 0) {
            Sent += static_cast<std::size_t>(Done);
            AwaitingReply = true;
            PumpNowAndThen();
        } else if (Error == WSAEWOULDBLOCK) {
            WaitFor(wkWritable);
        } else {
            FErrorCode = Error;
            RaiseSocketError(Error);
        }
    }
}

void TagSocket::SendLine(const std::string& Line)
{
    CheckConnected();
    const std::string Data = Line + "\r\n";
    SendAll(Data.data(), Data.size());
    if (!FLogFileName.empty()) {
        // A log file is no place for a password.
        if (Line.size() > 5 && SameText(Line.substr(0, 5), "PASS "))
            FLogLines->Add("PASS ********");
        else
            FLogLines->Add(Line);
    }
    if (OnLineSent)
        OnLineSent(this, Line);
}

int TagSocket::ReadLine(std::string& Line)
{
    CheckConnected();
    Line.clear();
    for (;;) {
        const auto Result = FBuffer.TakeLine(Line, MaxReplyLine);
        if (Result == TReceiveBuffer::lrComplete)
            break;
        if (Result == TReceiveBuffer::lrTooLong)
            // The rest of the line cannot be told from the next reply: the connection is over.
            RaiseError("Reply line is too long", true);
        if (PeerClosed || !ReceiveMore())
            RaiseClosedEarly();
    }
    if (!FLogFileName.empty())
        FLogLines->Add(Line);
    if (OnLineReceived)
        OnLineReceived(this, Line);
    return GetReplyCode(Line);
}

int TagSocket::ReadMultiLine()
{
    // Continuation lines carry "-" after the code; the last line a space or nothing at all
    // ("250" alone ends a reply too).
    const int Code = ReadLine(LastReply);
    while (LastReply.size() > 3 && LastReply[3] == '-')
        ReadLine(LastReply);
    return Code;
}

bool TagSocket::ReceiveToTerminator(TStream* Stream, int ExpectedSize, std::int64_t Budget)
{
    CheckConnected();
    TDataEndScanner Scanner;
    std::int64_t Total = 0;
    std::int64_t Stored = 0;
    bool Fits = true;
    for (;;) {
        if (!FBuffer.Empty()) {
            const std::size_t Taken = Scanner.Scan(FBuffer.Data(), FBuffer.Size());
            std::int64_t Keep = static_cast<std::int64_t>(Taken);
            if (Budget >= 0 && Stored + Keep > Budget) {
                Keep = Budget - Stored;
                Fits = false;
            }
            if (Keep > 0)
                Stream->WriteBuffer(FBuffer.Data(), Keep);
            Stored += Keep;
            Total += static_cast<std::int64_t>(Taken);
            FBuffer.Consume(Taken);
            Progress(ExpectedSize < 1 ? -1 : PercentOf(Total, ExpectedSize), Total);
            if (Scanner.Found())
                return Fits;
        }
        if (PeerClosed || !ReceiveMore())
            RaiseClosedEarly();
    }
}

void TagSocket::ReceiveCount(TStream* Stream, std::int64_t Count)
{
    Progress(0, 0);
    CheckConnected();
    std::int64_t Total = 0;
    while (Count < 0 || Total < Count) {
        if (!FBuffer.Empty()) {
            std::int64_t Take = static_cast<std::int64_t>(FBuffer.Size());
            if (Count >= 0 && Take > Count - Total)
                Take = Count - Total;
            Stream->WriteBuffer(FBuffer.Data(), Take);
            FBuffer.Consume(static_cast<std::size_t>(Take));
            Total += Take;
            Progress(Count <= 0 ? -1 : PercentOf(Total, Count), Total);
            continue;
        }
        if (PeerClosed || !ReceiveMore()) {
            if (Count < 0)
                break;
            RaiseClosedEarly();
        }
    }
    if (OnClosed)
        OnClosed(this);
}

void TagSocket::SendStream(TStream* Stream)
{
    CheckConnected();
    Stream->SetPosition(0);
    const std::int64_t Size = Stream->Size();
    if (!FLogFileName.empty())
        FLogLines->Add("Suppressing the message body");
    char Block[SendBlock];
    for (;;) {
        const std::int64_t Got = Stream->Read(Block, sizeof Block);
        SendAll(Block, static_cast<std::size_t>(Got));
        const std::int64_t Position = Stream->Position();
        Progress(Size == 0 ? 100 : PercentOf(Position, Size), Position);
        if (Got < static_cast<std::int64_t>(sizeof Block))
            break;
    }
    Progress(0, 0);
}

void TagSocket::Progress(int Perc, std::int64_t Transferred)
{
    if (OnProgress)
        OnProgress(this, Perc, Clamped(Transferred));
}

void TagSocket::RaiseSocketError(int Code)
{
    if (Code == 0)
        return;
    RaiseError(SocketErrorText(Code), Code == WSAECONNRESET);
}

void TagSocket::RaiseClosedEarly()
{
    FErrorCode = WSAEDISCON;
    RaiseError(SocketErrorText(WSAEDISCON), true);
}

void TagSocket::RaiseError(std::string Text, bool CloseConnection)
{
    FCounter->Stop();
    if (OnError)
        OnError(this, Text);
    if (CloseConnection)
        Close();
    throw ESocketError(Text);
}

void TagSocket::RaiseTimeOut()
{
    FCounter->Stop();
    const std::string Text = MailText(sidTimedOut);
    if (OnError) {
        std::string Msg = Text;
        OnError(this, Msg);
    }
    Close();
    throw ETimedOutError(Text);
}

void TagSocket::RaiseCanceled()
{
    FCounter->Stop();
    const std::string Text = MailText(sidCanceled);
    if (OnError) {
        std::string Msg = Text;
        OnError(this, Msg);
    }
    // Cancel has closed the connection already; a quit request has too.
    Close();
    throw ECanceledError(Text);
}
