// imaging/gif/gifrle.h: the run-length encoder, which writes runs of one pixel value as codes any
// LZW decoder reads back, without searching for repeated strings.
#pragma once

#include "imaging/gif/giflzw.h"

class TRLEEncoder : public TGIFEncoder {
protected:
    void EmitClear() override;
    void EncodePixels() override;

private:
    void SendCode(int Code);
    void SendRunFromClear(int Count);
    void SendRunClearOrRepeat(int Count);
    void SendRunWithTable(int Count);
    void FlushRun(int Count);
    void RestoreClearLimit();

    int FMaxCodes = 0;
    int FBumpStart = 0;
    int FClearStart = 0;
    int FRunPixel = -1;
    int FTableRun = 0;
    int FTablePixel = 0;
    int FOutCount = 0;
    int FClearLimit = 0;
    int FBumpLimit = 0;
};

// The codes needed to send Count pixels of one value from an empty table.
int RunCost(int Count, int MaxCodes);
// The integer square root, by the digit-doubling estimate and Newton steps.
int IntegerSqrt(int X);
