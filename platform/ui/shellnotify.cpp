// platform/ui/shellnotify.cpp: Shell_NotifyIconA over the replaceable service, the display
// driver's tray as the default service, and the recorder for tests.
#include "platform/ui/shellnotify.h"

#include "platform/ui/displaydriver.h"

#include <algorithm>
#include <cstring>

namespace {

// The tray of the display driver in use.
class TDriverNotifyArea : public INotifyAreaService {
public:
    bool NotifyIcon(DWORD Message, const TNotifyIcon& Icon) override
    {
        return DisplayDriver().NotifyIcon(Message, Icon);
    }
    bool IconDocked(HWND Wnd, UINT ID) override
    {
        return DisplayDriver().NotifyIconDocked(Wnd, ID);
    }
};

TDriverNotifyArea DriverNotifyArea;
INotifyAreaService* Current = nullptr;

// The longest prefix of Text within Limit bytes that ends at a whole UTF-8 character.
std::string CutAtCharacter(const std::string& Text, std::size_t Limit)
{
    if (Text.size() <= Limit)
        return Text;
    std::size_t End = Limit;
    while (End > 0 && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80)
        --End;
    return Text.substr(0, End);
}

} // namespace

INotifyAreaService& NotifyAreaService()
{
    return Current != nullptr ? *Current : DriverNotifyArea;
}

INotifyAreaService* SetNotifyAreaService(INotifyAreaService* Service)
{
    INotifyAreaService* Previous = Current;
    Current = Service;
    return Previous;
}

TNotifyTipHooks& NotifyTipHooks()
{
    static TNotifyTipHooks Hooks;
    return Hooks;
}

void SetNotifyTip(NOTIFYICONDATAA& Data, const std::string& Text)
{
    const std::string Tip = CutAtCharacter(Text, sizeof Data.szTip - 1);
    std::memset(Data.szTip, 0, sizeof Data.szTip);
    std::memcpy(Data.szTip, Tip.data(), Tip.size());
}

bool Shell_NotifyIconA(DWORD Message, const NOTIFYICONDATAA* Data)
{
    if (Data == nullptr || Data->cbSize < 88 || Message > NIM_DELETE)
        return false;
    TNotifyIcon Icon;
    Icon.Wnd = Data->Wnd;
    Icon.ID = Data->uID;
    Icon.Flags = Data->uFlags;
    Icon.Callback = Data->uCallbackMessage;
    if ((Data->uFlags & NIF_ICON) && IsIconHandle(Data->hIcon)) {
        Icon.HasImage = true;
        Icon.Image = Data->hIcon->Image;
    }
    if (Data->uFlags & NIF_TIP) {
        const char* End = static_cast<const char*>(std::memchr(Data->szTip, 0, sizeof Data->szTip));
        const std::size_t Length =
            End != nullptr ? static_cast<std::size_t>(End - Data->szTip) : sizeof Data->szTip;
        Icon.Tip = CutAtCharacter(std::string(Data->szTip, Length), sizeof Data->szTip - 1);
    }
    return NotifyAreaService().NotifyIcon(Message, Icon);
}

TNotifyAreaRecorder::TNotifyAreaRecorder() : FPrevious(SetNotifyAreaService(this)) {}

TNotifyAreaRecorder::~TNotifyAreaRecorder()
{
    SetNotifyAreaService(FPrevious);
}

bool TNotifyAreaRecorder::NotifyIcon(DWORD Message, const TNotifyIcon& Icon)
{
    auto Found = std::find_if(FIcons.begin(), FIcons.end(), [&](const TNotifyIcon& Shown) {
        return Shown.Wnd == Icon.Wnd && Shown.ID == Icon.ID;
    });
    bool Result = false;
    if (Message == NIM_ADD && TrayPresent && Found == FIcons.end()) {
        FIcons.push_back(Icon);
        Result = true;
    } else if (Message == NIM_MODIFY && Found != FIcons.end()) {
        if (Icon.Flags & NIF_MESSAGE)
            Found->Callback = Icon.Callback;
        if (Icon.Flags & NIF_ICON) {
            Found->HasImage = Icon.HasImage;
            Found->Image = Icon.Image;
        }
        if (Icon.Flags & NIF_TIP)
            Found->Tip = Icon.Tip;
        Result = true;
    } else if (Message == NIM_DELETE && Found != FIcons.end()) {
        FIcons.erase(Found);
        Result = true;
    }
    FEntries.push_back(TEntry{Message, Icon, Result});
    return Result;
}

bool TNotifyAreaRecorder::IconDocked(HWND Wnd, UINT ID)
{
    return std::any_of(FIcons.begin(), FIcons.end(), [&](const TNotifyIcon& Shown) {
        return Shown.Wnd == Wnd && Shown.ID == ID;
    });
}
