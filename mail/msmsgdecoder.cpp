// mail/msmsgdecoder.cpp: the message decoder: the header block, the MIME structure, the
// transfer decodings of the parts and uuencoded files.
#include "mail/msmsgdecoder.h"

#include "mail/mailerrors.h"
#include "mail/msmime.h"
#include "mail/msmsg.h"
#include "mail/msutils.h"
#include "mail/msuucode.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"

#include <memory>
#include <vector>

namespace {

bool Contains(const std::string& Text, const std::string& Sub)
{
    return Text.find(Sub) != std::string::npos;
}

// Whether the quoted-printable coder reads Line as ending in a soft break.
bool EndsWithSoftBreak(const std::string& Line)
{
    std::size_t I = 0;
    while (I < Line.size()) {
        if (Line[I] != '=') {
            ++I;
            continue;
        }
        if (Line.find_first_not_of(" \t", I + 1) == std::string::npos)
            return true;
        const bool Escape = I + 2 < Line.size() && HexDigitValue(Line[I + 1]) >= 0 &&
                            HexDigitValue(Line[I + 2]) >= 0;
        I += Escape ? 3 : 1;
    }
    return false;
}

std::string QPDecodeLines(const std::vector<std::string>& Lines)
{
    TStringList List;
    for (const std::string& Line : Lines)
        List.Add(Line);
    TStringStream Stream;
    TQuotedPrintable(&Stream, &List).Decode();
    return Stream.DataString();
}

std::string JoinLines(const std::vector<std::string>& Lines)
{
    std::string Result;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (I > 0)
            Result += "\r\n";
        Result += Lines[I];
    }
    return Result;
}

// The bytes of base64 text split over lines.
std::string Base64DecodeLines(const std::vector<std::string>& Lines)
{
    std::string Text;
    for (const std::string& Line : Lines)
        Text += Line;
    return Base64Decode(Text);
}

// The bytes of uuencoded lines; begin and end lines are passed over.
std::string UUDecodeLines(const std::vector<std::string>& Lines)
{
    std::string Bytes;
    for (const std::string& Line : Lines) {
        const std::string Trimmed = Trim(Line);
        if (!IsUUBegin(Line) && Trimmed != "`" && !SameText(Trimmed, "end"))
            Bytes += UUDecodeLine(Line);
    }
    return Bytes;
}

// The bytes of a part's lines: Encoding is its transfer encoding in lower case, TransferEncoding
// the attachment's; unencoded lines are joined by line ends.
std::string DecodePartLines(const std::vector<std::string>& Lines, const std::string& Encoding,
                            Byte TransferEncoding)
{
    if (Encoding.starts_with("x-uue"))
        return UUDecodeLines(Lines);
    if (TransferEncoding == teBase64)
        return Base64DecodeLines(Lines);
    if (TransferEncoding == teQuotedPrintable)
        return QPDecodeLines(Lines);
    return JoinLines(Lines);
}

// An attachment for a part of type ContentType, named by its type's or its disposition's name
// in Headers, else Fallback; Encoding is the part's transfer encoding in lower case.
std::unique_ptr<ZevAttItem> NewAttachment(const std::string& ContentType, const ZevHeaders& Headers,
                                          const std::string& Fallback, const std::string& Encoding)
{
    auto Item = std::make_unique<ZevAttItem>();
    const std::string MediaType = FirstWord(ContentType);
    Item->ContentType = MediaType;
    Item->SetFileName(DecodeHeaderWords(GetParamValue("name", ContentType)));
    if (Item->FileName().empty())
        Item->SetFileName(GetParamValue("filename", Headers.GetFieldValue("Content-Disposition")));
    if (Item->FileName().empty()) {
        Item->SetFileName(Fallback);
        Item->ContentType = MediaType;
    }
    // The part's own encoding decides how its lines decode, whatever the name suggests.
    Item->TransferEncoding = Encoding == "base64" || Encoding.starts_with("x-uue") ? teBase64
                             : Encoding == "quoted-printable" ? teQuotedPrintable
                                                              : teNone;
    return Item;
}

} // namespace

ZevCustomDecoder::ZevCustomDecoder(TStream* AStream)
{
    Source.LoadFromStream(AStream);
}

ZevCustomDecoder::~ZevCustomDecoder() = default;

void ZevCustomDecoder::Decode()
{
    Source.Reset();
    try {
        ReadHeaderBlock(MessageHeaders);
        ReadHeaders();
        if (Contains(MessageHeaders.GetFieldValue("MIME-Version"), "1.0"))
            DecodeMIME();
        else
            DecodePlain();
    } catch (const EMessageParserError& E) {
        ReportError(E.Message());
    }
    TStrings* Body = Target->Body();
    if (Body->Count() > 0 && Body->Get(Body->Count() - 1) == ".")
        Body->Delete(Body->Count() - 1);
}

void ZevCustomDecoder::ReportError(const std::string& Text)
{
    TStrings* Body = Target->Body();
    Body->Add("The following error has been occured while processing the message:");
    Body->Add(Text);
    Body->Add("The original message will be stored as an attachment");
    try {
        auto Item = std::make_unique<ZevAttItem>();
        Item->SetFileName("original.eml");
        Item->ContentType = "message/rfc822";
        Item->TransferEncoding = teNone;
        SetAttachmentData(Item.get(), MemoryText(&Source));
        Target->Attachments()->Add(std::move(Item));
    } catch (const Exception&) {
    }
}

void ZevCustomDecoder::ReadHeaderBlock(ZevHeaders& Headers)
{
    Headers.Clear();
    std::string Line;
    while (Source.ReadLine(Line) && !Line.empty())
        Headers.Add(Line);
}

ZevCustomDecoder::TLineKind ZevCustomDecoder::ReadPartLine(std::string& Line)
{
    if (!Source.ReadLine(Line))
        return lkEnd;
    // A delimiter line is the boundary, "--" when it closes, and blanks a transport may add.
    if (!Line.starts_with(Boundary))
        return lkData;
    std::size_t Rest = Boundary.size();
    const bool Close = Line.compare(Rest, 2, "--") == 0;
    if (Close)
        Rest += 2;
    if (Line.find_first_not_of(" \t", Rest) != std::string::npos)
        return lkData;
    return Close ? lkClose : lkSeparator;
}

ZevCustomDecoder::TLineKind ZevCustomDecoder::SkipToBoundary()
{
    std::string Line;
    for (;;) {
        const TLineKind Kind = ReadPartLine(Line);
        if (Kind != lkData)
            return Kind;
    }
}

void ZevCustomDecoder::DecodeMIME()
{
    std::string ContentType = MessageHeaders.GetFieldValue("Content-Type");
    if (MessageHeaders.GetFieldValue("X-Mailer") == "V Mailsystem R #0001") {
        MessageHeaders.DeleteField("Content-Type");
        ContentType.clear();
    }
    const std::string Lower = LowerCase(ContentType);
    if (Contains(Lower, "multipart/alternative")) {
        AlternativeTop = true;
        DecodeMultipart(ContentType);
    } else if (Contains(Lower, "multipart")) {
        DecodeMultipart(ContentType);
    } else if (!ContentType.empty() && !Contains(Lower, "text/")) {
        DecodeSinglePart(ContentType);
    } else {
        const std::string Name = GetParamValue("name", ContentType);
        if (!Name.empty() && Name != "cc:Mail")
            DecodeSinglePart(ContentType);
        else
            DecodeText(ContentType);
    }
}

void ZevCustomDecoder::DecodeMultipart(const std::string& ContentType)
{
    const std::string Param = GetParamValue("Boundary", ContentType);
    if (Param.empty())
        throw EMessageParserError(MailText(59110));
    Boundary = "--" + Param;
    // Past the preamble to the first delimiter of Boundary, and the headers of its part.
    TLineKind Last;
    auto EnterFirstPart = [&] {
        do
            Last = SkipToBoundary();
        while (Last == lkClose);
        if (Last == lkEnd)
            throw EMessageParserError(MailText(59110));
        ReadHeaderBlock(PartHeaders);
        const std::string PartType = PartHeaders.GetFieldValue("Content-Type");
        if (SameText(GetParamValue("charset", PartType), "iso-2022-jp"))
            Target->SetCharSet(csISO2022jp);
    };
    EnterFirstPart();
    const std::string FirstType = PartHeaders.GetFieldValue("Content-Type");
    if (Contains(LowerCase(FirstType), "multipart/alternative")) {
        const std::string Inner = GetParamValue("boundary", FirstType);
        if (Inner.empty())
            throw EMessageParserError(MailText(59110));
        InAlternative = true;
        OuterBoundary = Boundary;
        Boundary = "--" + Inner;
        EnterFirstPart();
    }

    // Leaves an alternative group that has ended for the outer parts.
    auto LeaveAlternative = [&] {
        InAlternative = false;
        Boundary = OuterBoundary;
        Last = SkipToBoundary();
        if (Last == lkEnd)
            throw EMessageParserError(MailText(59109));
    };

    // PartHeaders belong to the part still to be decoded until it is.
    bool HeadersPending = true;
    const std::string TextType = LowerCase(FirstWord(PartHeaders.GetFieldValue("Content-Type")));
    if (TextType.empty() || TextType.starts_with("text/")) {
        Last = DecodeTextPart();
        HeadersPending = false;
        if (Last == lkEnd)
            throw EMessageParserError(MailText(59110));
        if (Last == lkClose) {
            if (!InAlternative) {
                Target->SetContentType(TextType.empty() ? "text/plain" : TextType);
                return;
            }
            LeaveAlternative();
        }
    }
    while (Last == lkSeparator) {
        PumpMessages();
        if (!HeadersPending)
            ReadHeaderBlock(PartHeaders);
        HeadersPending = false;
        Last = DecodeAttachmentPart();
        if (Last != lkSeparator && InAlternative)
            LeaveAlternative();
    }
}

ZevCustomDecoder::TLineKind ZevCustomDecoder::DecodeTextPart()
{
    const std::string Encoding =
        LowerCase(Trim(PartHeaders.GetFieldValue("Content-Transfer-Encoding")));
    TStrings* Body = Target->Body();
    Body->Clear();
    if (Encoding == "quoted-printable")
        Target->SetCharSet(csISO8859);
    std::vector<std::string> Lines;
    std::string Line;
    TLineKind Kind;
    while ((Kind = ReadPartLine(Line)) == lkData)
        Lines.push_back(Line);
    // The line end before a delimiter belongs to the delimiter.
    if (Kind != lkEnd && !Lines.empty() && Lines.back().empty())
        Lines.pop_back();
    if (Encoding == "base64") {
        Body->SetText(Base64DecodeLines(Lines));
    } else if (Encoding == "quoted-printable") {
        Body->SetText(QPDecodeLines(Lines));
    } else {
        AssignLines(Body, Lines);
    }
    return Kind;
}

ZevCustomDecoder::TLineKind ZevCustomDecoder::DecodeAttachmentPart()
{
    std::string Type = PartHeaders.GetFieldValue("Content-Type");
    if (Type.empty())
        Type = "text/plain";
    const std::string Encoding =
        LowerCase(Trim(PartHeaders.GetFieldValue("Content-Transfer-Encoding")));
    try {
        const bool Alternative = InAlternative || AlternativeTop;
        auto Item = NewAttachment(Type, PartHeaders,
                                  (Alternative ? "_alt." : "att.") +
                                      std::to_string(Target->Attachments()->Count()),
                                  Encoding);
        std::vector<std::string> Lines;
        std::string Line;
        TLineKind Kind;
        while ((Kind = ReadPartLine(Line)) == lkData)
            Lines.push_back(Line);
        std::string Bytes = DecodePartLines(Lines, Encoding, Item->TransferEncoding);
        if (Item->TransferEncoding == teQuotedPrintable) {
            if (Kind != lkEnd && !Lines.empty() && !EndsWithSoftBreak(Lines.back()) &&
                (Lines.back().empty() || Lines.back().back() != '\x1A') && Bytes.size() >= 2)
                Bytes.resize(Bytes.size() - 2);
        } else if (Item->TransferEncoding == teNone) {
            if (Kind == lkEnd && !Lines.empty())
                Bytes += "\r\n";
        }
        SetAttachmentData(Item.get(), Bytes);
        Target->Attachments()->Add(std::move(Item));
        return Kind;
    } catch (const EMessageParserError&) {
        throw;
    } catch (const Exception&) {
        throw EMessageParserError(MailText(59111));
    }
}

void ZevCustomDecoder::DecodeSinglePart(const std::string& ContentType)
{
    if (ContentType.empty())
        throw EMessageParserError(MailText(59108));
    const std::string Encoding =
        LowerCase(Trim(MessageHeaders.GetFieldValue("Content-Transfer-Encoding")));
    auto Item = NewAttachment(ContentType, MessageHeaders,
                              "att." + std::to_string(Target->Attachments()->Count()), Encoding);
    std::vector<std::string> Lines;
    std::string Line;
    while (Source.ReadLine(Line)) {
        if (Item->TransferEncoding == teBase64 && Line == ".")
            break;
        Lines.push_back(Line);
    }
    std::string Bytes = DecodePartLines(Lines, Encoding, Item->TransferEncoding);
    if (Item->TransferEncoding == teQuotedPrintable) {
        if (!Source.LineEnded && !Lines.empty() && !EndsWithSoftBreak(Lines.back()) &&
            Bytes.size() >= 2 && Bytes.compare(Bytes.size() - 2, 2, "\r\n") == 0)
            Bytes.resize(Bytes.size() - 2);
    } else if (Item->TransferEncoding == teNone) {
        if (Source.LineEnded && !Lines.empty())
            Bytes += "\r\n";
    }
    SetAttachmentData(Item.get(), Bytes);
    Target->Attachments()->Add(std::move(Item));
}

void ZevCustomDecoder::DecodeText(const std::string& ContentType)
{
    const std::string MediaType = LowerCase(FirstWord(ContentType));
    if (MediaType == "text/html" || MediaType == "text/rtf")
        Target->SetContentType(MediaType);
    TStrings* Body = Target->Body();
    Body->Clear();
    const std::string Encoding =
        LowerCase(Trim(MessageHeaders.GetFieldValue("Content-Transfer-Encoding")));
    // "from quoted-printable to 8bit" means the text is no longer quoted-printable.
    const bool QP = Encoding == "quoted-printable" ||
                    (Encoding.empty() &&
                     Contains(LowerCase(MessageHeaders.GetFieldValue("X-MIME-Autoconverted")),
                              "to quoted-printable"));
    const bool Base64 = Encoding == "base64";
    if (SameText(GetParamValue("charset", ContentType), "iso-2022-jp"))
        Target->SetCharSet(csISO2022jp);
    if (QP)
        Target->SetCharSet(csISO8859);

    std::string Line;
    if (Base64) {
        std::string Text;
        while (Source.ReadLine(Line))
            if (!Line.empty() && Line != ".")
                Text += Line;
        Body->SetText(Base64Decode(Text));
        return;
    }
    std::vector<std::string> Lines;
    while (Source.ReadLine(Line)) {
        if (IsUUBegin(Line)) {
            // A uuencoded file in a MIME text body: read the message again as plain text.
            Source.Reset();
            Body->Clear();
            ReadHeaderBlock(MessageHeaders);
            ReadHeaders();
            MessageHeaders.DeleteField("MIME-VERSION");
            MessageHeaders.DeleteField("CONTENT-TYPE");
            MessageHeaders.DeleteField("CONTENT-TRANSFER-ENCODING");
            DecodePlain();
            return;
        }
        Lines.push_back(Line);
    }
    if (QP)
        Body->SetText(QPDecodeLines(Lines));
    else
        AssignLines(Body, Lines);
}

void ZevCustomDecoder::DecodePlain()
{
    TStrings* Body = Target->Body();
    std::string Line;
    bool Begin = false;
    while (Source.ReadLine(Line)) {
        if (IsUUBegin(Line)) {
            Begin = true;
            break;
        }
        Body->Add(Line);
    }
    if (!Begin)
        return;
    Target->SetEncoding(meUU);
    // The blank line that sets a file apart from the text before it.
    if (Body->Count() > 0 && Body->Get(Body->Count() - 1).empty())
        Body->Delete(Body->Count() - 1);
    while (Begin) {
        try {
            auto Item = std::make_unique<ZevAttItem>();
            std::string Name = UUFileName(Line);
            if (Name.empty())
                Name = "att." + std::to_string(Target->Attachments()->Count());
            Item->SetFileName(Name);
            std::string Bytes;
            while (Source.ReadLine(Line)) {
                const std::string Trimmed = Trim(Line);
                if (Trimmed == "`" || SameText(Trimmed, "end"))
                    break;
                Bytes += UUDecodeLine(Line);
            }
            SetAttachmentData(Item.get(), Bytes);
            Target->Attachments()->Add(std::move(Item));
        } catch (const Exception&) {
            throw EMessageParserError(MailText(59111));
        }
        Begin = false;
        while (Source.ReadLine(Line))
            if (IsUUBegin(Line)) {
                Begin = true;
                break;
            }
    }
}

void ZevMessageDecoder::ReadHeaders()
{
    Target->ReadHeaders(&MessageHeaders);
}

void ZevArticleDecoder::ReadHeaders()
{
    Target->ReadHeaders(&MessageHeaders);
}
