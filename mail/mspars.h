// mail/mspars.h: header lines with field look-up, RFC 2047 encoded words, mail addresses and
// address lists, and the date of a Date field.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Raw header lines as received, without their line ends; a folded field continues on lines
// that begin with a space or a TAB. Field names compare without case.
class ZevHeaders : public TStringList {
public:
    // The value of the first field called Name (a trailing ":" is optional): white space after
    // the colon is skipped, continuation lines are joined with one space, and encoded words
    // are decoded (not for Content-Type and X-UIDL, which come back as written). In an address
    // field (From, Sender, Reply-To, To, Cc, Bcc and their Resent- forms) only the display
    // names and comments are decoded, a decoded name that holds an address character coming
    // back as a quoted string. A line break in the value reads as one space. Empty when the
    // field is absent. Never raises.
    std::string GetFieldValue(const std::string& Name) const;
    // The comma-separated items of every field called Name (e.g. "TO", "CC", "BCC"), each
    // trimmed and decoded as an address field is, into List. Commas inside double quotes,
    // parentheses and angle brackets do not split; a group "name: a, b;" gives its members.
    void GetFieldList(const std::string& Name, TStrings* List) const;
    // Removes the first field called Name with its continuation lines.
    void DeleteField(const std::string& Name);
    // Removes the first empty line and every line after it.
    void StripBody();
};

// RFC 2047: every well-formed encoded word "=?charset?B|Q?text?=" becomes its bytes (the
// charset is not converted), each line break in them (CR LF, CR or LF) one space; white space
// between two encoded words goes, white space next to plain text stays. A word that cannot be
// decoded stays as written. Never raises.
std::string DecodeHeaderWords(const std::string& Text);

class ZevMailAddress;
// Shows the address dialog for Address (a copy); true when the user confirmed it.
using TMailAddressEditor = std::function<bool(ZevMailAddress* Address)>;

// One mailbox: a display name and an address.
class ZevMailAddress : public TPersistent {
public:
    std::string Name;
    std::string Address;

    // Runs the installed editor on a copy and takes the result back when it answers true.
    // Without an editor nothing is edited and the answer is false.
    virtual bool Edit();
    // Copies Name and Address from another ZevMailAddress.
    void Assign(const TPersistent* Source) override;
    void Clear();

    // Installed by the address dialog, so that the parsers need no user interface.
    static TMailAddressEditor Editor;
};

// An owned list of addresses.
class ZevAddressList : public TPersistent {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError "List index out of bounds (N)" for a bad index.
    ZevMailAddress* Items(int Index) const;
    // Appends a new empty address and returns it.
    ZevMailAddress* Add();
    ZevMailAddress* Add(const std::string& Name, const std::string& Address);
    void Clear();
    // A deep copy of another ZevAddressList.
    void Assign(const TPersistent* Source) override;

private:
    std::vector<std::unique_ptr<ZevMailAddress>> FItems;
};

// Splits "Name <address>", "address (Name)", "(Name) address" or a bare address into Address
// (nullptr: nothing). Quoted strings and comments are read as units, so a "<" or an "@" inside
// them never makes an address: the address is in the first "<...>" outside them, else the first
// word with an "@" (other words being the name), else all the words. The name keeps its
// backslashes and inner quotes. Without a closing ">", the address is empty and the whole text
// is the name. Never raises.
void ParseMailAddress(const std::string& Text, ZevMailAddress* Address);
void SplitMailAddress(const std::string& Text, std::string& EmailAddress, std::string& DisplayName);

// Reads "[Day,] D Mon YYYY [hh:mm[:ss]] [zone]" and its common sloppy forms (two- or three-digit
// years, no seconds, no weekday, "-" between the date parts). DateTime is the local reading
// (the zone is not applied; before 1899-12-30 the time counts away from zero, as TDateTime
// does) and Zone the rest after the time, in upper case. Anything that is
// not such a date gives 0 and an empty zone; a time that does not read gives midnight. Never
// raises.
void ParseMailDate(const std::string& Text, TDateTime& DateTime, std::string& Zone);
