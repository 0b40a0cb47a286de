#include "platform/forms/sizeconstraints.h"

#include <algorithm>

void TSizeConstraints::SetMinWidth(int Value)
{
    FMinWidth = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMinHeight(int Value)
{
    FMinHeight = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMaxWidth(int Value)
{
    FMaxWidth = std::max(Value, 0);
    Changed();
}
void TSizeConstraints::SetMaxHeight(int Value)
{
    FMaxHeight = std::max(Value, 0);
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TSizeConstraints*>(Source)) {
        FMinWidth = Other->FMinWidth;
        FMinHeight = Other->FMinHeight;
        FMaxWidth = Other->FMaxWidth;
        FMaxHeight = Other->FMaxHeight;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Apply(int& Width, int& Height) const
{
    if (FMinWidth > 0)
        Width = std::max(Width, FMinWidth);
    if (FMaxWidth > 0)
        Width = std::min(Width, FMaxWidth);
    if (FMinHeight > 0)
        Height = std::max(Height, FMinHeight);
    if (FMaxHeight > 0)
        Height = std::min(Height, FMaxHeight);
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange(this);
}
