// imaging/gif/gifrle.cpp: the run-length encoder. A decoder adds one table entry per code, so after
// codes for one pixel value its table holds runs of 2, 3, 4, ... of that value; the encoder sends
// those run codes and clears the table itself to keep the decoder's state where it expects it.
#include "imaging/gif/gifrle.h"

int IntegerSqrt(int X)
{
    if (X < 2)
        return X;
    int R = 1;
    for (int V = X; V != 0; V /= 4)
        R *= 2;
    for (;;) {
        const int V = (X / R + R) / 2;
        if (V == R || V == R + 1)
            return R;
        R = V;
    }
}

int RunCost(int Count, int MaxCodes)
{
    const int Per = MaxCodes * (MaxCodes + 1) / 2;
    int Cost = 0;
    while (Count >= Per) {
        Count -= Per;
        Cost += MaxCodes;
    }
    if (Count > 0) {
        int N = IntegerSqrt(Count);
        while (static_cast<long long>(N) * (N + 1) >= 2LL * Count)
            --N;
        while (static_cast<long long>(N) * (N + 1) < 2LL * Count)
            ++N;
        Cost += N;
    }
    return Cost;
}

void TRLEEncoder::EmitClear()
{
    FBumpLimit = FBumpStart;
    FClearLimit = FClearStart;
    FOutCount = 0;
    FTableRun = 0;
    TGIFEncoder::EmitClear();
    FCodeWidth = FInitialWidth;
}

void TRLEEncoder::SendCode(int Code)
{
    FClearFlag = false;
    PutCode(Code);
    ++FOutCount;
    if (FOutCount >= FBumpLimit) {
        FBumpLimit += 1 << FCodeWidth;
        ++FCodeWidth;
    }
    if (FOutCount >= FClearLimit)
        EmitClear();
}

void TRLEEncoder::RestoreClearLimit()
{
    FClearLimit = FClearStart;
    if (FOutCount >= FClearLimit)
        EmitClear();
}

void TRLEEncoder::SendRunFromClear(int Count)
{
    FClearLimit = FMaxCodes;
    FTablePixel = FRunPixel;
    int N = 1;
    while (Count > 0) {
        if (N == 1) {
            FTableRun = 1;
            SendCode(FRunPixel);
            --Count;
        } else if (Count >= N) {
            FTableRun = N;
            SendCode(FBaseCode + N - 2);
            Count -= N;
        } else {
            ++FTableRun;
            SendCode(Count == 1 ? FRunPixel : FBaseCode + Count - 2);
            Count = 0;
        }
        N = FOutCount == 0 ? 1 : N + 1;
    }
    RestoreClearLimit();
}

void TRLEEncoder::SendRunClearOrRepeat(int Count)
{
    if (RunCost(Count, FMaxCodes) + 1 < Count) {
        EmitClear();
        SendRunFromClear(Count);
    } else
        for (int I = 0; I < Count; ++I)
            SendCode(FRunPixel);
}

void TRLEEncoder::SendRunWithTable(int Count)
{
    int Reps = Count / FTableRun;
    int Left = Count % FTableRun;
    int Extra = Left > 0 ? 1 : 0;
    if (FOutCount + Reps + Extra > FMaxCodes) {
        Reps = FMaxCodes - FOutCount;
        Left = Count - Reps * FTableRun;
        Extra = RunCost(Left, FMaxCodes) + 1;
    }
    if (RunCost(Count, FMaxCodes) + 1 < Reps + Extra) {
        EmitClear();
        SendRunFromClear(Count);
        return;
    }
    FClearLimit = FMaxCodes;
    for (int I = 0; I < Reps; ++I)
        SendCode(FBaseCode + FTableRun - 2);
    if (Left > 0) {
        if (FClearFlag)
            SendRunFromClear(Left);
        else
            SendCode(Left == 1 ? FRunPixel : FBaseCode + Left - 2);
    }
    RestoreClearLimit();
}

void TRLEEncoder::FlushRun(int Count)
{
    if (Count == 1)
        SendCode(FRunPixel);
    else if (FClearFlag)
        SendRunFromClear(Count);
    else if (FTableRun > 1 && FTablePixel == FRunPixel)
        SendRunWithTable(Count);
    else
        SendRunClearOrRepeat(Count);
}

void TRLEEncoder::EncodePixels()
{
    FBumpStart = FClearCode - 1;
    FClearStart = FBitsPerPixel <= 3 ? 9 : FClearCode - 2;
    FMaxCodes = 4095 - FBaseCode;
    EmitClear();

    FRunPixel = -1;
    int RunLength = 0;
    do {
        const int Pixel = CurrentPixel();
        if (Pixel >= FNumColors)
            throw GIFException("Color not in color table");
        if (RunLength > 0 && Pixel != FRunPixel) {
            FlushRun(RunLength);
            RunLength = 0;
        }
        if (Pixel == FRunPixel)
            ++RunLength;
        else {
            FRunPixel = Pixel;
            RunLength = 1;
        }
    } while (NextPixel());
    FlushRun(RunLength);
}
