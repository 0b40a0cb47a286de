// mail/mssmtp.h: the session part of an SMTP client: connect, greeting, HELO and QUIT.
#pragma once

#include "mail/mspop3.h"

#include <functional>
#include <memory>
#include <string>

class ZevMessage;

// (Sender, TheAddress, ServerReply, Proceed): a recipient the server refused.
using ZevAddressRejectedEvent = std::function<void(TObject* Sender, const std::string& TheAddress,
                                                   const std::string& ServerReply, bool& Proceed)>;

class ZevSMTP : public ZevMailBase {
public:
    explicit ZevSMTP(TComponent* AOwner);
    ~ZevSMTP() override;

    // The message a send would take; cleared when that component goes away.
    ZevMessage* MailMessage() const { return FMailMessage; }
    void SetMailMessage(ZevMessage* Value);

    // ESocketError "Server property is required" without a server; then the base Connect.
    void Connect() override;
    // Greeting, then "HELO <local host>", or "HELO" alone when the server refuses that. A reply
    // other than 2xx raises EServerError with it; any failure closes the connection.
    void Login() override;
    // "QUIT"; a reply other than 2xx raises EServerError with it.
    void Logout() override;

    // Fired by the sending operations, which this component does not have.
    TNotifyEvent OnPrepare;
    TNotifyEvent OnSending;
    TNotifyEvent OnMailSent;
    ZevAddressRejectedEvent OnAddressRejected;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Sends Line and checks that the reply is 2xx; false otherwise.
    bool Command(const std::string& Line);

    ZevMessage* FMailMessage = nullptr;
    std::unique_ptr<TStringList> FList;
};
