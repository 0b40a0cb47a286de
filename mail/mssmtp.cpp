// mail/mssmtp.cpp: the SMTP session.
#include "mail/mssmtp.h"

#include "mail/msmsg.h"
#include "mail/msutils.h"

ZevSMTP::ZevSMTP(TComponent* AOwner) : ZevMailBase(AOwner), FList(std::make_unique<TStringList>())
{
    SetServiceName("smtp");
    SetDefaultPort(25);
}

ZevSMTP::~ZevSMTP()
{
    SetMailMessage(nullptr);
}

void ZevSMTP::SetMailMessage(ZevMessage* Value)
{
    if (Value == FMailMessage)
        return;
    if (FMailMessage != nullptr)
        FMailMessage->RemoveFreeNotification(this);
    FMailMessage = Value;
    if (FMailMessage != nullptr)
        FMailMessage->FreeNotification(this);
}

void ZevSMTP::Notification(TComponent* AComponent, TOperation Operation)
{
    ZevMailBase::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMailMessage)
        FMailMessage = nullptr;
}

void ZevSMTP::Connect()
{
    if (Server().empty())
        RaiseSocketError(sidServerRequired);
    Reset();
    ZevMailBase::Connect();
}

bool ZevSMTP::Command(const std::string& Line)
{
    SendLine(Line);
    return ReadMultiLine() / 100 == 2;
}

void ZevSMTP::Login()
{
    // Whatever fails, no half-open session is left for a later OpenSession to take as logged in.
    try {
        ConnectSocket();
        if (ReadMultiLine() / 100 != 2)
            throw EServerError(LastReply);
        if (!Command("HELO " + LocalHost()) && !Command("HELO"))
            throw EServerError(LastReply);
    } catch (...) {
        Close();
        throw;
    }
}

void ZevSMTP::Logout()
{
    PumpMessages();
    if (!Command("QUIT"))
        throw EServerError(LastReply);
}
