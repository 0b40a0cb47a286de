// controls/entry/ovclabel.h: TOvcLabelInfo, where a control's attached label sits and whether
// it has one, and TOvcAttachedLabel, the label that belongs to a control and follows it.
#pragma once

#include "platform/rtl/object.h"
#include "platform/stdctrls/label.h"

#include <functional>

class TOvcAttachedLabel;

class TOvcLabelInfo : public TPersistent {
public:
    int OffsetX() const { return FOffsetX; }
    void SetOffsetX(int Value);
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int Value);
    // Both at once: the offsets hook fires once, and only when either differs.
    void SetOffsets(int X, int Y);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // The offsets are stored with a form only while the label is shown.
    bool OffsetsStored() const { return FVisible; }

    TOvcAttachedLabel* ALabel = nullptr; // not owned
    // Set by the owning control.
    std::function<void()> OnVisibleChange;
    std::function<void()> OnPositionChange;

private:
    // The owning control drops a freed label without being told of it through the hook.
    friend class TOvcCustomControl;

    int FOffsetX = 0;
    int FOffsetY = 0;
    bool FVisible = false;
};

class TOvcAttachedLabel : public TLabel {
public:
    explicit TOvcAttachedLabel(TComponent* AOwner);
    // Also makes Control the label's FocusControl.
    TOvcAttachedLabel(TComponent* AOwner, TWinControl* Control);

    TWinControl* Control() const { return FControl; }
    void SetControl(TWinControl* Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Tells the control it has this label and should take its present place as the offsets.
    // True when it did.
    bool AnnounceToControl();

    TWinControl* FControl = nullptr;
};
