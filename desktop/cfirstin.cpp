// desktop/cfirstin.cpp: the search over the top-level windows, this process's and the others'.
#include "desktop/cfirstin.h"

#include "platform/rtl/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <string>

namespace {

const bool Published = [] {
    TPublished<TFirstInstance>().Field("OnFoundInstance", &TFirstInstance::OnFoundInstance,
                                       "TFirstInstanceEvent");
    return true;
}();

// Names and captions are compared on their first 60 bytes, as a 61-byte buffer holds them; a
// UTF-8 character that would be cut goes whole.
std::string Cut(const std::string& S)
{
    constexpr std::size_t Limit = 60;
    if (S.size() <= Limit)
        return S;
    std::size_t End = Limit;
    while (End > 0 && (static_cast<unsigned char>(S[End]) & 0xC0) == 0x80)
        --End;
    return S.substr(0, End);
}

} // namespace

TFirstInstance::TFirstInstance(TComponent* AOwner) : TComponent(AOwner)
{
    (void)Published;
}

HWND TFirstInstance::FindEarlierInstance()
{
    if (Application == nullptr)
        return 0;
    const HWND Own = Application->Handle();
    const std::string ClassName = Cut(GetClassName(Own));
    const std::string Caption = Cut(GetWindowText(Own));
    if (Caption.empty())
        return 0;
    HWND Found = 0;
    EnumWindows([&](HWND Wnd) {
        if (Wnd != Own && Cut(GetClassName(Wnd)) == ClassName &&
            Cut(GetWindowText(Wnd)) == Caption) {
            Found = Wnd;
            return false;
        }
        return true;
    });
    return Found;
}

void TFirstInstance::Loaded()
{
    // Unlike the guard it follows, the inherited step runs, so the component leaves csLoading.
    TComponent::Loaded();
    if (ComponentState().Contains(csDesigning))
        return;
    const HWND Found = FindEarlierInstance();
    if (Found == 0)
        return;
    bool ShowFirst = true;
    if (OnFoundInstance)
        OnFoundInstance(this, Found, ShowFirst);
    if (!ShowFirst)
        return;
    if (IsIconic(Found))
        ShowWindow(Found, SW_RESTORE);
    else
        BringWindowToTop(Found);
    Application->Terminate();
}
