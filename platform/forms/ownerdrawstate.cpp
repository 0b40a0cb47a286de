#include "platform/forms/controltypes.h"

TOwnerDrawState OwnerDrawStateOf(UINT ItemState)
{
    TOwnerDrawState State;
    for (int Bit = odSelected; Bit <= odComboBoxEdit; ++Bit)
        if (ItemState & (1u << Bit))
            State.Include(static_cast<TOwnerDrawStateItem>(Bit));
    return State;
}

UINT OwnerDrawStateBits(TOwnerDrawState State)
{
    UINT Bits = 0;
    for (int Bit = odSelected; Bit <= odComboBoxEdit; ++Bit)
        if (State.Contains(static_cast<TOwnerDrawStateItem>(Bit)))
            Bits |= 1u << Bit;
    return Bits;
}
