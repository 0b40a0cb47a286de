// mail/msmsgcls.h: the parts of the message model that do the work: attachment items and
// lists, the line reader, the decoder of stored messages and the message encoder.
#pragma once

#include "mail/mspars.h"
#include "platform/rtl/object.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ZevCustomMessage;

// TransferEncoding values of an attachment.
constexpr Byte teNone = 0;
constexpr Byte teBase64 = 1; // base64, or uuencode for a uuencoded file
constexpr Byte teQuotedPrintable = 2;

// One attachment: its decoded bytes, file name, media type and transfer encoding.
class ZevAttItem : public TPersistent {
public:
    ZevAttItem();
    ~ZevAttItem() override;

    TMemoryStream* Data() const { return FData.get(); }
    const std::string& FileName() const { return FFileName; }
    // A non-empty name also sets ContentType from its extension, and TransferEncoding:
    // quoted-printable for text/plain, text/rtf and text/html, none for message/rfc822,
    // base64 otherwise.
    void SetFileName(const std::string& Value);
    // Copies data, content type, encoding and file name.
    void Assign(const TPersistent* Source) override;

    std::string ContentType;
    Byte TransferEncoding = teNone;

private:
    std::unique_ptr<TMemoryStream> FData;
    std::string FFileName;
};

// An owned list of attachments.
class ZevAttList : public TPersistent {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for a bad index.
    ZevAttItem* Items(int Index) const;
    // Appends a new empty item and returns it.
    ZevAttItem* Add();
    ZevAttItem* Add(std::unique_ptr<ZevAttItem> Item);
    void Clear();
    // A deep copy of another ZevAttList.
    void Assign(const TPersistent* Source) override;

private:
    std::vector<std::unique_ptr<ZevAttItem>> FItems;
};

// The line reader of the decoder over a copy of the input. Lines end at CR LF, CR or LF; a
// last line needs no end. Lines of any length and zero bytes are read as they are.
class TLineStream : public TMemoryStream {
public:
    // Back to the first line.
    void Reset();
    // The next line without its end; false (and EndOfData) when none is left.
    bool ReadLine(std::string& Line);

    bool EndOfData = false;
    // Whether the line last read ended with a line end (the last line of the data may not).
    bool LineEnded = false;
};

// Decodes stored message text into a message. Nesting is fixed: a multipart message with an
// optional alternative group as its first part; anything deeper stays one attachment.
class ZevCustomDecoder : public TObject {
public:
    // Takes a copy of the rest of AStream.
    explicit ZevCustomDecoder(TStream* AStream);
    ~ZevCustomDecoder() override;

    void Decode();

    ZevCustomMessage* Target = nullptr;

protected:
    // Hands the message's header block to the target.
    virtual void ReadHeaders() = 0;

    TLineStream Source;
    ZevHeaders MessageHeaders;
    ZevHeaders PartHeaders;

private:
    enum TLineKind { lkData, lkSeparator, lkClose, lkEnd };

    void ReadHeaderBlock(ZevHeaders& Headers);
    TLineKind ReadPartLine(std::string& Line);
    // Skips to the next separator or close line of Boundary.
    TLineKind SkipToBoundary();
    void DecodeMIME();
    void DecodeMultipart(const std::string& ContentType);
    // The first part, when it is text; the kind of the line that ended it.
    TLineKind DecodeTextPart();
    // The part under PartHeaders as an attachment, up to the next boundary line.
    TLineKind DecodeAttachmentPart();
    void DecodeSinglePart(const std::string& ContentType);
    void DecodeText(const std::string& ContentType);
    void DecodePlain();
    void ReportError(const std::string& Text);

    std::string Boundary; // with its leading "--"
    std::string OuterBoundary;
    bool InAlternative = false;
    bool AlternativeTop = false;
};

class ZevMessageDecoder : public ZevCustomDecoder {
public:
    using ZevCustomDecoder::ZevCustomDecoder;

protected:
    void ReadHeaders() override;
};

class ZevArticleDecoder : public ZevCustomDecoder {
public:
    using ZevCustomDecoder::ZevCustomDecoder;

protected:
    void ReadHeaders() override;
};

// Writes a message as Internet message text: header lines, a blank line, the body and the
// attachments. Lines end with CR LF and are written as they are (dot-stuffing belongs to a
// transport); the message is not changed.
class ZevCustomEncoder : public TObject {
public:
    explicit ZevCustomEncoder(ZevCustomMessage* AMessage);
    ~ZevCustomEncoder() override;

    // The whole message into Output from its position 0.
    void Encode();
    void WriteLine(const std::string& Text);

    // Makes a multipart boundary of 8 digits. Tests pin it; empty: random digits.
    static std::function<std::string()> BoundarySource;

    ZevCustomMessage* Message;
    TStream* Output = nullptr;

protected:
    virtual void WriteHeaders() = 0;
    // The name as a header shows it: quoted when it holds a "." and no double quote, in an
    // ISO-2022-JP word when the message says so.
    std::string DisplayName(const std::string& Name, bool Quote) const;
    std::string EncodedWord(const std::string& Text) const;
    void WriteAddressList(const std::string& Name, const ZevAddressList* List);
    // The message's headers without the fields the encoder writes itself.
    void WriteRemainingHeaders();

    bool NeedsQP = false;

private:
    void WriteCharsetLines();
    void WriteBodyText();
    void WriteData(const ZevAttItem* Item);
    void WriteLines(const TStrings* Lines);
    // Text as quoted-printable lines.
    void WriteQuotedPrintable(const std::string& Text);
    void WritePlain();
    void WriteHtmlRtf(const std::string& ContentType);
    void WriteSingleAttachment();
    void WriteMultipart(const std::string& ContentType, bool AlternativeMode);
    void WriteUUEncoded();
    // A boundary that no text of the message holds and that differs from Used.
    std::string MakeBoundary(const std::string& Used);
};

class ZevMessageEncoder : public ZevCustomEncoder {
public:
    using ZevCustomEncoder::ZevCustomEncoder;

protected:
    void WriteHeaders() override;
};

class ZevArticleEncoder : public ZevCustomEncoder {
public:
    using ZevCustomEncoder::ZevCustomEncoder;

protected:
    void WriteHeaders() override;
};

// The attachment file name that is safe to create in a folder: the part after the last "/" or
// "\"; empty when that is "", "." or ".." or holds a control character.
std::string SafeAttachmentName(const std::string& FileName);
