// mail/agsocket.h: TagSocket, the TCP client under every mail and internet component, with its
// idle time-out counter TTimeCounter and the event types the components share.
#pragma once

#include "mail/mailerrors.h"
#include "platform/net/lookup.h"
#include "platform/net/receivebuffer.h"
#include "platform/net/socket.h"
#include "platform/rtl/component.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TTimer;
class TagRas;

using ZevErrorEvent = std::function<void(TObject* Sender, std::string& Msg)>;
// Perc is -1 when the total is unknown.
using ZevProgressEvent = std::function<void(TObject* Sender, int Perc, int Transferred)>;
// Num is the 0-based message index.
using ZevNumNotifyEvent = std::function<void(TObject* Sender, int Num)>;
using ZevUserMsgSaveEvent = std::function<void(TObject* Sender, int Num, TMemoryStream* Contents)>;
using ZevLineEvent = std::function<void(TObject* Sender, const std::string& Line)>;

// Whole idle seconds counted down by a 1000 ms timer; every transfer step restarts it.
class TTimeCounter : public TObject {
public:
    TTimeCounter();
    ~TTimeCounter() override;

    // Remaining := TimeOut and the timer runs (an already running timer keeps its period).
    void Restart();
    void Stop();

    int Remaining = 0;
    int TimeOut = 60;
    // Set when Remaining reaches 0; cleared only by the owner's Reset.
    bool TimedOut = false;

private:
    void Tick();

    std::unique_ptr<TTimer> Timer;
};

// Writes a component's log lines to FileName, making its folder, when FileName is set; for
// destructors, so a log that cannot be written is dropped.
void SaveLogAtDestruction(const TStringList& Lines, const std::string& FileName);

// Longest status line (the first line of a reply) without its line end.
constexpr std::size_t MaxReplyLine = 8192;

class TagSocket : public TComponent {
public:
    explicit TagSocket(TComponent* AOwner);
    ~TagSocket() override;

    // Host name or dotted IPv4 address, optionally ":" and a decimal port.
    const std::string& Server() const { return FServer; }
    void SetServer(const std::string& Value) { FServer = Value; }
    // When set, the lines sent and received are kept and written there at destruction.
    const std::string& LogFileName() const { return FLogFileName; }
    void SetLogFileName(const std::string& Value) { FLogFileName = Value; }
    // The port used when the service look-up fails.
    std::uint16_t DefaultPort() const { return FDefaultPort; }
    void SetDefaultPort(std::uint16_t Value) { FDefaultPort = Value; }
    const std::string& ServiceName() const { return FServiceName; }
    void SetServiceName(const std::string& Value) { FServiceName = Value; }
    // Idle seconds, kept by the counter.
    int TimeOut() const;
    void SetTimeOut(int Value);
    // Stored by the forms; the socket layer is always there.
    bool WinsockLoaded() const { return FWinsockLoaded; }
    void SetWinsockLoaded(bool Value) { FWinsockLoaded = Value; }
    // The dial-up component or nil; cleared when that component goes away.
    TagRas* RAS() const { return FRAS; }
    void SetRAS(TagRas* Value);

    // True exactly while a socket exists (from Connect on, before ConnectSocket).
    bool GetConnected() const;

    virtual void Reset();
    // The reply code of a server line: its first three characters as a number, or -1.
    virtual int GetReplyCode(const std::string& Line);
    // Dials, resolves host and port and creates the socket; ConnectSocket opens it.
    virtual void Connect();
    // OnClosing, close, OnClosed when open; then the dial-up component ends its own call.
    virtual void Close();
    // From a handler during a wait: the waiting operation raises ECanceledError.
    virtual void Cancel();

    std::uint32_t RemoteAddress() const { return FRemoteAddress; } // network order
    const std::string& RemoteAddressText() const { return FRemoteAddressText; }
    const std::string& LocalHost() const { return FLocalHost; }
    std::uint16_t Port() const { return FPort; }
    // The Winsock error number of the last failure reported by the system.
    int ErrorCode() const { return FErrorCode; }
    TStringList* LogLines() const { return FLogLines.get(); }

    std::string LastReply;

    TNotifyEvent OnOpen;
    TNotifyEvent OnConnected;
    TNotifyEvent OnClosing;
    TNotifyEvent OnClosed;
    TNotifyEvent OnCancel;
    ZevProgressEvent OnProgress;
    ZevErrorEvent OnError;
    ZevLineEvent OnLineSent;
    ZevLineEvent OnLineReceived;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void ConnectSocket();
    // Sends Line and CR LF.
    void SendLine(const std::string& Line);
    // One reply line without trailing CR and LF; returns GetReplyCode(Line). A line longer than
    // MaxReplyLine, or the peer closing before the line end, raises ESocketError and closes.
    int ReadLine(std::string& Line);
    // A reply in code-dash continuation form into LastReply (its last line); the first line's
    // code.
    int ReadMultiLine();
    // Receives into Stream up to and including the line "." (CR LF "." CR LF, or ". CR LF" as
    // the whole data). With Budget >= 0 at most Budget bytes are stored: the rest is read and
    // dropped up to the end line, so the connection stays in step, and the result is false.
    // The peer closing first raises ESocketError at once.
    bool ReceiveToTerminator(TStream* Stream, int ExpectedSize, std::int64_t Budget = -1);
    // Receives Count bytes (-1: until the peer closes) and fires OnClosed; the peer closing
    // before Count bytes raises ESocketError.
    void ReceiveCount(TStream* Stream, std::int64_t Count);
    void SendStream(TStream* Stream);

    // OnError with the text of Code (the handler may change it), then ESocketError with it.
    // Code 0 does nothing. Winsock numbers get the system's wording, others the string table.
    void RaiseSocketError(int Code);
    [[noreturn]] void RaiseTimeOut();
    [[noreturn]] void RaiseCanceled();

    bool Canceled = false;
    bool PeerClosed = false;
    TTimeCounter* Counter() const { return FCounter.get(); }

private:
    enum TWaitKind { wkReadable, wkWritable, wkConnected };

    void CheckConnected();
    // Dispatches the messages waiting, without blocking.
    void Pump();
    // Pumps messages until the socket is ready; raises on cancel, time-out and error.
    void WaitFor(TWaitKind Kind);
    // Pumps messages until the look-up ends, the counter runs out or Cancel comes.
    void WaitForLookup(TLookup& Lookup);
    // Turns a quit request seen by a wait into a cancel.
    void CheckQuit(int PumpResult);
    // Raises as a wait would when the connection was canceled or closed meanwhile.
    void CheckUsable();
    // Pumps after every few transfer steps that did not have to wait, so that a transfer that
    // never waits still keeps the program responsive and lets a cancel through.
    void PumpNowAndThen();
    // Receives into the buffer what has come, waiting only when nothing has; false when the
    // peer has closed.
    bool ReceiveMore();
    void SendAll(const char* Data, std::size_t Count);
    void SocketReady(short REvents);
    [[noreturn]] void RaiseClosedEarly();
    // OnError with Text (the handler may change it), an optional close, then ESocketError.
    [[noreturn]] void RaiseError(std::string Text, bool CloseConnection);
    void Unwatch();
    void Progress(int Perc, std::int64_t Transferred);

    std::string FServer;
    std::string FLogFileName;
    std::uint16_t FDefaultPort = 0;
    std::string FServiceName;
    bool FWinsockLoaded = false;
    TagRas* FRAS = nullptr;

    std::unique_ptr<TTimeCounter> FCounter;
    std::unique_ptr<TStringList> FLogLines;
    TTcpSocket FSocket;
    int FWatchId = 0; // registration of the socket with the message loop
    TWaitKind FWaitKind = wkReadable;
    TReceiveBuffer FBuffer;

    std::uint32_t FRemoteAddress = 0;
    std::string FRemoteAddressText;
    std::string FLocalHost;
    std::uint16_t FPort = 0;
    int FErrorCode = 0;

    bool Readable = false;
    bool Writable = false;
    bool Connected = false;
    bool ErrorPending = false;
    // Set by a send and cleared by the next receive: the answer is seldom there at once, so
    // the next receive waits before it reads.
    bool AwaitingReply = false;
    int StepsWithoutWait = 0;
};
