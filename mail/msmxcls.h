// mail/msmxcls.h: the companions of the MX resolver: the DNS header flags, the MX answers and
// their list, and the routines that write an MX query and read its reply.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <memory>
#include <string>
#include <vector>

class TStrings;

// Response codes a caller tells apart; only dnsNXDomain says that a domain does not exist.
enum : int {
    dnsFormErr = 1,
    dnsServFail = 2,
    dnsNXDomain = 3,
    dnsNotImp = 4,
    dnsRefused = 5,
};

// The flags word of a DNS header, in host order.
class TQuerySpec : public TObject {
public:
    explicit TQuerySpec(Word AFlags = 0) : Flags(AFlags) {}

    bool QR() const { return Bit(15); }
    void SetQR(bool Value) { SetBit(15, Value); }
    int OPCODE() const { return (Flags >> 11) & 0x0F; }
    void SetOPCODE(int Value);
    bool AA() const { return Bit(10); }
    void SetAA(bool Value) { SetBit(10, Value); }
    bool TC() const { return Bit(9); }
    void SetTC(bool Value) { SetBit(9, Value); }
    bool RD() const { return Bit(8); }
    void SetRD(bool Value) { SetBit(8, Value); }
    bool RA() const { return Bit(7); }
    void SetRA(bool Value) { SetBit(7, Value); }
    int RCODE() const { return Flags & 0x0F; }
    void SetRCODE(int Value);

    Word Flags;

private:
    bool Bit(int N) const { return (Flags >> N) & 1; }
    void SetBit(int N, bool Value);
};

// One MX answer.
class TMXRec : public TObject {
public:
    Word Preference = 0;
    // The mail host in dotted form with a trailing "." ("." for the root).
    std::string Exchange;
};

// The MX answers of one look-up; owns its records.
class TMXList : public TPersistent {
public:
    TMXList();
    ~TMXList() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    TMXRec* Items(int Index) const;
    void Clear();
    // Takes Item over; its index.
    int Add(std::unique_ptr<TMXRec> Item);
    // Ascending by Preference; equal preferences keep the order of the answers.
    void Sort();

private:
    std::vector<std::unique_ptr<TMXRec>> FItems;
};

namespace msmxcls {

constexpr std::size_t HeaderSize = 12;
// The flags of a query: a standard query with recursion desired.
constexpr Word QueryFlags = 0x0100;
constexpr Word TypeMX = 15;
constexpr Word ClassIN = 1;
// Compression pointers followed while reading one name; real messages need a handful.
constexpr int MaxPointerHops = 32;

// Domain in wire form: length-prefixed labels and a zero byte. One trailing "." is dropped.
// An empty name, an empty label, a label over 63 bytes or a wire form over 255 bytes raise
// EResolverError.
std::string EncodeDomainName(const std::string& Domain);
// The dotted form of a wire-form name, each label followed by "." ("." for the root).
std::string DottedName(const std::string& WireName);

// The MX query datagram for WireName with identifier Id.
std::string BuildMXQuery(Word Id, const std::string& WireName);

// Reads Reply as the answer to the MX query (Id, WireName). False when it answers something
// else (too short for a header, another identifier, another question): the caller ignores it
// and goes on waiting. Otherwise the MX answers are added to List, sorted, and the result is
// true; a reply that is not a response, carries a response code or is malformed raises
// EResolverError (with RCode for the response code), List keeping the answers read so far.
// A truncated reply (TC) yields the answers that arrived whole. Log, when given, receives the
// lines the resolver logs.
bool ParseMXReply(const std::string& Reply, Word Id, const std::string& WireName, TMXList& List,
                  TStrings* Log = nullptr);

} // namespace msmxcls
