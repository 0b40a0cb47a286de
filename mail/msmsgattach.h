// mail/msmsgattach.h: the attachments of a message: one item with its bytes, name, media type
// and transfer encoding, and the owned list of them.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/types.h"

#include <memory>
#include <string>
#include <vector>

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

// The whole contents of a memory stream (an attachment's data, the decoder's input).
std::string MemoryText(TMemoryStream* Stream);
// Replaces the attachment's data with Bytes, positioned at 0.
void SetAttachmentData(ZevAttItem* Item, const std::string& Bytes);

// The attachment file name that is safe to create in a folder: the part after the last "/" or
// "\"; empty when that is "", "." or ".." or holds a control character.
std::string SafeAttachmentName(const std::string& FileName);
