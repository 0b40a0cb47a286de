// mail/msmsgencoder.cpp: the message encoder: header lines, the body in its charset and
// transfer encoding, multipart boundaries and attachments, uuencoded files.
#include "mail/msmsgencoder.h"

#include "mail/mailerrors.h"
#include "mail/msmime.h"
#include "mail/msmsg.h"
#include "mail/msuucode.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/files.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"

namespace {

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
    if (Quote && Result.find('.') != std::string::npos && Result.find('"') == std::string::npos)
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
    const std::string Data = MemoryText(Item->Data());
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
            Texts += MemoryText(Attachments->Items(I)->Data());
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
        if (Boundary != Used && Texts.find("--" + Boundary) == std::string::npos)
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
    auto IsAlternative = [&](int I) { return I < Count && NameOf(I).starts_with("_alt."); };
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
        const std::string Data = MemoryText(Item->Data());
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
