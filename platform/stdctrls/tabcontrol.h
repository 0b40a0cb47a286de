// platform/stdctrls/tabcontrol.h: TCustomTabControl and TTabControl, the class library's tab
// control on the "SysTabControl32" window class: Tabs bound to the window, TabIndex, the tabs'
// place and rows, images, and OnChanging (which may refuse) and OnChange from the notifications.
#pragma once

#include "platform/forms/controls.h"
#include "platform/rtl/stringlist.h"

#include <functional>
#include <memory>

class TCustomImageList;

enum TTabPosition { tpTop, tpBottom };

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(const TStrings* Value) { FTabs->Assign(Value); }
    // -1 for none; any other index outside the tabs raises EListError.
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);

    // The area inside the page frame, in client coordinates.
    TRect DisplayRect();
    // A tab's rectangle in client coordinates (empty when scrolled out of sight).
    TRect TabRect(int Index);
    // The tab at a client point, or -1.
    int IndexOfTabAt(int X, int Y);
    int RowCount();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    // Asks OnChanging; false keeps the current tab.
    virtual bool CanChange();
    virtual void Change();
    // The tab strings changed: the window takes them again.
    virtual void TabsChanged();
    // The image of a tab (default: the picture of the same index).
    virtual int GetImageIndex(int TabIndex) { return TabIndex; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    void AdjustClientRect(TRect& Rect) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNNotify(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    DWORD TabStyle() const;
    void StyleChanged();

    std::unique_ptr<TStringList> FTabs;
    int FTabIndex = -1;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    bool FHotTrack = false;
    TCustomImageList* FImages = nullptr;
};

class TTabControl : public TCustomTabControl {
public:
    using TCustomTabControl::TCustomTabControl;
};
