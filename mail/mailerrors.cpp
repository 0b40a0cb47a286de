#include "mail/mailerrors.h"

#include "platform/rtl/resources.h"

std::string MailText(int Id)
{
    std::string Text = LoadStr(Id);
    return Text.empty() ? "Error #" + std::to_string(Id) : Text;
}
