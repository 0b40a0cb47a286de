// mail/msmsg.cpp: the message model.
#include "mail/msmsg.h"

#include "mail/mailerrors.h"
#include "mail/msutils.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"

namespace {

// The name part of an attachment's file name, lower-cased; names from other systems may use
// either folder delimiter.
std::string BaseNameLower(const std::string& FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\");
    return LowerCase(Slash == std::string::npos ? FileName : FileName.substr(Slash + 1));
}

std::string WithCounter(const std::string& Name, int Counter)
{
    if (Counter == 1)
        return Name;
    const std::string Extension = ExtractFileExt(Name);
    return Name.substr(0, Name.size() - Extension.size()) + " (" + IntToStr(Counter) + ")" +
           Extension;
}

std::string DataOf(const ZevAttItem* Item)
{
    TMemoryStream* Data = Item->Data();
    return std::string(static_cast<const char*>(Data->Memory()),
                       static_cast<std::size_t>(Data->Size()));
}

void ParseAddressList(const ZevHeaders* Headers, const std::string& Name, ZevAddressList* List)
{
    TStringList Items;
    Headers->GetFieldList(Name, &Items);
    for (int I = 0; I < Items.Count(); ++I)
        ParseMailAddress(Items.Get(I), List->Add());
}

bool HasAddress(const ZevAddressList* List)
{
    for (int I = 0; I < List->Count(); ++I)
        if (!List->Items(I)->Address.empty())
            return true;
    return false;
}

} // namespace

// ZevCustomMessage

ZevCustomMessage::ZevCustomMessage(TComponent* AOwner)
    : TComponent(AOwner), FAttachments(std::make_unique<ZevAttList>()),
      FSender(std::make_unique<ZevMailAddress>()), FHeaders(std::make_unique<ZevHeaders>()),
      FBody(std::make_unique<TStringList>())
{
}

ZevCustomMessage::~ZevCustomMessage() = default;

void ZevCustomMessage::SetAttachments(const ZevAttList* Value)
{
    FAttachments->Assign(Value);
    FContentType = FAttachments->Count() == 0 ? "text/plain" : "multipart/mixed";
}

std::string ZevCustomMessage::ContentType() const
{
    if (FEncoding == meUU) {
        FContentType.clear();
        return "";
    }
    const int Count = FAttachments->Count();
    if (Count > 0) {
        bool AllAlternatives = true;
        for (int I = 0; I < Count && AllAlternatives; ++I)
            AllAlternatives =
                BaseNameLower(FAttachments->Items(I)->FileName()).rfind("_alt.", 0) == 0;
        if (AllAlternatives)
            return "multipart/alternative";
    }
    if (Count == 1 && FBody->Count() == 0) {
        const std::string Name = BaseNameLower(FAttachments->Items(0)->FileName());
        if (Name == "_rtfbody.rtf")
            return FContentType = "text/rtf";
        if (Name == "_htmbody.htm")
            return FContentType = "text/html";
    }
    if (FBody->Count() > 0) {
        if (Count > 0)
            return FContentType = "multipart/mixed";
        return FContentType.empty() ? "text/plain" : FContentType;
    }
    if (Count == 1)
        return FAttachments->Items(0)->ContentType;
    return Count == 0 ? "text/plain" : "multipart/mixed";
}

void ZevCustomMessage::SetContentType(const std::string& Value)
{
    FContentType = LowerCase(Value);
}

void ZevCustomMessage::SetHeaders(const ZevHeaders* Value)
{
    FHeaders->Assign(Value);
}

void ZevCustomMessage::SetBody(const TStrings* Value)
{
    FBody->Assign(Value);
}

void ZevCustomMessage::Validate()
{
    if (FSender->Address.empty())
        throw EMessageError(MailText(59100));
}

void ZevCustomMessage::Clear()
{
    FBody->Clear();
    FAttachments->Clear();
    FSender->Clear();
    FHeaders->Clear();
    FSubject.clear();
    FContentType.clear();
    FEncoding = meMIME;
    FCharSet = csUSASCII;
}

void ZevCustomMessage::LoadFromFile(const std::string& FileName)
{
    Clear();
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

std::vector<std::string> ZevCustomMessage::SaveAttachments(const std::string& Folder) const
{
    constexpr int MaxCounter = 1000;
    std::vector<std::string> Written;
    for (int I = 0; I < FAttachments->Count(); ++I) {
        const ZevAttItem* Item = FAttachments->Items(I);
        std::string Name = SafeAttachmentName(Item->FileName());
        if (Name.empty())
            Name = "att." + IntToStr(I);
        // Written whole under a hidden name first, then renamed to a name nobody has taken.
        std::string Temporary;
        for (int Counter = 0; Temporary.empty() || FileExists(Temporary); ++Counter)
            Temporary = PathJoin(Folder, ".att-" + IntToStr(I) + "-" + IntToStr(Counter) + ".tmp");
        AtomicWriteFile(Temporary, DataOf(Item));
        std::string Target;
        for (int Counter = 1; Target.empty(); ++Counter) {
            const std::string Candidate = PathJoin(Folder, WithCounter(Name, Counter));
            if (RenameFile(Temporary, Candidate))
                Target = Candidate;
            else if (Counter == MaxCounter) {
                DeleteFile(Temporary);
                throw EFCreateError("Cannot create file \"" + PathJoin(Folder, Name) + "\".");
            }
        }
        Written.push_back(Target);
    }
    return Written;
}

void ZevCustomMessage::Loaded()
{
    TComponent::Loaded();
    if (ComponentState().Contains(csDesigning))
        return;
    for (int I = 0; I < FAttachments->Count(); ++I) {
        ZevAttItem* Item = FAttachments->Items(I);
        if (!Item->FileName().empty())
            Item->Data()->LoadFromFile(Item->FileName());
    }
}

// ZevMessage

ZevMessage::ZevMessage(TComponent* AOwner)
    : ZevCustomMessage(AOwner), FRecipients(std::make_unique<ZevAddressList>()),
      FCC(std::make_unique<ZevAddressList>()), FBCC(std::make_unique<ZevAddressList>())
{
}

ZevMessage::~ZevMessage() = default;

void ZevMessage::Validate()
{
    ZevCustomMessage::Validate();
    if (!HasAddress(FRecipients.get()) && !HasAddress(FCC.get()) && !HasAddress(FBCC.get()))
        throw EMessageError(MailText(59101));
}

void ZevMessage::SaveToStream(TStream* Stream)
{
    ZevMessageEncoder Encoder(this);
    Encoder.Output = Stream;
    Encoder.Encode();
}

void ZevMessage::LoadFromStream(TStream* Stream)
{
    Clear();
    ZevMessageDecoder Decoder(Stream);
    Decoder.Target = this;
    Decoder.Decode();
}

void ZevMessage::Clear()
{
    ZevCustomMessage::Clear();
    FRecipients->Clear();
    FCC->Clear();
    FBCC->Clear();
    FReturnReceipt = false;
    FPriority = ptNormal;
}

void ZevMessage::ReadHeaders(ZevHeaders* AHeaders)
{
    ParseMailAddress(AHeaders->GetFieldValue("From"), Sender());
    // The decoder may read the header block twice (a uuencoded file in a MIME text body).
    FRecipients->Clear();
    FCC->Clear();
    FBCC->Clear();
    ParseAddressList(AHeaders, "TO", FRecipients.get());
    ParseAddressList(AHeaders, "CC", FCC.get());
    ParseAddressList(AHeaders, "BCC", FBCC.get());
    const std::string Subject = AHeaders->GetFieldValue("Subject");
    if (!Subject.empty())
        SetSubject(Subject);
    // "1 (Highest)" is as common as a bare "1".
    const std::string Priority = GetToken(AHeaders->GetFieldValue("X-Priority"), 0, true);
    FPriority = Priority == "1" ? ptHigh : Priority == "5" ? ptLow : ptNormal;
    if (!AHeaders->GetFieldValue("Return-receipt-to").empty())
        FReturnReceipt = true;
    SetHeaders(AHeaders);
}

// ZevArticle

void ZevArticle::Validate()
{
    ZevCustomMessage::Validate();
    if (FNewsGroups.empty())
        throw EMessageError(MailText(59115));
    if (Subject().empty())
        throw EMessageError(MailText(59116));
}

void ZevArticle::SaveToStream(TStream* Stream)
{
    ZevArticleEncoder Encoder(this);
    Encoder.Output = Stream;
    Encoder.Encode();
}

void ZevArticle::LoadFromStream(TStream* Stream)
{
    Clear();
    ZevArticleDecoder Decoder(Stream);
    Decoder.Target = this;
    Decoder.Decode();
}

void ZevArticle::Clear()
{
    ZevCustomMessage::Clear();
    FNewsGroups.clear();
    MessageID.clear();
    Path.clear();
}

void ZevArticle::ReadHeaders(ZevHeaders* AHeaders)
{
    ParseMailAddress(AHeaders->GetFieldValue("From"), Sender());
    Path = AHeaders->GetFieldValue("PATH");
    FNewsGroups = AHeaders->GetFieldValue("NEWSGROUPS");
    MessageID = AHeaders->GetFieldValue("MESSAGE-ID");
    const std::string Subject = AHeaders->GetFieldValue("Subject");
    if (!Subject.empty())
        SetSubject(Subject);
    SetHeaders(AHeaders);
}
