// mail/agwhois.h: the settings of a whois client (server, query, port 43); it has no query
// operation.
#pragma once

#include "mail/agsocket.h"

#include <memory>
#include <string>

class TagWhoIs : public TagSocket {
public:
    explicit TagWhoIs(TComponent* AOwner);
    ~TagWhoIs() override;

    const std::string& Query() const { return FQuery; }
    void SetQuery(const std::string& Value) { FQuery = Value; }

    // Fired by the query operation, which this component does not have.
    TNotifyEvent OnSendingQuery;

private:
    std::string FQuery;
    std::unique_ptr<TMemoryStream> FResult; // where a query's answer would go
};
