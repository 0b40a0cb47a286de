// platform/ui/headless/headlessdriver.h: the display driver without a display: native windows
// are records that tests can read, on a screen that tests can set, and input comes only through
// the injection entry points.
#pragma once

#include "platform/ui/displaydriver.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class THeadlessDriver : public IDisplayDriver {
public:
    struct TNativeWindow {
        TRect Bounds; // screen coordinates
        // The bounds last asked for, relative to RelativeTo's native window when that is set.
        TRect Placed;
        HWND RelativeTo = 0;
        std::string Caption;
        std::string ClassName;
        DWORD Style = 0;
        DWORD ExStyle = 0;
        HWND Owner = 0;
        TNativeShow Show = TNativeShow::Hidden;
        int Raised = 0; // how often it was raised
        // The last picture presented, Width x Height words, and how often one was.
        std::vector<std::uint32_t> Pixels;
        int Width = 0;
        int Height = 0;
        int Presents = 0;
        // The shape SetWindowRgn gave, in window coordinates.
        bool Shaped = false;
        std::vector<TRect> Shape;
    };

    std::string Name() const override { return "headless"; }
    // Nobody sees these windows, and no other program shares the clipboard.
    unsigned Capabilities() const override { return dcPlacesWindows; }
    TNativeScreen NativeScreen() const override { return FNativeScreen; }
    // Tests put the program on another screen; windows stay where they are.
    void SetNativeScreen(const TNativeScreen& Value) { FNativeScreen = Value; }
    void CreateNativeWindow(HWND Wnd, const TNativeWindowSpec& Spec) override;
    void DestroyNativeWindow(HWND Wnd) override;
    void ShowNativeWindow(HWND Wnd, TNativeShow Show) override;
    void MoveNativeWindow(HWND Wnd, const TRect& Bounds, HWND RelativeTo) override;
    void SetNativeCaption(HWND Wnd, const std::string& Caption) override;
    void SetNativeOwner(HWND Wnd, HWND Owner) override;
    void SetNativeStyle(HWND Wnd, DWORD Style, DWORD ExStyle) override;
    void RaiseNativeWindow(HWND Wnd) override;
    void SetNativeCapture(HWND Wnd) override { FCapture = Wnd; }
    void Present(HWND Wnd, const std::uint32_t* Pixels, int Width, int Height, int Stride,
                 const TRect& Dirty) override;
    void SetPointerShape(int Cursor) override { FPointer = Cursor; }
    // No other program shares this clipboard; tests play one with SetForeignClipboard.
    void OfferClipboard(const std::vector<std::string>& Targets,
                        TClipboardRenderer Render) override;
    bool ForeignClipboardHeld() override { return FForeignHeld; }
    bool ForeignClipboardTargets(std::vector<std::string>& Targets) override;
    bool ForeignClipboardData(const std::string& Target, std::string& Data) override;
    void SetNativeShape(HWND Wnd, bool Shaped, const std::vector<TRect>& Rects) override
    {
        if (TNativeWindow* Native = Lookup(Wnd)) {
            Native->Shaped = Shaped;
            Native->Shape = Shaped ? Rects : std::vector<TRect>();
        }
    }
    // Drag and drop with other programs: tests place their drop windows (PlayForeignDropWindow)
    // and read what the drags told them (ForeignDragLog) and what a drop read.
    void BeginForeignDrag(const std::vector<std::string>& Targets,
                          TClipboardRenderer Render) override;
    bool ForeignDragOver(TPoint Point, DWORD Effect) override;
    void ForeignDrop() override;
    void EndForeignDrag() override;
    TForeignDragState ForeignDragState() const override { return FDragState; }
    int Descriptor() const override { return -1; }
    void ReadEvents() override {}
    std::uint64_t NativeId(HWND Wnd) const override { return Find(Wnd) ? Wnd : 0; }

    // Null when Wnd has no native window.
    const TNativeWindow* Find(HWND Wnd) const;
    const std::map<HWND, TNativeWindow>& Windows() const { return FWindows; }
    int Pointer() const { return FPointer; }
    HWND NativeCapture() const { return FCapture; }
    // The targets last offered to other programs, and one of them read as another program
    // would (false when it is not offered or is refused).
    const std::vector<std::string>& OfferedTargets() const { return FOfferedTargets; }
    bool ReadOffered(const std::string& Target, std::string& Data) const;
    // Another program takes the clipboard over with these targets and their bytes, as if it had
    // copied; the program's next offer takes it back.
    void SetForeignClipboard(std::vector<std::pair<std::string, std::string>> Data);

    // Another program's drop window over Bounds (screen coordinates), above the program's own:
    // it takes Accepts (a copy when it does not take the effect asked for), answers every step
    // at once unless Silent (or the drop alone when it never Finishes), and reads Wants on a
    // drop.
    struct TForeignDropWindow {
        std::string Name;
        TRect Bounds;
        DWORD Accepts = 0;
        bool Silent = false;
        bool Finishes = true;
        std::string Wants;
    };
    void PlayForeignDropWindow(const TForeignDropWindow& Window) { FDropWindows.push_back(Window); }
    // What the drags told the drop windows ("<name> enter <targets>", "<name> position <effect>",
    // "<name> leave", "<name> drop") and what the drop read ("<name> read <data>").
    const std::vector<std::string>& ForeignDragLog() const { return FDragLog; }

private:
    TNativeWindow* Lookup(HWND Wnd);
    void Place(TNativeWindow& Native, const TRect& Bounds, HWND RelativeTo) const;

    // A 1024 x 768 screen at 96 dots per inch, with a panel along the bottom as a desktop has.
    TNativeScreen FNativeScreen{1024, 768, TRect{0, 0, 1024, 738}, 96};
    std::map<HWND, TNativeWindow> FWindows;
    int FPointer = 0;
    HWND FCapture = 0;
    std::vector<std::string> FOfferedTargets;
    TClipboardRenderer FRender;
    bool FForeignHeld = false;
    std::vector<std::pair<std::string, std::string>> FForeign;
    std::vector<TForeignDropWindow> FDropWindows;
    std::vector<std::string> FDragTargets;
    TClipboardRenderer FDragRender;
    int FDragOver = -1; // the drop window under the drag
    bool FDragDropped = false;
    TForeignDragState FDragState;
    std::vector<std::string> FDragLog;
};
