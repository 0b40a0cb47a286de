// platform/stdctrls/progressbar.h: TProgressBar, the class library's progress bar on the
// "msctls_progress32" window class: a 32-bit Min, Max and Position (kept within Min..Max), a
// Step for StepIt, across or upwards, in blocks or smooth.
#pragma once

#include "platform/forms/controls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    ~TProgressBar() override;

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);

    // Moves on by Step; past Max it starts over from Min.
    void StepIt();
    void StepBy(int Delta);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefaultHandler(TMessage& Message) override;

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void SetParams(int AMin, int AMax);

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0; // kept while there is no window
    int FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
};
