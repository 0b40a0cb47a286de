// platform/ui/headless/headlessdriver.h: the display driver without a display: native windows
// are records that tests can read, and input comes only through the injection entry points.
#pragma once

#include "platform/ui/displaydriver.h"

#include <map>

class THeadlessDriver : public IDisplayDriver {
public:
    struct TNativeWindow {
        TRect Bounds;
        std::string Caption;
        TNativeShow Show = TNativeShow::Hidden;
        int Raised = 0; // how often it was raised
    };

    std::string Name() const override { return "headless"; }
    void CreateNativeWindow(HWND Wnd, const TRect& Bounds, const std::string& Caption, DWORD Style,
                            DWORD ExStyle) override;
    void DestroyNativeWindow(HWND Wnd) override;
    void ShowNativeWindow(HWND Wnd, TNativeShow Show) override;
    void MoveNativeWindow(HWND Wnd, const TRect& Bounds) override;
    void SetNativeCaption(HWND Wnd, const std::string& Caption) override;
    void RaiseNativeWindow(HWND Wnd) override;
    void SetPointerShape(int Cursor) override { FPointer = Cursor; }
    int Descriptor() const override { return -1; }
    void ReadEvents() override {}

    // Null when Wnd has no native window.
    const TNativeWindow* Find(HWND Wnd) const;
    const std::map<HWND, TNativeWindow>& Windows() const { return FWindows; }
    int Pointer() const { return FPointer; }

private:
    std::map<HWND, TNativeWindow> FWindows;
    int FPointer = 0;
};
