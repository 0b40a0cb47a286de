// mail/msmsgencoder.h: the message encoder: a message written as Internet message text, with
// its MIME parts or uuencoded files.
#pragma once

#include "platform/rtl/object.h"

#include <functional>
#include <string>

class TStream;
class TStrings;
class ZevAddressList;
class ZevAttItem;
class ZevCustomMessage;

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
