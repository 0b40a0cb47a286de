// platform/stdctrls/statusbar.h: TStatusBar, the class library's status bar on the
// "msctls_statusbar32" window class: Panels (TStatusPanels of TStatusPanel: text, width, bevel,
// alignment, owner-drawn), or one SimpleText across the bar; a size grip; aligned to the bottom.
#pragma once

#include "platform/forms/controls.h"
#include "platform/rtl/collection.h"

#include <functional>
#include <memory>
#include <string>

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* Collection);

    const std::string& Text() const { return FText; }
    void SetText(const std::string& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);

    void Assign(const TPersistent* Source) override;

protected:
    std::string GetDisplayName() const override;

private:
    std::string FText;
    int FWidth = 50;
    TStatusPanelBevel FBevel = pbLowered;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelStyle FStyle = psText;
};

// Index errors raise EListError "List index out of bounds (N)".
class TStatusPanels : public TCollection {
public:
    explicit TStatusPanels(TStatusBar* StatusBar);

    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int Index) const
    {
        return static_cast<TStatusPanel*>(TCollection::Items(Index));
    }
    TStatusPanel* operator[](int Index) const { return Items(Index); }
    TStatusBar* StatusBar() const { return FStatusBar; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

using TDrawPanelEvent =
    std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(const TStatusPanels* Value) { FPanels->Assign(Value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    TCanvas* Canvas() const { return FCanvas.get(); }

    TDrawPanelEvent OnDrawPanel;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    // Paints an owner-drawn panel on Canvas; the default calls OnDrawPanel or fills the panel.
    virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    // The window sees the mouse first (its size grip), then the mouse events.
    void WMMouse(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TStatusPanels;
    // Sends the parts and every panel's text to the window.
    void UpdatePanels();
    // Sends one panel's text and look: repaints that panel only.
    void UpdatePanel(int Index);

    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};
