// platform/ui/screen.h: TScreen, the program's view of the display: size, work area, pixels per
// inch and the global cursor. The active form and control are filled in by the form layer.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/cursors.h"

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // crDefault lets each window show its own cursor; any other value shows everywhere.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const { return 96; }

    // Kept by the form layer (null until it exists).
    TComponent* ActiveForm() const { return FActiveForm; }
    void SetActiveForm(TComponent* Value) { FActiveForm = Value; }
    TComponent* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TComponent* Value) { FActiveControl = Value; }

private:
    TCursor FCursor = crDefault;
    TComponent* FActiveForm = nullptr;
    TComponent* FActiveControl = nullptr;
};

// Created with the application object (platform/ui/application.h).
extern TScreen* Screen;
