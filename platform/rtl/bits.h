// platform/rtl/bits.h: TBits, a growable array of flags, used for allocation maps.
#pragma once

#include "platform/rtl/object.h"

#include <vector>

// A negative index, or reading at or beyond Size(), raises EBitsError "Bits index out of
// range"; setting a bit beyond Size() grows the array.
class TBits : public TObject {
public:
    int Size() const { return static_cast<int>(FBits.size()); }
    // New bits are false.
    void SetSize(int Value);
    bool Bits(int Index) const;
    void SetBits(int Index, bool Value);
    // The index of the first false bit; Size() when every bit is set.
    int OpenBit() const;

private:
    std::vector<bool> FBits;
};
