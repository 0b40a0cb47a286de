// platform/forms/sizeconstraints.h: TSizeConstraints, the width and height limits of a control.
#pragma once

#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

// Width and height limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int Value);
    void SetMinHeight(int Value);
    void SetMaxWidth(int Value);
    void SetMaxHeight(int Value);
    void Assign(const TPersistent* Source) override;
    // Width and height kept within the limits (and not below 0).
    void Apply(int& Width, int& Height) const;

    TNotifyEvent OnChange;

private:
    void Changed();
    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};
