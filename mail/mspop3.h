// mail/mspop3.h: the POP3 client: the mail-protocol base, the POP3 dialogue, and the component
// that lists a mailbox by header lines and then retrieves or deletes the messages marked.
#pragma once

#include "mail/agsocket.h"
#include "mail/mspop3cl.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Multi-line data (TOP, RETR, the UIDL list) kept per message; the rest is read and dropped.
constexpr std::int64_t MaxMessageData = 8 * 1024 * 1024;

// The mail-protocol base: a session is a connection and a login.
class ZevMailBase : public TagSocket {
public:
    using TagSocket::TagSocket;

    virtual void Login() = 0;
    virtual void Logout() = 0;

    // Connect and Login, unless a session is open already.
    void OpenSession();
    // Logout and Close when connected; the connection is closed whatever the logout gives.
    void CloseSession();
};

// The POP3 dialogue: login with STAT and the unique-id list, RETR, DELE, QUIT.
class ZevCustomPOP : public ZevMailBase {
public:
    explicit ZevCustomPOP(TComponent* AOwner);

    const std::string& UserName() const { return FUserName; }
    void SetUserName(const std::string& Value) { FUserName = Value; }
    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& Value) { FPassword = Value; }

    // From the STAT of the current session; -1 when not known.
    int MessageCount() const { return FMessageCount; }
    int MailboxSize() const { return FMailboxSize; }

    // 1 for a line starting with "+", -1 for "-", 0 otherwise.
    int GetReplyCode(const std::string& Line) override;
    // Checks the credentials, then prepares the connection.
    void Connect() override;
    // Greeting, USER, PASS, STAT and UIDL; any failure closes the connection.
    void Login() override;
    // QUIT; a negative reply raises EServerError (CloseSession closes the connection anyway).
    void Logout() override;
    // ESocketError "UserName property is required" or "Password property is required".
    virtual void CheckCredentials();

    // Fetches message Num (0-based) and hands it to SaveMessage.
    void Retrieve(int Num) { RetrieveAs(Num, Num); }
    // Sends DELE; true when the server took it (OnDeleting has then fired).
    bool Delete(int Num) { return DeleteAs(Num, Num); }

    ZevNumNotifyEvent OnRetrieving;
    ZevNumNotifyEvent OnRetrieved;
    // Fired for each message the server has accepted to delete.
    ZevNumNotifyEvent OnDeleting;

protected:
    // Contents: the message as the server holds it (dot-stuffing undone, CR LF line ends,
    // without the terminating line), positioned at 0.
    virtual void SaveMessage(int Num, TMemoryStream* Contents) = 0;

    // Sends Command and reads its reply line into LastReply; true when it is positive.
    bool Command(const std::string& Line);
    // As Command, but a negative reply raises EServerError with it.
    void CheckedCommand(const std::string& Line);
    void CheckedReply();
    // The multi-line data after a positive reply, dot-stuffing undone and without the end
    // line, into Stream (from its start). False when it exceeded MaxMessageData: Stream then
    // holds the first part.
    bool ReceiveData(TCustomMemoryStream* Stream, int ExpectedSize);
    // As Retrieve and Delete for message Num (0-based) of this session, reported to the events
    // and SaveMessage as Reported: a listed message keeps its index when its number has moved.
    void RetrieveAs(int Num, int Reported);
    bool DeleteAs(int Num, int Reported);
    // Message Num's unique id in this session; empty when the server has none for it, or gives
    // the same id to another message too.
    const std::string& SessionUIDL(int Num) const;
    bool SessionHasUIDL() const { return FSessionHasUIDL; }
    // SessionNumber for an id no message has, and for one that several messages have.
    static constexpr int NoSuchUIDL = -1;
    static constexpr int AmbiguousUIDL = -2;
    // The number (0-based) of the message with unique id UIDL in this session, or one of the
    // two values above.
    int SessionNumber(const std::string& UIDL) const;
    // "LIST n": the message's size, or -1 when the server denies the message.
    int ListSize(int Num, bool Checked);

private:
    std::string FUserName;
    std::string FPassword;
    int FMessageCount = -1;
    int FMailboxSize = -1;
    bool FSessionHasUIDL = false;
    std::vector<std::string> FSessionUIDLs;               // index: message number - 1
    std::unordered_map<std::string, int> FSessionNumbers; // id: message number - 1
};

// Lists a mailbox into RemoteInfo, and carries out the marks set on its items.
class ZevRemotePOP : public ZevCustomPOP {
public:
    explicit ZevRemotePOP(TComponent* AOwner);
    ~ZevRemotePOP() override;

    // Folder for retrieved messages; a non-empty value gets a trailing "/".
    const std::string& MessageDirectory() const { return FMessageDirectory; }
    void SetMessageDirectory(const std::string& Value);
    ZevRemoteInfo* RemoteInfo() const { return FRemoteInfo.get(); }

    // Lists every message's size, unique id and header lines into RemoteInfo.
    void UpdateInfo();
    void MarkDelete(int Index);
    void MarkRetrieve(int Index);
    void Unmark(int Index);
    // Retrieves and deletes the marked messages, each found by the unique id it was listed with
    // (without ids: only when the message at its number still has the listed size and header
    // lines); a mark that could not be carried out is cleared. The events report the index in
    // RemoteInfo, whatever number the message has in this session.
    void ProcessMarked();

    // True: UpdateInfo leaves the session open for a following ProcessMarked.
    bool KeepConnection = false;

    TNotifyEvent OnUpdatingInfo;
    TNotifyEvent OnInfoUpdated;
    TNotifyEvent OnTransferringData;
    TNotifyEvent OnDataTransfered;
    ZevNumNotifyEvent OnNextInfoUpdated;
    // When set, takes the place of writing msg_<Num>.eml.
    ZevUserMsgSaveEvent OnUserMessageSave;

protected:
    void SaveMessage(int Num, TMemoryStream* Contents) override;
    // Fills Item with message Index's unique id (from the session's list) and its size and
    // header lines (LIST and TOP).
    void GetInfo(int Index, ZevRemoteInfoItem* Item, bool WithUIDL, bool WithHeaders);
    // Whether the server's message at Index still has the size and header lines listed there.
    // Never raises for a vanished message.
    bool Verify(int Index);
    // The number (0-based) that the message listed at Index has in this session: found by its
    // unique id when both sides have one, else Index when Verify agrees; -1 when it is gone.
    int Locate(int Index);

private:
    // The data of a positive TOP reply: its header lines, up to the first empty one.
    void ReceiveHeaders(ZevHeaders* Headers);

    std::string FMessageDirectory;
    std::unique_ptr<ZevRemoteInfo> FRemoteInfo;
};

// Parsers of the POP3 replies, kept apart from the transport so that they can be fuzzed.
namespace mspop3 {

// "+OK count size": false when the reply holds no number after "+OK"; the size is -1 when
// missing. A count or size that is not a decimal number raises EConvertError.
bool ParseStat(const std::string& Reply, int& Count, int& Size);
// "+OK n size [anything]": the size, or 0 when the reply gives none.
int ParseListSize(const std::string& Reply);
// The lines "n id" of a UIDL listing: Ids[n] gets id. An id is 1 to 70 printable characters
// (0x21 to 0x7E); a line whose id is not, or that is no such line, gives no id.
void ParseUidlList(const std::string& Data, std::map<int, std::string>& Ids);
// Multi-line data as received up to and including its end line: dot-stuffing undone and the
// end line removed; CR LF line ends are kept. Data cut short (no end line) is unstuffed only.
std::string Unstuff(const std::string& Data);
// The same in place, for data already in memory; the new size.
std::size_t Unstuff(char* Data, std::size_t Size);
// How much of Text comes before its first empty line, the line ends included; lines end at
// CR LF, LF or CR, as TStrings splits them. SetText of that much gives the lines a SetText of
// the whole and StripBody would leave.
std::size_t HeaderBlockLength(std::string_view Text);

} // namespace mspop3
