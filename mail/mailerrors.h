// mail/mailerrors.h: the exception classes of the mail and internet components and the ids of
// their texts in the program's string table (resources/STRINGS/mail.txt).
#pragma once

#include "platform/rtl/exceptions.h"

#include <string>

// Transport failures and checked preconditions of the socket components.
TW_DECLARE_EXCEPTION(ESocketError, Exception);
// A wait ran out of its idle seconds.
TW_DECLARE_EXCEPTION(ETimedOutError, Exception);
// A wait saw Cancel.
TW_DECLARE_EXCEPTION(ECanceledError, Exception);
// Kept for the components that name it; sockets here need no run-time loader.
TW_DECLARE_EXCEPTION(EWinsockDLLError, Exception);
// A negative server reply; the message is the reply line without its line end.
TW_DECLARE_EXCEPTION(EServerError, Exception);
TW_DECLARE_EXCEPTION(EMessageParserError, Exception);
// An unusable reply or a DNS error. RCode is the reply's response code (3: the name does not
// exist), or -1 for a failure that no server reported.
class EResolverError : public Exception {
public:
    explicit EResolverError(std::string Msg, int Code = -1) : Exception(std::move(Msg)), RCode(Code)
    {
    }
    int RCode;
};
TW_DECLARE_EXCEPTION(EMessageError, Exception);

// A dial-up failure with its result code.
class ERASError : public Exception {
public:
    ERASError(std::string Msg, int Code) : Exception(std::move(Msg)), ErrorCode(Code) {}
    int ErrorCode;
};

// String-table ids of the mail components' texts.
enum : int {
    sidTimedOut = 59000,          // "Operation timed out"
    sidCanceled = 59001,          // "Operation has been canceled"
    sidServerRequired = 59002,    // "Server property is required"
    sidWinsockVersion = 59003,    // "Invalid Winsock version"
    sidResolveHost = 59004,       // "Error resolving remote host"
    sidServiceRequired = 59005,   // "Service name is required"
    sidProxyPortRequired = 59006, // "Proxy port is required"
    sidInvalidURL = 59007,        // "Invalid URL"
    sidNotConnected = 59008,      // "You have to connect to the server first"
    sidServerBusy = 59009,        // "Server is busy"
    sidFunctionNotFound = 59010,  // "Function %s not found"
    sidWinsockNotLoaded = 59011,  // "Winsock is not loaded"
    sidWinsockNotFound = 59012,   // "Winsock not found"
    sidInvalidQuery = 59013,
    sidInvalidReply = 59014,
    sidIdsDiffer = 59015,
    sidNotResponse = 59016,
    sidUserNameRequired = 59103, // "UserName property is required"
    sidPasswordRequired = 59104, // "Password property is required"
};

// The text of a string-table id; "Error #<Id>" when the table has none.
std::string MailText(int Id);
