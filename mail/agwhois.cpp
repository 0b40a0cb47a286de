// mail/agwhois.cpp: the whois client's settings.
#include "mail/agwhois.h"

TagWhoIs::TagWhoIs(TComponent* AOwner)
    : TagSocket(AOwner), FResult(std::make_unique<TMemoryStream>())
{
    SetServiceName("whois");
    SetDefaultPort(43);
}

TagWhoIs::~TagWhoIs() = default;
