// mail/agRasCmp.h: TagRas, the dial-up networking component, on the system's own ppp set-up:
// the phone-book entries are the ppp peer files, dialling and hanging up run pon and poff, and a
// connection is a ppp interface that is up. Without ppp it lists nothing and dials nothing.
#pragma once

#include "platform/rtl/component.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TStringList;
class TTimeCounter;
class TTimer;
class TRasChild;

using TRASNotifyEvent = std::function<void(TObject* Sender, const std::string& RASStatusStr)>;

// The connection states reported through OnStatusChange.
enum : int {
    RASCS_OpenPort = 0,
    RASCS_ConnectDevice = 2,
    RASCS_Authenticate = 5,
    RASCS_Authenticated = 14,
    RASCS_LogonNetwork = 21,
    RASCS_Connected = 0x2000,
};

// Result codes of ERASError besides the exit status (1 to 255) of pon.
enum : int {
    ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623,
    ERROR_CANNOT_START_DIALLER = 1000, // pon could not be started
};

// The text of a connection state ("" for states without one).
std::string RasStatusText(int State);
// The text of a result code; "RAS error no <Code>" when there is none.
std::string RasErrorText(int Code);

// One ppp link as the system shows it.
struct TRasConnection {
    std::string Entry;     // the peer it was dialled for; "" when unknown
    std::string Interface; // "ppp0"
    bool Up = false;       // the network protocol is negotiated and the interface is up
};

class TagRas : public TComponent {
public:
    explicit TagRas(TComponent* AOwner);
    ~TagRas() override;

    // The peer to dial; only an entry of GetEntries, and only while not connected.
    const std::string& Service() const { return FService; }
    void SetService(const std::string& Value);
    // When false, any ppp link that is up counts as connected.
    bool ForceService = true;
    // Kept for the forms: there is no dialling window to minimise here.
    bool MinimizeAtConnect = false;
    // Kept for the forms: ppp takes its secrets from its own files, and a password on the
    // command line would show in the process list.
    std::string Password;
    bool RemovePassword = true;
    // Seconds a dial may take.
    int TimeOut() const;
    void SetTimeOut(int Value);

    // Where the ppp set-up is found; the defaults come from $TARNWICK_PPP_PEERS (else
    // /etc/ppp/peers), $TARNWICK_PPP_NET (/sys/class/net), $TARNWICK_PPP_RUN (/run),
    // $TARNWICK_PON (pon) and $TARNWICK_POFF (poff). A command without "/" is looked up on PATH.
    std::string PeersFolder;
    std::string NetFolder;
    std::string RunFolder;
    std::string PonCommand;
    std::string PoffCommand;

    // Refreshes and returns the entry list (the peer files, sorted).
    TStringList* GetEntries();
    // The ppp links now.
    std::vector<TRasConnection> GetConnections() const;
    // True when a link of Service is up (with ForceService false: any link).
    virtual bool IsConnected();
    // Makes sure a connection is up: dials Service when needed and waits, pumping messages,
    // until its link is up. Raises ERASError, ETimedOutError or ECanceledError.
    virtual void Dial();
    // Ends a connection this component dialled (poff), firing OnDisconnected.
    virtual void HangUp();
    // HangUp, and a dial still waiting ends with a cancel.
    virtual void EndDial();
    void Reset();

    // The result of the last dial: 0, or the code of the failure.
    int LastResult() const { return FLastResult; }
    bool DialledHere() const { return FDialledHere; }

    TRASNotifyEvent OnStatusChange;
    TNotifyEvent OnDisconnected;

private:
    void StatusChange(int State);
    // Runs Command with Entry and waits for its end; its exit status.
    int RunAndWait(const std::string& Command, const std::string& Entry);
    void CheckLink();

    std::string FService;
    std::unique_ptr<TStringList> FEntries;
    std::string FHandle;       // the interface of the held connection; "" for none
    std::string FDialledEntry; // the peer this component dialled
    bool FDialledHere = false;
    int FLastResult = 0;
    std::unique_ptr<TTimeCounter> FCounter;
    std::unique_ptr<TTimer> FLinkTimer;
    std::unique_ptr<TRasChild> FDialler; // pon, while it runs
    bool FDialCanceled = false;
    bool FConnected = false;
};
