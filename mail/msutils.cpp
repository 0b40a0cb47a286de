// mail/msutils.cpp: string helpers of the mail units.
#include "mail/msutils.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"
#include "platform/ui/application.h"

#include <cerrno>
#include <mutex>

namespace {

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

// Media types for the common extensions, beneath whatever the user's store says, so that a
// file name gives the same type on every machine.
void RegisterBuiltInMimeTypes()
{
    static const char* const Types[][2] = {
        {".txt", "text/plain"},
        {".htm", "text/html"},
        {".html", "text/html"},
        {".rtf", "text/rtf"},
        {".css", "text/css"},
        {".csv", "text/csv"},
        {".xml", "text/xml"},
        {".vcf", "text/x-vcard"},
        {".ics", "text/calendar"},
        {".eml", "message/rfc822"},
        {".gif", "image/gif"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".jpe", "image/jpeg"},
        {".png", "image/png"},
        {".bmp", "image/bmp"},
        {".tif", "image/tiff"},
        {".tiff", "image/tiff"},
        {".ico", "image/x-icon"},
        {".svg", "image/svg+xml"},
        {".wav", "audio/wav"},
        {".mp3", "audio/mpeg"},
        {".mid", "audio/mid"},
        {".midi", "audio/mid"},
        {".avi", "video/x-msvideo"},
        {".mpg", "video/mpeg"},
        {".mpeg", "video/mpeg"},
        {".mov", "video/quicktime"},
        {".mp4", "video/mp4"},
        {".pdf", "application/pdf"},
        {".ps", "application/postscript"},
        {".zip", "application/zip"},
        {".gz", "application/x-gzip"},
        {".tgz", "application/x-compressed"},
        {".tar", "application/x-tar"},
        {".doc", "application/msword"},
        {".dot", "application/msword"},
        {".xls", "application/vnd.ms-excel"},
        {".ppt", "application/vnd.ms-powerpoint"},
        {".docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
        {".xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
        {".pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
        {".odt", "application/vnd.oasis.opendocument.text"},
        {".ods", "application/vnd.oasis.opendocument.spreadsheet"},
        {".js", "application/javascript"},
        {".json", "application/json"},
    };
    for (const auto& Entry : Types)
        RegisterBuiltInValue(HKEY_CLASSES_ROOT, Entry[0], {"Content Type", rdString, Entry[1]});
}

} // namespace

std::string Unquote(const std::string& Text)
{
    const std::string S = Trim(Text);
    const std::size_t First = S.find_first_not_of('"');
    if (First == std::string::npos)
        return "";
    const std::size_t Last = S.find_last_not_of('"');
    return S.substr(First, Last - First + 1);
}

std::string GetToken(const std::string& Text, int Skip, bool FirstOnly)
{
    std::string S = Text;
    for (int I = 0; I < Skip; ++I) {
        const std::size_t Space = S.find(' ');
        if (Space == std::string::npos)
            return "";
        S = Trim(S.substr(Space + 1));
    }
    if (FirstOnly) {
        const std::size_t Space = S.find(' ');
        if (Space != std::string::npos)
            S.resize(Space);
    }
    return Trim(S);
}

int GetTokenInt(const std::string& Text, int Skip)
{
    return StrToIntDef(GetToken(Text, Skip, true), -1);
}

std::string GetParamValue(const std::string& Name, const std::string& Text)
{
    if (Name.empty())
        return "";
    const std::string UpperText = UpperCase(Text);
    const std::string UpperName = UpperCase(Name);
    // The name must be a whole parameter name: after the start, a ";" or a blank, and
    // followed by "=" (blanks allowed), so that "name" does not match inside "filename".
    std::size_t At = 0;
    std::size_t ValueStart = std::string::npos;
    while ((At = UpperText.find(UpperName, At)) != std::string::npos) {
        const bool StartsWord = At == 0 || UpperText[At - 1] == ';' || IsBlank(UpperText[At - 1]);
        std::size_t After = At + UpperName.size();
        while (After < Text.size() && IsBlank(Text[After]))
            ++After;
        if (StartsWord && After < Text.size() && Text[After] == '=') {
            ValueStart = After + 1;
            break;
        }
        ++At;
    }
    if (ValueStart == std::string::npos)
        return "";
    std::size_t I = Text.find_first_not_of(" \t", ValueStart);
    if (I == std::string::npos)
        return "";
    if (Text[I] == '"') {
        const std::size_t Close = Text.find('"', I + 1);
        return Trim(
            Text.substr(I + 1, Close == std::string::npos ? std::string::npos : Close - I - 1));
    }
    const std::size_t End = Text.find_first_of(" \t;", I);
    return Trim(Text.substr(I, End == std::string::npos ? std::string::npos : End - I));
}

std::string FirstWord(const std::string& Text)
{
    const std::string S = TrimLeft(Text);
    return Trim(S.substr(0, S.find_first_of(" ;")));
}

std::string GetMimeType(const std::string& FileName)
{
    static std::once_flag Registered;
    std::call_once(Registered, RegisterBuiltInMimeTypes);
    const std::string Extension = ExtractFileExt(FileName);
    std::string Result;
    if (!Extension.empty()) {
        TRegistry Registry(KEY_READ);
        Registry.SetRootKey(HKEY_CLASSES_ROOT);
        try {
            if (Registry.OpenKeyReadOnly("\\" + Extension))
                Result = Registry.ReadString("Content Type");
        } catch (const ERegistryException&) {
            // A value of another type counts as none.
        }
    }
    return Result.empty() ? "application/octet-stream" : Result;
}

void SaveStringsToFile(const TStrings* List, const std::string& FileName)
{
    const std::string Folder = ExtractFilePath(FileName);
    if (!Folder.empty() && !ForceDirectories(Folder)) {
        const int Code = errno;
        throw EInOutError("Cannot create folder \"" + Folder + "\"", Code);
    }
    std::string Text;
    for (int I = 0; I < List->Count(); ++I)
        Text += List->Get(I) + "\r\n";
    try {
        AtomicWriteFile(FileName, Text);
    } catch (const EAtomicWriteError& E) {
        throw EInOutError(E.Message(), E.ErrorCode);
    }
}

void PumpMessages()
{
    if (Application != nullptr)
        Application->ProcessMessages();
}
