// The animation: the find-file and find-folder clips opened by choosing them, frames advanced
// on the timer over virtual time for the repetitions asked, the events, frame errors, and two
// frames against golden pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/animate.h"

namespace {

class AnimateTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        Clip = Place<TAnimate>(10, 10, 100, 80);
        Clip->OnOpen = [this](TObject*) { Log += "open "; };
        Clip->OnClose = [this](TObject*) { Log += "close "; };
        Clip->OnStart = [this](TObject*) { Log += "start "; };
        Clip->OnStop = [this](TObject*) { Log += "stop "; };
    }
    // The frames seen after each of Ticks timer periods.
    std::vector<int> Run(int Ticks)
    {
        std::vector<int> Seen;
        for (int I = 0; I < Ticks; ++I) {
            Time.Advance(TAnimate::FrameInterval);
            Pump();
            Seen.push_back(Clip->CurrentFrame());
        }
        return Seen;
    }

    TAnimate* Clip = nullptr;
    std::string Log;
};

} // namespace

TEST_F(AnimateTest, ChoosingAClipOpensItAtItsSize)
{
    struct TCase {
        TCommonAVI Clip;
        bool Opens;
    };
    for (const TCase& C : {TCase{aviFindFile, true}, TCase{aviFindFolder, true},
                           TCase{aviFindComputer, false}, TCase{aviNone, false}}) {
        Clip->SetCommonAVI(C.Clip);
        EXPECT_EQ(Clip->Open(), C.Opens) << C.Clip;
        EXPECT_EQ(Clip->FrameCount() > 0, C.Opens) << C.Clip;
        if (C.Opens) {
            EXPECT_EQ(Clip->Width(), Clip->FrameWidth());
            EXPECT_EQ(Clip->Height(), Clip->FrameHeight());
            EXPECT_EQ(Clip->StartFrame(), 1);
            EXPECT_EQ(Clip->StopFrame(), Clip->FrameCount());
        }
    }
    EXPECT_EQ(Log, "open close open close ");
    EXPECT_THROW(Clip->SetOpen(true), EInvalidOperation);
    EXPECT_THROW(Clip->Play(1, 1, 1), EInvalidOperation);
}

TEST_F(AnimateTest, PlayShowsTheFramesForTheRepetitionsAsked)
{
    Clip->SetCommonAVI(aviFindFile);
    Log.clear();
    struct TCase {
        Word From, To;
        int Count;
        int Ticks;
        std::vector<int> Want;
        bool ActiveAfter;
    };
    const std::vector<TCase> Cases = {
        {2, 4, 1, 4, {3, 4, 4, 4}, false},
        {1, 3, 2, 7, {2, 3, 1, 2, 3, 3, 3}, false},
        {5, 6, 0, 6, {6, 5, 6, 5, 6, 5}, true}, // until stopped
        {7, 7, 3, 4, {7, 7, 7, 7}, false},
    };
    for (const TCase& C : Cases) {
        Clip->Play(C.From, C.To, C.Count);
        EXPECT_EQ(Clip->CurrentFrame(), C.From);
        EXPECT_EQ(Run(C.Ticks), C.Want) << C.From << "-" << C.To << " x" << C.Count;
        EXPECT_EQ(Clip->Active(), C.ActiveAfter);
        Clip->Stop();
    }
    EXPECT_EQ(Log, "start stop start stop start stop start stop ");
}

TEST_F(AnimateTest, ActiveRepeatsTheChosenFramesUntilStopped)
{
    Clip->SetCommonAVI(aviFindFolder);
    Clip->SetStartFrame(11);
    Clip->SetActive(true);
    EXPECT_EQ(Run(5), (std::vector<int>{12, 11, 12, 11, 12}));
    Clip->SetActive(false);
    EXPECT_EQ(Run(2), (std::vector<int>{12, 12}));
    Clip->Seek(3);
    EXPECT_EQ(Clip->CurrentFrame(), 3);
    Clip->SetRepetitions(1);
    Clip->SetActive(true);
    EXPECT_EQ(Clip->CurrentFrame(), 11);
    Run(3);
    EXPECT_FALSE(Clip->Active());
    Clip->Reset();
    EXPECT_EQ(Clip->CurrentFrame(), 1);
}

TEST_F(AnimateTest, FramesOutsideTheClipRaise)
{
    Clip->SetCommonAVI(aviFindFile);
    const Word Last = Clip->FrameCount();
    EXPECT_THROW(Clip->Play(0, 2, 1), EInvalidOperation);
    EXPECT_THROW(Clip->Play(1, static_cast<Word>(Last + 1), 1), EInvalidOperation);
    EXPECT_THROW(Clip->Play(4, 3, 1), EInvalidOperation);
    EXPECT_THROW(Clip->Seek(0), EInvalidOperation);
    EXPECT_THROW(Clip->SetStopFrame(static_cast<Word>(Last + 1)), EInvalidOperation);
    EXPECT_FALSE(Clip->Active());
}

TEST_F(AnimateTest, FramesLookAsTheGlassSweepsOverThePaper)
{
    Clip->SetCommonAVI(aviFindFile);
    Clip->SetActive(true);
    Pump();
    struct TCase {
        int Ticks;
        const char* File;
    };
    for (const TCase& C :
         {TCase{0, "animate_findfile_1.png"}, TCase{4, "animate_findfile_5.png"}}) {
        Run(C.Ticks);
        TRasterDevice Device(Clip->Width(), Clip->Height());
        CopyWindowPicture(Clip->Handle(), Device, 0, 0);
        ExpectMatchesGolden(Device, C.File);
    }
}
