// controls/entry/ovctfedit.cpp: loading a text file into the editor and saving it back.
#include "controls/entry/ovctfedit.h"

#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/cursors.h"
#include "platform/ui/screen.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

std::string WithoutTrailingDot(std::string Name)
{
    if (Name.size() >= 2 && Name.back() == '.')
        Name.pop_back();
    return Name;
}

// The hourglass while a file is read or written.
class THourGlass {
public:
    THourGlass()
    {
        if (Screen != nullptr) {
            FSaved = Screen->Cursor();
            Screen->SetCursor(crHourGlass);
        }
    }
    ~THourGlass()
    {
        if (Screen != nullptr)
            Screen->SetCursor(FSaved);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FSaved = crDefault;
};

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

[[noreturn]] void RaiseLoadError(Word Code)
{
    const Word Message = Code == oeTooManyParas || Code == oeOutOfSpace || Code == oeParaTooLong
                             ? EditorErrorMessageId(Code)
                             : 30197;
    throw EEditorError(LibraryString(Message), Code);
}

} // namespace

TOvcCustomTextFileEditor::TOvcCustomTextFileEditor(TComponent* AOwner) : TOvcCustomEditor(AOwner) {}

void TOvcCustomTextFileEditor::SetFileName(const std::string& Value)
{
    if (SameText(Value, FFileName))
        return;
    FIsOpen = false;
    FFileName = WithoutTrailingDot(Value);
}

void TOvcCustomTextFileEditor::SetIsOpen(bool Value)
{
    if (Value == FIsOpen || FFileName.empty())
        return;
    if (Loading()) {
        FOpenPending = Value;
        return;
    }
    if (Value)
        LoadFromFile(FFileName);
    else {
        Clear();
        FIsOpen = false;
    }
}

void TOvcCustomTextFileEditor::Loaded()
{
    TOvcCustomEditor::Loaded();
    if (FOpenPending && !FFileName.empty()) {
        FOpenPending = false;
        try {
            LoadFromFile(FFileName);
        } catch (const Exception&) {
            // A form being loaded shows the editor closed instead.
        }
    }
}

void TOvcCustomTextFileEditor::AddLine(std::string_view Line)
{
    const auto Limit = static_cast<std::size_t>(ParaLengthLimit());
    while (Line.size() > Limit) {
        std::size_t Cut = Limit;
        for (std::size_t I = Limit; I > 0; --I)
            if (IsBlank(Line[I - 1])) {
                Cut = I;
                break;
            }
        Append(Line.substr(0, Cut));
        Line.remove_prefix(Cut);
    }
    Append(Line);
}

void TOvcCustomTextFileEditor::Append(std::string_view Para)
{
    // Bytes 0 to 8 are saved as spaces, so they trail like blanks.
    if (FTrimWhiteSpace)
        while (!Para.empty() &&
               (IsBlank(Para.back()) || static_cast<unsigned char>(Para.back()) <= 8))
            Para.remove_suffix(1);
    if (const Word Error = FParas->AppendPara(Para, FTrimWhiteSpace))
        RaiseLoadError(Error);
}

void TOvcCustomTextFileEditor::LoadFromFile(const std::string& Name)
{
    if (Name.empty())
        return;
    FFileName = WithoutTrailingDot(Name);
    THourGlass Busy;
    TTextFile File;
    File.AssignFile(FFileName);
    File.Reset();
    Clear();
    FIsOpen = false;
    try {
        std::string Line;
        while (!File.Eof()) {
            File.ReadLn(Line);
            AddLine(Line);
        }
        File.CloseFile();
    } catch (...) {
        Clear();
        throw;
    }
    FParas->SetModified(false);
    FIsOpen = true;
    Refresh();
}

void TOvcCustomTextFileEditor::SaveToFile(const std::string& Name)
{
    if (Designing() || Name.empty())
        return;
    THourGlass Busy;
    std::string Text;
    Text.reserve(static_cast<std::size_t>(FParas->TextSize()));
    const int Count = ParaCount();
    for (int P = 1; P <= Count; ++P) {
        const std::string_view Para = FParas->ParaText(P);
        if (P == Count && Para.empty())
            break;
        const std::size_t Start = Text.size();
        Text.append(Para);
        // Control bytes would end a line elsewhere; tabs stay tabs.
        for (std::size_t I = Start; I < Text.size(); ++I)
            if (static_cast<unsigned char>(Text[I]) <= 8)
                Text[I] = ' ';
        Text += "\r\n";
    }

    const std::string Backup = ChangeFileExt(Name, "." + FBackupExt);
    const bool TakeBackup = FMakeBackup && FileExists(Name) && Backup != Name;
    try {
        TAtomicFileStream Stream(Name);
        Stream.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
        if (!TakeBackup) {
            Stream.Commit();
        } else {
            // The old backup steps aside until the new file is in place.
            const std::string Aside = Backup + ".old~";
            const bool HadBackup = FileExists(Backup);
            if (HadBackup && std::rename(Backup.c_str(), Aside.c_str()) != 0)
                throw EInOutError("Cannot write file \"" + Backup + "\"", errno);
            if (::link(Name.c_str(), Backup.c_str()) != 0) {
                const int Code = errno;
                if (HadBackup)
                    std::rename(Aside.c_str(), Backup.c_str());
                throw EInOutError("Cannot write file \"" + Backup + "\"", Code);
            }
            try {
                Stream.Commit();
            } catch (...) {
                ::unlink(Backup.c_str());
                if (HadBackup)
                    std::rename(Aside.c_str(), Backup.c_str());
                throw;
            }
            if (HadBackup)
                ::unlink(Aside.c_str());
        }
    } catch (const EAtomicWriteError& E) {
        throw EInOutError(E.Message(), E.ErrorCode);
    } catch (const EStreamError& E) {
        throw EInOutError(E.Message(), EIO);
    }
    FParas->SetModified(false);
    Invalidate();
}

void TOvcCustomTextFileEditor::Attach(TOvcCustomEditor* Other)
{
    auto* File = dynamic_cast<TOvcCustomTextFileEditor*>(Other);
    if (File == nullptr || !HandleAllocated())
        return;
    TOvcCustomEditor::Attach(Other);
    FFileName = File->FFileName;
}
