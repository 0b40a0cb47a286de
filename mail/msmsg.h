// mail/msmsg.h: the message model: a mail message or news article as sender, recipients,
// subject, header lines, body text and attachments, loaded from stored message text through
// the decoder and written back through the encoder (mail/msmsgcls.h).
#pragma once

#include "mail/msmsgcls.h"
#include "mail/mspars.h"
#include "platform/rtl/component.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <string>
#include <vector>

class TStream;

enum TMsgEncoding { meMIME, meUU };
enum TCharSet { csUSASCII, csISO8859, csISO2022jp };
enum TPriority { ptLow, ptNormal, ptHigh };

// The common model of messages and articles.
class ZevCustomMessage : public TComponent {
public:
    explicit ZevCustomMessage(TComponent* AOwner);
    ~ZevCustomMessage() override;

    ZevAttList* Attachments() const { return FAttachments.get(); }
    // Copies of Value's items; the stored content type becomes "multipart/mixed", or
    // "text/plain" when Value is empty.
    void SetAttachments(const ZevAttList* Value);
    // Derived from the body and the attachments (see the source); may store its answer.
    std::string ContentType() const;
    // Stored lower-cased.
    void SetContentType(const std::string& Value);
    TMsgEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TMsgEncoding Value) { FEncoding = Value; }
    ZevMailAddress* Sender() const { return FSender.get(); }
    const std::string& Subject() const { return FSubject; }
    void SetSubject(const std::string& Value) { FSubject = Value; }
    TCharSet CharSet() const { return FCharSet; }
    void SetCharSet(TCharSet Value) { FCharSet = Value; }
    ZevHeaders* Headers() const { return FHeaders.get(); }
    void SetHeaders(const ZevHeaders* Value);
    TStrings* Body() const { return FBody.get(); }
    void SetBody(const TStrings* Value);

    // EMessageError when a field the message needs is missing.
    virtual void Validate();
    // The message as Internet message text, from Stream's position 0. The message itself is
    // not changed.
    virtual void SaveToStream(TStream* Stream) = 0;
    // Clear, then decodes the rest of Stream. Decoding failures are reported inside the
    // message (three lines in Body and the input as "original.eml"); other errors raise.
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void Clear();
    // Takes sender, recipients, subject and the like from a stored header block.
    virtual void ReadHeaders(ZevHeaders* AHeaders) = 0;

    // Clear, then LoadFromStream of the file; a missing file raises EFOpenError.
    void LoadFromFile(const std::string& FileName);
    // Writes every attachment's data into Folder (which must exist) under its file name
    // without folders; returns the full names written. Names from a message are untrusted:
    // "..", ".", empty names and names with control characters become "att." + the index, and
    // a name already taken gets " (2)", " (3)"... before its extension, so that nothing outside
    // Folder is written and no file is replaced. I/O errors raise EFCreateError/EWriteError.
    std::vector<std::string> SaveAttachments(const std::string& Folder) const;

protected:
    // After reading from a form (not while designing): each attachment's data from its file.
    void Loaded() override;

private:
    std::unique_ptr<ZevAttList> FAttachments;
    mutable std::string FContentType = "text/plain";
    TMsgEncoding FEncoding = meMIME;
    std::unique_ptr<ZevMailAddress> FSender;
    std::string FSubject;
    TCharSet FCharSet = csUSASCII;
    std::unique_ptr<ZevHeaders> FHeaders;
    std::unique_ptr<TStringList> FBody;
};

// A mail message.
class ZevMessage : public ZevCustomMessage {
public:
    explicit ZevMessage(TComponent* AOwner);
    ~ZevMessage() override;

    ZevAddressList* Recipients() const { return FRecipients.get(); }
    void SetRecipients(const ZevAddressList* Value) { FRecipients->Assign(Value); }
    ZevAddressList* CC() const { return FCC.get(); }
    void SetCC(const ZevAddressList* Value) { FCC->Assign(Value); }
    ZevAddressList* BCC() const { return FBCC.get(); }
    void SetBCC(const ZevAddressList* Value) { FBCC->Assign(Value); }
    bool ReturnReceipt() const { return FReturnReceipt; }
    void SetReturnReceipt(bool Value) { FReturnReceipt = Value; }
    TPriority Priority() const { return FPriority; }
    void SetPriority(TPriority Value) { FPriority = Value; }

    void Validate() override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    void Clear() override;
    void ReadHeaders(ZevHeaders* AHeaders) override;

private:
    std::unique_ptr<ZevAddressList> FRecipients;
    std::unique_ptr<ZevAddressList> FCC;
    std::unique_ptr<ZevAddressList> FBCC;
    bool FReturnReceipt = false;
    TPriority FPriority = ptNormal;
};

// A news article.
class ZevArticle : public ZevCustomMessage {
public:
    using ZevCustomMessage::ZevCustomMessage;

    const std::string& NewsGroups() const { return FNewsGroups; }
    void SetNewsGroups(const std::string& Value) { FNewsGroups = Value; }

    void Validate() override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    void Clear() override;
    void ReadHeaders(ZevHeaders* AHeaders) override;

    std::string MessageID;
    std::string Path;

private:
    std::string FNewsGroups;
};
