// platform/stdctrls/animate.h: TAnimate, the control that plays one of the system's short clips
// (the find-file and find-folder searches: a magnifying glass sweeping over a sheet of paper or
// a folder), frame by frame on a timer, a given number of times or until stopped.
#pragma once

#include "platform/forms/controls.h"

#include <memory>

class TTimer;

enum TCommonAVI {
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile
};

class TAnimate : public TCustomControl {
public:
    explicit TAnimate(TComponent* AOwner);
    ~TAnimate() override;

    // Choosing a clip opens it (OnOpen); a clip we have no frames for leaves the control closed.
    TCommonAVI CommonAVI() const { return FCommonAVI; }
    void SetCommonAVI(TCommonAVI Value);
    bool Open() const { return FOpen; }
    // Opening with no clip chosen raises EInvalidOperation.
    void SetOpen(bool Value);
    // Active: playing from StartFrame to StopFrame, Repetitions times (0: until stopped).
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // Frames are counted from 1; Count 0 repeats until Stop. A frame outside the clip raises
    // EInvalidOperation.
    void Play(Word FromFrame, Word ToFrame, int Count);
    void Stop();
    // Stops and shows the first frame.
    void Reset();
    void Seek(Word Frame);

    int Repetitions() const { return FRepetitions; }
    void SetRepetitions(int Value);
    Word StartFrame() const { return FStartFrame; }
    void SetStartFrame(Word Value);
    Word StopFrame() const { return FStopFrame; }
    void SetStopFrame(Word Value);
    Word FrameCount() const { return FFrameCount; }
    int FrameWidth() const { return FFrameWidth; }
    int FrameHeight() const { return FFrameHeight; }
    // The frame shown now (from 1; 0 while closed).
    Word CurrentFrame() const { return FCurrentFrame; }
    // Milliseconds between frames.
    static constexpr unsigned FrameInterval = 100;

    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    // The clip's own background shows the control's colour instead of white.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    TNotifyEvent OnOpen;
    TNotifyEvent OnClose;
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

protected:
    void Paint() override;

private:
    void OpenClip();
    void CheckFrame(Word Frame) const;
    void Tick();
    void FitSize();

    std::unique_ptr<TTimer> FTimer;
    TCommonAVI FCommonAVI = aviNone;
    bool FOpen = false;
    bool FActive = false;
    bool FCenter = true;
    bool FTransparent = true;
    bool FAutoSize = true;
    int FRepetitions = 0;
    Word FStartFrame = 1;
    Word FStopFrame = 0;
    Word FFrameCount = 0;
    int FFrameWidth = 0;
    int FFrameHeight = 0;
    Word FCurrentFrame = 0;
    // The play in progress.
    Word FPlayFrom = 0;
    Word FPlayTo = 0;
    int FPlayCount = 0;
    int FPlayed = 0;
};
