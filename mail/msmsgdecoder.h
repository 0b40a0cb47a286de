// mail/msmsgdecoder.h: the message decoder: stored message text (headers, MIME parts, their
// transfer encodings, uuencoded files) into a message and its attachments.
#pragma once

#include "mail/msmsglinereader.h"
#include "mail/mspars.h"
#include "platform/rtl/object.h"

#include <string>

class TStream;
class ZevCustomMessage;

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
