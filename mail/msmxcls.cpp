#include "mail/msmxcls.h"

#include "mail/mailerrors.h"
#include "platform/rtl/stringlist.h"

#include <algorithm>

namespace {

constexpr std::size_t MaxLabel = 63;
constexpr std::size_t MaxWireName = 255;

enum : int {
    sidInterpretFailed = 59017,
    sidServerFailure = 59018,
    sidNameMissing = 59019,
    sidNotImplemented = 59020,
    sidRefused = 59021,
};

[[noreturn]] void RaiseInvalidReply()
{
    throw EResolverError(MailText(sidInvalidReply));
}

std::string ResponseCodeText(int RCode)
{
    if (RCode >= dnsFormErr && RCode <= dnsRefused)
        return MailText(sidInterpretFailed + RCode - dnsFormErr);
    return "Domain server Error #" + std::to_string(RCode);
}

char FoldAscii(char C)
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

// Label bytes compare without regard to ASCII case; length bytes (below 64) are not letters.
bool SameName(const std::string& A, const std::string& B)
{
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return FoldAscii(X) == FoldAscii(Y);
           });
}

// Bounded reading of a received datagram: every read checks the end first.
class TReader {
public:
    explicit TReader(const std::string& Data) : FData(Data) {}

    std::size_t Pos = 0;

    bool Word16(Word& Value)
    {
        if (FData.size() - Pos < 2)
            return false;
        Value = static_cast<Word>(ByteAt(Pos) << 8 | ByteAt(Pos + 1));
        Pos += 2;
        return true;
    }
    bool Skip(std::size_t Count)
    {
        if (FData.size() - Pos < Count)
            return false;
        Pos += Count;
        return true;
    }
    // A name, compression pointers followed, into Wire (uncompressed wire form). Pointers must
    // point back before themselves and past the header, at most MaxPointerHops of them; the
    // name may not exceed 255 bytes. Pos moves past the name as it stands in place.
    bool Name(std::string& Wire)
    {
        Wire.clear();
        std::size_t At = Pos;
        bool Jumped = false;
        int Hops = 0;
        for (;;) {
            if (At >= FData.size())
                return false;
            const Byte Length = ByteAt(At);
            if ((Length & 0xC0) == 0xC0) {
                if (At + 1 >= FData.size())
                    return false;
                const std::size_t Target = (Length & 0x3Fu) << 8 | ByteAt(At + 1);
                if (!Jumped)
                    Pos = At + 2;
                Jumped = true;
                if (Target < msmxcls::HeaderSize || Target >= At ||
                    ++Hops > msmxcls::MaxPointerHops)
                    return false;
                At = Target;
                continue;
            }
            if (Length & 0xC0) // label types other than plain labels are not in use
                return false;
            if (Length == 0) {
                Wire += '\0';
                if (!Jumped)
                    Pos = At + 1;
                return true;
            }
            if (FData.size() - At - 1 < Length || Wire.size() + 1 + Length >= MaxWireName)
                return false;
            Wire.append(FData, At, 1 + Length);
            At += 1 + Length;
        }
    }

private:
    Byte ByteAt(std::size_t At) const { return static_cast<Byte>(FData[At]); }

    const std::string& FData;
};

// The answer section after the question: MX records into List, other records skipped.
void ParseAnswers(TReader& In, Word Count, bool Truncated, TMXList& List)
{
    for (Word I = 0; I < Count; ++I) {
        std::string Owner;
        Word Type = 0, Class = 0, Length = 0;
        bool Whole = In.Name(Owner) && In.Word16(Type) && In.Word16(Class) && In.Skip(4) &&
                     In.Word16(Length) && In.Skip(Length);
        std::unique_ptr<TMXRec> Rec;
        if (Whole && Type == msmxcls::TypeMX) {
            const std::size_t End = In.Pos;
            In.Pos -= Length;
            Rec = std::make_unique<TMXRec>();
            std::string Exchange;
            Whole = In.Word16(Rec->Preference) && In.Name(Exchange) && In.Pos == End;
            Rec->Exchange = msmxcls::DottedName(Exchange);
            In.Pos = End;
        }
        if (!Whole) {
            // What a truncated reply holds in full is still an answer.
            if (Truncated)
                return;
            RaiseInvalidReply();
        }
        if (Rec)
            List.Add(std::move(Rec));
    }
}

} // namespace

// TQuerySpec

void TQuerySpec::SetOPCODE(int Value)
{
    Flags = static_cast<Word>((Flags & ~(0x0F << 11)) | ((Value & 0x0F) << 11));
}

void TQuerySpec::SetRCODE(int Value)
{
    Flags = static_cast<Word>((Flags & ~0x0F) | (Value & 0x0F));
}

void TQuerySpec::SetBit(int N, bool Value)
{
    Flags = static_cast<Word>(Value ? Flags | (1 << N) : Flags & ~(1 << N));
}

// TMXList

TMXList::TMXList() = default;
TMXList::~TMXList() = default;

TMXRec* TMXList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TMXList::Clear()
{
    FItems.clear();
}

int TMXList::Add(std::unique_ptr<TMXRec> Item)
{
    FItems.push_back(std::move(Item));
    return Count() - 1;
}

void TMXList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const std::unique_ptr<TMXRec>& A, const std::unique_ptr<TMXRec>& B) {
                         return A->Preference < B->Preference;
                     });
}

// Packets

namespace msmxcls {

std::string EncodeDomainName(const std::string& Domain)
{
    std::string Name = Domain;
    if (!Name.empty() && Name.back() == '.')
        Name.pop_back();
    std::string Wire;
    bool Valid = !Name.empty();
    std::size_t Start = 0;
    while (Valid) {
        const std::size_t Dot = std::min(Name.find('.', Start), Name.size());
        const std::size_t Length = Dot - Start;
        Valid = Length >= 1 && Length <= MaxLabel;
        Wire += static_cast<char>(Length);
        Wire.append(Name, Start, Length);
        if (Dot == Name.size())
            break;
        Start = Dot + 1;
    }
    Wire += '\0';
    if (!Valid || Wire.size() > MaxWireName)
        throw EResolverError("Invalid domain name \"" + Domain + "\"");
    return Wire;
}

std::string DottedName(const std::string& WireName)
{
    std::string Text;
    std::size_t At = 0;
    while (At < WireName.size() && WireName[At] != '\0') {
        const std::size_t Length = static_cast<Byte>(WireName[At]);
        Text.append(WireName, At + 1, Length);
        Text += '.';
        At += 1 + Length;
    }
    return Text.empty() ? "." : Text;
}

std::string BuildMXQuery(Word Id, const std::string& WireName)
{
    std::string Packet;
    Packet.reserve(HeaderSize + WireName.size() + 4);
    auto Put = [&Packet](Word Value) {
        Packet += static_cast<char>(Value >> 8);
        Packet += static_cast<char>(Value & 0xFF);
    };
    Put(Id);
    Put(QueryFlags);
    Put(1); // QDCOUNT
    Put(0);
    Put(0);
    Put(0);
    Packet += WireName;
    Put(TypeMX);
    Put(ClassIN);
    return Packet;
}

bool ParseMXReply(const std::string& Reply, Word Id, const std::string& WireName, TMXList& List,
                  TStrings* Log)
{
    TReader In(Reply);
    Word ReplyId = 0, Flags = 0, QdCount = 0, AnCount = 0;
    if (!In.Word16(ReplyId) || !In.Word16(Flags) || !In.Word16(QdCount) || !In.Word16(AnCount) ||
        !In.Skip(4) || ReplyId != Id)
        return false;
    const TQuerySpec Spec(Flags);

    // The question must be ours; a server may leave it out only when it reports an error.
    if (QdCount == 1) {
        std::string Name;
        Word Type = 0, Class = 0;
        if (!In.Name(Name) || !In.Word16(Type) || !In.Word16(Class) || Type != TypeMX ||
            Class != ClassIN || !SameName(Name, WireName))
            return false;
    } else if (QdCount != 0 || Spec.RCODE() == 0) {
        return false;
    }

    if (!Spec.QR())
        throw EResolverError(MailText(sidNotResponse));
    if (Log) {
        if (Spec.AA())
            Log->Add("Authoritative Answer");
        if (Spec.TC())
            Log->Add("Response truncated");
        if (Spec.RA())
            Log->Add("Recursion available");
    }
    if (Spec.RCODE() != 0) {
        if (Log)
            Log->Add("Error code " + std::to_string(Spec.RCODE()));
        throw EResolverError(ResponseCodeText(Spec.RCODE()), Spec.RCODE());
    }
    ParseAnswers(In, AnCount, Spec.TC(), List);
    List.Sort();
    return true;
}

} // namespace msmxcls
