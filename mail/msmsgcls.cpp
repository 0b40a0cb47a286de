// mail/msmsgcls.cpp: attachments, the line reader, the decoder and the encoder of messages.
#include "mail/msmsgcls.h"

#include "mail/mailerrors.h"
#include "mail/msmime.h"
#include "mail/msmsg.h"
#include "mail/msutils.h"
#include "mail/msuucode.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/ui/application.h"

#include <algorithm>

namespace {

void PumpMessages()
{
    if (Application != nullptr)
        Application->ProcessMessages();
}

std::string StreamText(TMemoryStream* Stream)
{
    return std::string(static_cast<const char*>(Stream->Memory()),
                       static_cast<std::size_t>(Stream->Size()));
}

void SetData(ZevAttItem* Item, const std::string& Bytes)
{
    Item->Data()->Clear();
    Item->Data()->WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
    Item->Data()->SetPosition(0);
}

bool Contains(const std::string& Text, const std::string& Sub)
{
    return Text.find(Sub) != std::string::npos;
}

bool StartsWith(const std::string& Text, const std::string& Prefix)
{
    return Text.compare(0, Prefix.size(), Prefix) == 0;
}

int HexValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    C = static_cast<char>(C & ~0x20);
    return C >= 'A' && C <= 'F' ? C - 'A' + 10 : -1;
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
        I +=
            I + 2 < Line.size() && HexValue(Line[I + 1]) >= 0 && HexValue(Line[I + 2]) >= 0 ? 3 : 1;
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
    if (StartsWith(Encoding, "x-uue"))
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
    Item->TransferEncoding = Encoding == "base64" || StartsWith(Encoding, "x-uue") ? teBase64
                             : Encoding == "quoted-printable" ? teQuotedPrintable
                                                              : teNone;
    return Item;
}

bool EndsWithLineEnd(const std::string& Data)
{
    return !Data.empty() && (Data.back() == '\r' || Data.back() == '\n');
}

// Attachment names in headers: no folders and no characters that would end the quoted value.
std::string HeaderFileName(const std::string& FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\");
    std::string Name = Slash == std::string::npos ? FileName : FileName.substr(Slash + 1);
    std::string Result;
    for (const char C : Name) {
        if (C == '"' || C == '\\')
            Result += '\\';
        if (static_cast<unsigned char>(C) >= 32)
            Result += C;
    }
    return Result;
}

// Source as a T to copy from, or nil when there is nothing to copy: Source is Self, or of
// another class, which is handed to the base class's Assign.
template <class T>
const T* AssignSource(T* Self, const TPersistent* Source)
{
    const auto* Typed = dynamic_cast<const T*>(Source);
    if (Typed == nullptr)
        Self->TPersistent::Assign(Source);
    return Typed == Self ? nullptr : Typed;
}

const char* TransferName(Byte Encoding)
{
    switch (Encoding) {
    case teNone:
        return "7 bit";
    case teQuotedPrintable:
        return "Quoted-Printable";
    default:
        return "Base64";
    }
}

} // namespace

std::string SafeAttachmentName(const std::string& FileName)
{
    const std::size_t Slash = FileName.find_last_of("/\\");
    const std::string Name = Slash == std::string::npos ? FileName : FileName.substr(Slash + 1);
    if (Name.empty() || Name == "." || Name == "..")
        return "";
    for (const char C : Name)
        if (static_cast<unsigned char>(C) < 32 || C == 127)
            return "";
    return Name;
}

// ZevAttItem

ZevAttItem::ZevAttItem() : FData(std::make_unique<TMemoryStream>()) {}

ZevAttItem::~ZevAttItem() = default;

void ZevAttItem::SetFileName(const std::string& Value)
{
    FFileName = Value;
    if (Value.empty())
        return;
    ContentType = GetMimeType(Value);
    const std::string Upper = UpperCase(ContentType);
    if (Upper == "TEXT/PLAIN" || Upper == "TEXT/RTF" || Upper == "TEXT/HTML")
        TransferEncoding = teQuotedPrintable;
    else if (Upper == "MESSAGE/RFC822")
        TransferEncoding = teNone;
    else
        TransferEncoding = teBase64;
}

void ZevAttItem::Assign(const TPersistent* Source)
{
    const ZevAttItem* Item = AssignSource(this, Source);
    if (Item == nullptr)
        return;
    SetData(this, StreamText(Item->Data()));
    ContentType = Item->ContentType;
    TransferEncoding = Item->TransferEncoding;
    FFileName = Item->FFileName;
}

// ZevAttList

ZevAttItem* ZevAttList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

ZevAttItem* ZevAttList::Add()
{
    return Add(std::make_unique<ZevAttItem>());
}

ZevAttItem* ZevAttList::Add(std::unique_ptr<ZevAttItem> Item)
{
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

void ZevAttList::Clear()
{
    FItems.clear();
}

void ZevAttList::Assign(const TPersistent* Source)
{
    const ZevAttList* List = AssignSource(this, Source);
    if (List == nullptr)
        return;
    std::vector<std::unique_ptr<ZevAttItem>> Copies;
    for (const auto& Item : List->FItems) {
        Copies.push_back(std::make_unique<ZevAttItem>());
        Copies.back()->Assign(Item.get());
    }
    FItems = std::move(Copies);
}

// TLineStream

void TLineStream::Reset()
{
    EndOfData = false;
    SetPosition(0);
}

bool TLineStream::ReadLine(std::string& Line)
{
    const std::size_t Size = FData.size();
    std::size_t Start = static_cast<std::size_t>(FPosition);
    if (Start >= Size) {
        EndOfData = true;
        Line.clear();
        return false;
    }
    std::size_t End = FData.find_first_of("\r\n", Start);
    if (End == std::string::npos)
        End = Size;
    Line.assign(FData, Start, End - Start);
    LineEnded = End < Size;
    if (End < Size && FData[End] == '\r') {
        ++End;
        if (End < Size && FData[End] == '\n')
            ++End;
    } else if (End < Size) {
        ++End;
    }
    FPosition = static_cast<int64_t>(End);
    return true;
}

// ZevCustomDecoder

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
        SetData(Item.get(), StreamText(&Source));
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
    if (!StartsWith(Line, Boundary))
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
    if (TextType.empty() || StartsWith(TextType, "text/")) {
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
        SetData(Item.get(), Bytes);
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
    SetData(Item.get(), Bytes);
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
            SetData(Item.get(), Bytes);
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

// ZevCustomEncoder

std::function<std::string()> ZevCustomEncoder::BoundarySource;

ZevCustomEncoder::ZevCustomEncoder(ZevCustomMessage* AMessage) : Message(AMessage)
{
    const TStrings* Body = Message->Body();
    for (int I = 0; I < Body->Count() && !NeedsQP; ++I)
        NeedsQP = Body->Get(I).size() >= 256;
}

ZevCustomEncoder::~ZevCustomEncoder() = default;

void ZevCustomEncoder::WriteLine(const std::string& Text)
{
    const std::string Line = Text + "\r\n";
    Output->WriteBuffer(Line.data(), static_cast<int64_t>(Line.size()));
}

void ZevCustomEncoder::Encode()
{
    Output->SetPosition(0);
    WriteHeaders();
    if (Message->Encoding() == meUU) {
        WriteUUEncoded();
        return;
    }
    const std::string ContentType = Message->ContentType();
    const bool HasAttachments = Message->Attachments()->Count() > 0;
    if (ContentType == "multipart/mixed")
        WriteMultipart(ContentType, false);
    else if (ContentType == "multipart/alternative")
        WriteMultipart(ContentType, true);
    else if (ContentType == "text/html" || ContentType == "text/rtf")
        WriteHtmlRtf(ContentType);
    else if (HasAttachments)
        WriteSingleAttachment();
    else
        WritePlain();
}

std::string ZevCustomEncoder::EncodedWord(const std::string& Text) const
{
    if (Message->CharSet() == csISO2022jp && Message->Encoding() == meMIME)
        return EncodeISO2022JPWord(Text);
    return Text;
}

std::string ZevCustomEncoder::DisplayName(const std::string& Name, bool Quote) const
{
    std::string Result = Name;
    if (Quote && Contains(Result, ".") && !Contains(Result, "\""))
        Result = "\"" + Result + "\"";
    return EncodedWord(Result);
}

void ZevCustomEncoder::WriteAddressList(const std::string& Name, const ZevAddressList* List)
{
    if (List->Count() == 0)
        return;
    std::string Label = Name;
    if (Label.empty() || Label.back() != ':')
        Label += ':';
    if (Label.size() < 10)
        Label.resize(10, ' ');
    for (int I = 0; I < List->Count(); ++I) {
        const ZevMailAddress* Address = List->Items(I);
        std::string Line = (I == 0 ? Label : std::string(10, ' ')) +
                           DisplayName(Address->Name, true) + " <" + Address->Address + ">";
        if (I + 1 < List->Count())
            Line += ",";
        WriteLine(Line);
    }
}

void ZevCustomEncoder::WriteRemainingHeaders()
{
    // A copy: the message keeps its header lines.
    ZevHeaders Headers;
    Headers.Assign(Message->Headers());
    static const char* const Written[] = {"From",
                                          "To",
                                          "CC",
                                          "BCC",
                                          "Return-Receipt-To",
                                          "X-Priority",
                                          "Subject",
                                          "Mime-Version",
                                          "Content-Type",
                                          "X-Encoding",
                                          "Content-Transfer-Encoding",
                                          "Newsgroups"};
    for (const char* Field : Written) {
        // Every occurrence: a field given twice must not be written beside the encoder's own.
        for (int Before = -1; Before != Headers.Count();) {
            Before = Headers.Count();
            Headers.DeleteField(Field);
        }
    }
    for (int I = 0; I < Headers.Count(); ++I)
        WriteLine(Headers.Get(I));
}

void ZevCustomEncoder::WriteCharsetLines()
{
    const char* const Prefix = "Content-Type: text/plain; charset=\"";
    switch (Message->CharSet()) {
    case csISO8859:
        WriteLine(std::string(Prefix) + "iso-8859-1\"");
        WriteLine("Content-Transfer-Encoding: quoted-printable");
        return;
    case csISO2022jp:
        WriteLine(std::string(Prefix) + "iso-2022-jp\"");
        break;
    case csUSASCII:
        WriteLine(std::string(Prefix) + "us-ascii\"");
        break;
    }
    WriteLine(NeedsQP ? "Content-Transfer-Encoding: quoted-printable"
                      : "Content-Transfer-Encoding: 7bit");
}

void ZevCustomEncoder::WriteLines(const TStrings* Lines)
{
    for (int I = 0; I < Lines->Count(); ++I)
        WriteLine(Lines->Get(I));
}

void ZevCustomEncoder::WriteQuotedPrintable(const std::string& Text)
{
    TStringStream Source(Text);
    TStringList Encoded;
    TQuotedPrintable(&Source, &Encoded).Encode();
    WriteLines(&Encoded);
}

void ZevCustomEncoder::WriteBodyText()
{
    if (Message->CharSet() != csISO8859 && !NeedsQP) {
        WriteLines(Message->Body());
        return;
    }
    WriteQuotedPrintable(Message->Body()->Text());
}

void ZevCustomEncoder::WriteData(const ZevAttItem* Item)
{
    const std::string Data = StreamText(Item->Data());
    if (Item->TransferEncoding == teNone || Item->TransferEncoding == teQuotedPrintable) {
        TStringList Lines;
        if (Item->TransferEncoding == teNone) {
            Lines.SetText(Data);
        } else {
            TStringStream Stream(Data);
            TQuotedPrintable(&Stream, &Lines).Encode();
        }
        WriteLines(&Lines);
        // The line end before a delimiter belongs to the delimiter: data that ends with one
        // needs a line of its own.
        if (EndsWithLineEnd(Data))
            WriteLine("");
        return;
    }
    constexpr std::size_t Block = 57;
    std::size_t Start = 0;
    for (;;) {
        const std::string Piece = Data.substr(Start, Block);
        WriteLine(Base64Encode(Piece));
        Start += Piece.size();
        if (Piece.size() < Block)
            break;
    }
}

void ZevCustomEncoder::WritePlain()
{
    WriteCharsetLines();
    WriteLine("");
    WriteBodyText();
}

void ZevCustomEncoder::WriteHtmlRtf(const std::string& ContentType)
{
    std::string Line =
        ContentType == "text/html" ? "Content-Type: text/html" : "Content-Type: text/rtf";
    if (Message->CharSet() != csUSASCII)
        Line += "; charset=\"iso-8859-1\"";
    WriteLine(Line);
    WriteLine("Content-Transfer-Encoding: quoted-printable");
    WriteLine("");
    WriteQuotedPrintable(Message->Body()->Text());
}

void ZevCustomEncoder::WriteSingleAttachment()
{
    const ZevAttItem* Item = Message->Attachments()->Items(0);
    const std::string FileName = HeaderFileName(Item->FileName());
    const std::string Lower = LowerCase(FileName);
    const bool BodyFile = Lower == "_htmbody.htm" || Lower == "_rtfbody.rtf";
    if (Lower == "_htmbody.htm")
        WriteLine("Content-Type: text/html");
    else if (Lower == "_rtfbody.rtf")
        WriteLine("Content-Type: text/rtf");
    else
        WriteLine("Content-Type: " + Item->ContentType + "; name=\"" + FileName + "\"");
    WriteLine(std::string("Content-Transfer-Encoding: ") + TransferName(Item->TransferEncoding));
    if (!BodyFile)
        WriteLine("Content-Disposition: attachment; filename=\"" + FileName + "\"");
    WriteLine("");
    WriteData(Item);
}

std::string ZevCustomEncoder::MakeBoundary(const std::string& Used)
{
    // Every text a delimiter could be confused with.
    std::string Texts = Message->Body()->Text() + Message->Headers()->Text();
    const ZevAttList* Attachments = Message->Attachments();
    for (int I = 0; I < Attachments->Count(); ++I)
        if (Attachments->Items(I)->TransferEncoding != teBase64)
            Texts += StreamText(Attachments->Items(I)->Data());
    if (!BoundarySource)
        Randomize();
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        std::string Boundary;
        if (BoundarySource) {
            Boundary = BoundarySource();
        } else {
            for (int I = 0; I < 8; ++I)
                Boundary += static_cast<char>('0' + Random(9));
        }
        if (Boundary != Used && !Contains(Texts, "--" + Boundary))
            return Boundary;
    }
    throw Exception("Cannot make a boundary that the message does not contain");
}

void ZevCustomEncoder::WriteMultipart(const std::string& ContentType, bool AlternativeMode)
{
    const ZevAttList* Attachments = Message->Attachments();
    const int Count = Attachments->Count();
    auto NameOf = [&](int I) {
        return LowerCase(HeaderFileName(Attachments->Items(I)->FileName()));
    };
    auto IsAlternative = [&](int I) { return I < Count && StartsWith(NameOf(I), "_alt."); };
    bool BodyOnly = Count > 0 && Message->Body()->Count() == 0 &&
                    (NameOf(0) == "_htmbody.htm" || NameOf(0) == "_rtfbody.rtf");

    std::string Boundary = MakeBoundary("");
    std::string Outer;
    WriteLine("Content-Type: " + ContentType + "; boundary=\"" + Boundary + "\"");
    WriteLine("");
    WriteLine(MailText(59106));
    WriteLine("");
    bool InGroup = false;
    if (IsAlternative(0) && !AlternativeMode) {
        Outer = Boundary;
        Boundary = MakeBoundary(Outer);
        WriteLine("--" + Outer);
        WriteLine("Content-Type:  multipart/alternative; boundary=\"" + Boundary + "\"");
        WriteLine("Content-Transfer-Encoding: 7bit");
        WriteLine("");
        InGroup = true;
    }
    if (Message->Body()->Count() > 0) {
        WriteLine("--" + Boundary);
        WriteCharsetLines();
        WriteLine("");
        WriteBodyText();
        WriteLine("");
    }
    for (int I = 0; I < Count; ++I) {
        const ZevAttItem* Item = Attachments->Items(I);
        if (I > 0)
            BodyOnly = false;
        const std::string FileName = HeaderFileName(Item->FileName());
        const bool Named = !AlternativeMode && !InGroup && !BodyOnly;
        const std::string Type =
            Item->ContentType.empty() ? "application/octet-stream" : Item->ContentType;
        WriteLine("--" + Boundary);
        WriteLine("Content-Type: " + Type + (Named ? "; name=\"" + FileName + "\"" : ""));
        WriteLine(std::string("Content-Transfer-Encoding: ") +
                  TransferName(Item->TransferEncoding));
        if (Named)
            WriteLine("Content-Disposition: attachment; filename=\"" + FileName + "\"");
        WriteLine("");
        WriteData(Item);
        if (InGroup && !IsAlternative(I + 1)) {
            WriteLine("--" + Boundary + "--");
            Boundary = Outer;
            InGroup = false;
        }
    }
    if (InGroup)
        WriteLine("--" + Boundary + "--");
    WriteLine("--" + (Outer.empty() ? Boundary : Outer) + "--");
}

void ZevCustomEncoder::WriteUUEncoded()
{
    WriteLine("");
    WriteLines(Message->Body());
    const ZevAttList* Attachments = Message->Attachments();
    for (int I = 0; I < Attachments->Count(); ++I) {
        const ZevAttItem* Item = Attachments->Items(I);
        WriteLine("");
        WriteLine("begin 600 " + ExtractFileName(Item->FileName()));
        const std::string Data = StreamText(Item->Data());
        constexpr std::size_t Block = 45;
        std::size_t Start = 0;
        for (;;) {
            const std::string Piece = Data.substr(Start, Block);
            WriteLine(UUEncodeLine(Piece));
            Start += Piece.size();
            if (Piece.size() < Block)
                break;
        }
        WriteLine("`");
        WriteLine("end");
    }
}

void ZevMessageEncoder::WriteHeaders()
{
    auto* Mail = static_cast<ZevMessage*>(Message);
    const ZevMailAddress* Sender = Mail->Sender();
    WriteLine("From:     " + DisplayName(Sender->Name, true) + " <" + Sender->Address + ">");
    WriteAddressList("To", Mail->Recipients());
    WriteAddressList("CC", Mail->CC());
    if (Mail->ReturnReceipt())
        WriteLine("Return-Receipt-To: <" + Sender->Address + ">");
    if (Mail->Priority() == ptLow)
        WriteLine("X-Priority: 5");
    else if (Mail->Priority() == ptHigh)
        WriteLine("X-Priority: 1");
    WriteRemainingHeaders();
    if (!Mail->Subject().empty())
        WriteLine("Subject: " + EncodedWord(Mail->Subject()));
    if (Mail->Encoding() == meMIME)
        WriteLine("Mime-Version: 1.0");
}

void ZevArticleEncoder::WriteHeaders()
{
    auto* Article = static_cast<ZevArticle*>(Message);
    const ZevMailAddress* Sender = Article->Sender();
    WriteLine("From:     " + DisplayName(Sender->Name, false) + " <" + Sender->Address + ">");
    WriteLine("Newsgroups: " + Article->NewsGroups());
    WriteRemainingHeaders();
    WriteLine("Subject:  " + EncodedWord(Article->Subject()));
    if (Article->Encoding() != meUU)
        WriteLine("Mime-Version: 1.0");
}
