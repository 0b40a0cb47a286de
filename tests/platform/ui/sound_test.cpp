// Tests of WAV parsing, the play calls through the recorder, the player thread over a scripted
// output, and the choice of the sound back end.
#include "platform/ui/sound.h"

#include "platform/ui/backends.h"
#include "platform/ui/dialogservice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void PutLe(std::string& Out, std::uint32_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(static_cast<char>(Value >> (8 * I) & 0xFF));
}

std::string Chunk(const std::string& Id, const std::string& Body)
{
    std::string Out = Id;
    PutLe(Out, static_cast<std::uint32_t>(Body.size()), 4);
    Out += Body;
    if (Body.size() % 2)
        Out.push_back('\0');
    return Out;
}

std::string FmtBody(int Tag, int Channels, int Rate, int Bits, int BlockAlign = -1)
{
    if (BlockAlign < 0)
        BlockAlign = Channels * Bits / 8;
    std::string Body;
    PutLe(Body, static_cast<std::uint32_t>(Tag), 2);
    PutLe(Body, static_cast<std::uint32_t>(Channels), 2);
    PutLe(Body, static_cast<std::uint32_t>(Rate), 4);
    PutLe(Body, static_cast<std::uint32_t>(Rate * BlockAlign), 4);
    PutLe(Body, static_cast<std::uint32_t>(BlockAlign), 2);
    PutLe(Body, static_cast<std::uint32_t>(Bits), 2);
    return Body;
}

std::string Riff(const std::string& Chunks)
{
    std::string Out = "RIFF";
    PutLe(Out, static_cast<std::uint32_t>(4 + Chunks.size()), 4);
    return Out + "WAVE" + Chunks;
}

std::string Pcm(int Channels, int Rate, int Bits, std::size_t Frames)
{
    return Riff(
        Chunk("fmt ", FmtBody(1, Channels, Rate, Bits)) +
        Chunk("data", std::string(Frames * static_cast<std::size_t>(Channels * Bits / 8), '\x10')));
}

TEST(WaveParser, AcceptsPcmAndRefusesWhatItCannotPlay)
{
    const std::string Valid = Pcm(1, 8000, 8, 100);
    std::string HugeData = Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8)));
    HugeData += "data";
    PutLe(HugeData, 0xFFFFFFFF, 4);
    HugeData += std::string(10, '\0');
    std::string ShortFmt = Riff("fmt ");
    PutLe(ShortFmt, 16, 4);
    ShortFmt += std::string(8, '\0');

    struct TCase {
        const char* Name;
        std::string Image;
        bool Ok;
        TWaveFormat Format;
        std::size_t Frames;
    };
    const std::vector<TCase> Cases = {
        {"8-bit mono", Valid, true, {1, 8000, 8}, 100},
        {"16-bit stereo", Pcm(2, 44100, 16, 33), true, {2, 44100, 16}, 33},
        {"odd chunk before fmt is skipped with its pad byte",
         Riff(Chunk("LIST", "abc") + Chunk("fmt ", FmtBody(1, 1, 22050, 16)) +
              Chunk("data", "abcd")),
         true,
         {1, 22050, 16},
         2},
        {"data before fmt",
         Riff(Chunk("data", "ab") + Chunk("fmt ", FmtBody(1, 2, 11025, 8))),
         true,
         {2, 11025, 8},
         1},
        {"data cut short plays the whole frames there",
         Valid.substr(0, Valid.size() - 31),
         true,
         {1, 8000, 8},
         69},
        {"data size beyond the image", HugeData, true, {1, 8000, 8}, 10},
        {"empty data", Pcm(1, 8000, 16, 0), true, {1, 8000, 16}, 0},
        {"RIFF size left at zero by a streaming writer",
         Valid.substr(0, 4) + std::string(4, '\0') + Valid.substr(8),
         true,
         {1, 8000, 8},
         100},
        {"empty image", "", false, {}, 0},
        {"header cut short", Valid.substr(0, 11), false, {}, 0},
        {"not RIFF", "RIFX" + Valid.substr(4), false, {}, 0},
        {"not WAVE", Valid.substr(0, 8) + "AVI " + Valid.substr(12), false, {}, 0},
        {"fmt cut short", ShortFmt, false, {}, 0},
        {"fmt smaller than 16",
         Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8).substr(0, 14)) + Chunk("data", "a")),
         false,
         {},
         0},
        {"float samples",
         Riff(Chunk("fmt ", FmtBody(3, 1, 8000, 32)) + Chunk("data", "abcd")),
         false,
         {},
         0},
        {"24-bit samples",
         Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 24)) + Chunk("data", "abc")),
         false,
         {},
         0},
        {"three channels",
         Riff(Chunk("fmt ", FmtBody(1, 3, 8000, 8)) + Chunk("data", "abc")),
         false,
         {},
         0},
        {"zero rate", Riff(Chunk("fmt ", FmtBody(1, 1, 0, 8)) + Chunk("data", "a")), false, {}, 0},
        {"block align disagrees",
         Riff(Chunk("fmt ", FmtBody(1, 2, 8000, 16, 2)) + Chunk("data", "abcd")),
         false,
         {},
         0},
        {"no data chunk", Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8))), false, {}, 0},
        {"no fmt chunk", Riff(Chunk("data", "abcd")), false, {}, 0},
    };
    for (const TCase& Case : Cases) {
        TWave Wave;
        ASSERT_EQ(ParseWave(Case.Image, Wave), Case.Ok) << Case.Name;
        if (!Case.Ok)
            continue;
        EXPECT_EQ(Wave.Format, Case.Format) << Case.Name;
        EXPECT_EQ(Wave.FrameCount(), Case.Frames) << Case.Name;
    }
}

class SoundFile : public testing::Test {
protected:
    void SetUp() override
    {
        char Template[] = "/tmp/tw_sound_XXXXXX";
        int Fd = mkstemp(Template);
        ASSERT_GE(Fd, 0);
        close(Fd);
        FPath = Template;
        Write(Pcm(2, 22050, 16, 441));
    }
    void TearDown() override { std::remove(FPath.c_str()); }
    void Write(const std::string& Bytes)
    {
        std::ofstream(FPath, std::ios::binary | std::ios::trunc) << Bytes;
    }
    std::string FPath;
};

TEST_F(SoundFile, RecorderSeesWhatIsPlayedAndStopped)
{
    TSoundRecorder Recorder;
    EXPECT_TRUE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_FILENAME));
    EXPECT_TRUE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_LOOP | SND_FILENAME));
    EXPECT_TRUE(Recorder.Playing());
    EXPECT_TRUE(sndPlaySound(nullptr, SND_ASYNC | SND_FILENAME));
    EXPECT_FALSE(Recorder.Playing());

    const auto& Entries = Recorder.Entries();
    ASSERT_EQ(Entries.size(), 3u);
    EXPECT_EQ(Entries[0].Source, FPath);
    EXPECT_EQ(Entries[0].Flags, SND_ASYNC | SND_FILENAME);
    EXPECT_EQ(Entries[0].Format, (TWaveFormat{2, 22050, 16}));
    EXPECT_EQ(Entries[0].FrameCount, 441u);
    EXPECT_TRUE(Entries[0].Async);
    EXPECT_FALSE(Entries[0].Loop);
    EXPECT_TRUE(Entries[1].Loop);
    EXPECT_TRUE(Entries[2].Stop);
}

TEST_F(SoundFile, SoundsThatCannotPlayFailAndFallBackToTheDefault)
{
    TSoundRecorder Recorder;
    struct TCase {
        const char* Name;
        std::function<bool()> Call;
        bool Result;
        std::vector<std::string> Played;
    };
    const std::string Missing = FPath + ".missing";
    const std::vector<TCase> Cases = {
        {"missing file",
         [&] { return sndPlaySound(Missing.c_str(), SND_ASYNC | SND_FILENAME); },
         false,
         {"SystemDefault"}},
        {"missing file, no default",
         [&] { return sndPlaySound(Missing.c_str(), SND_ASYNC | SND_FILENAME | SND_NODEFAULT); },
         false,
         {}},
        {"missing resource",
         [&] { return PlaySound("sp1", 0, SND_RESOURCE | SND_ASYNC); },
         false,
         {"SystemDefault"}},
        {"unknown alias",
         [&] { return PlaySound("NoSuchSound", 0, SND_ALIAS | SND_NODEFAULT); },
         false,
         {}},
        {"loop without async",
         [&] { return sndPlaySound(FPath.c_str(), SND_LOOP | SND_FILENAME); },
         false,
         {}},
        {"unsized memory",
         [&] { return sndPlaySound(FPath.c_str(), SND_MEMORY | SND_ASYNC); },
         false,
         {}},
        {"alias by name",
         [&] { return sndPlaySound("SystemExclamation", SND_ASYNC); },
         true,
         {"SystemExclamation"}},
        {"file by name", [&] { return sndPlaySound(FPath.c_str(), SND_ASYNC); }, true, {FPath}},
        {"sized memory",
         [&] { return sndPlaySound(std::string_view(Pcm(1, 8000, 8, 8)), SND_ASYNC); },
         true,
         {""}},
        {"malformed memory",
         [&] { return sndPlaySound(std::string_view("RIFF"), SND_ASYNC | SND_NODEFAULT); },
         false,
         {}},
    };
    for (const TCase& Case : Cases) {
        Recorder.Clear();
        EXPECT_EQ(Case.Call(), Case.Result) << Case.Name;
        std::vector<std::string> Played;
        for (const auto& Entry : Recorder.Entries())
            Played.push_back(Entry.Source);
        EXPECT_EQ(Played, Case.Played) << Case.Name;
    }

    Write("RIFF garbage that is no wave");
    Recorder.Clear();
    EXPECT_FALSE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_FILENAME | SND_NODEFAULT));
    EXPECT_TRUE(Recorder.Entries().empty());
}

TEST_F(SoundFile, NoStopFailsWhileASoundPlays)
{
    TSoundRecorder Recorder;
    ASSERT_TRUE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_LOOP | SND_FILENAME));
    EXPECT_FALSE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_NOSTOP | SND_FILENAME));
    EXPECT_EQ(Recorder.Entries().size(), 1u);
    ASSERT_TRUE(PlaySound(nullptr, 0, SND_PURGE));
    EXPECT_TRUE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_NOSTOP | SND_FILENAME));
}

TEST(MessageBeep, EachTypeHasItsSound)
{
    TSoundRecorder Recorder;
    struct TCase {
        unsigned Type;
        const char* Sound;
    };
    const std::vector<TCase> Cases = {{MB_OK, "SystemDefault"},
                                      {MB_ICONHAND, "SystemHand"},
                                      {MB_ICONQUESTION, "SystemQuestion"},
                                      {MB_ICONEXCLAMATION, "SystemExclamation"},
                                      {MB_ICONASTERISK, "SystemAsterisk"},
                                      {0xFFFFFFFF, "Beep"}};
    for (const TCase& Case : Cases) {
        Recorder.Clear();
        EXPECT_TRUE(MessageBeep(Case.Type));
        ASSERT_EQ(Recorder.Entries().size(), 1u);
        EXPECT_EQ(Recorder.Entries()[0].Source, Case.Sound);
        EXPECT_TRUE(Recorder.Entries()[0].Async);
        EXPECT_GT(Recorder.Entries()[0].FrameCount, 0u);
    }
    Recorder.Clear();
    EXPECT_FALSE(MessageBeep(0x50));
    EXPECT_TRUE(Recorder.Entries().empty());
}

// An output that takes frames at a steady pace and logs what happened to it.
class TScriptedOutput : public ISoundOutput {
public:
    struct TLog {
        std::mutex Mutex;
        std::vector<std::string> Events;
        std::atomic<std::size_t> Frames{0};
        bool DeviceMissing = false;
        void Add(const std::string& Event)
        {
            std::lock_guard<std::mutex> Lock(Mutex);
            Events.push_back(Event);
        }
        std::vector<std::string> Get()
        {
            std::lock_guard<std::mutex> Lock(Mutex);
            return Events;
        }
    };
    explicit TScriptedOutput(std::shared_ptr<TLog> Log) : FLog(std::move(Log)) {}
    bool Open(const TWaveFormat&) override
    {
        FLog->Add("open");
        return !FLog->DeviceMissing;
    }
    bool Write(const void*, std::size_t FrameCount) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        FLog->Frames += FrameCount;
        return true;
    }
    void Drain() override { FLog->Add("drain"); }
    void Abort() override { FLog->Add("abort"); }

private:
    std::shared_ptr<TLog> FLog;
};

TSoundRequest Request(const std::string& Image, bool Async, bool Loop)
{
    TSoundRequest Result;
    Result.Image = std::make_shared<const std::string>(Image);
    EXPECT_TRUE(ParseWave(*Result.Image, Result.Wave));
    Result.Async = Async;
    Result.Loop = Loop;
    return Result;
}

bool WaitUntil(const std::function<bool()>& Condition)
{
    for (int I = 0; I < 500 && !Condition(); ++I)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return Condition();
}

TEST(SoundPlayer, SynchronousPlayReturnsOnceEverythingIsHeard)
{
    auto Log = std::make_shared<TScriptedOutput::TLog>();
    TSoundPlayer Player([Log] { return std::make_unique<TScriptedOutput>(Log); });
    Player.Play(Request(Pcm(1, 8000, 8, 2000), false, false)); // five 50 ms pieces
    EXPECT_EQ(Log->Frames.load(), 2000u);
    EXPECT_EQ(Log->Get(), (std::vector<std::string>{"open", "drain"}));
    EXPECT_FALSE(Player.Playing());
}

TEST(SoundPlayer, AsynchronousLoopRunsUntilStopped)
{
    auto Log = std::make_shared<TScriptedOutput::TLog>();
    TSoundPlayer Player([Log] { return std::make_unique<TScriptedOutput>(Log); });
    Player.Play(Request(Pcm(1, 8000, 8, 800), true, true)); // returns, though the loop never ends
    ASSERT_TRUE(WaitUntil([&] { return Log->Frames.load() > 3 * 800; })) << "the loop repeats";
    EXPECT_TRUE(Player.Playing());
    Player.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !Player.Playing(); }));
    EXPECT_EQ(Log->Get(), (std::vector<std::string>{"open", "abort"}));
}

TEST(SoundPlayer, NewSoundStopsThePreviousOne)
{
    auto Log = std::make_shared<TScriptedOutput::TLog>();
    TSoundPlayer Player([Log] { return std::make_unique<TScriptedOutput>(Log); });
    Player.Play(Request(Pcm(1, 8000, 8, 800), true, true));
    ASSERT_TRUE(WaitUntil([&] { return Log->Frames.load() > 0; }));
    Player.Play(Request(Pcm(1, 8000, 8, 400), false, false));
    EXPECT_EQ(Log->Get(), (std::vector<std::string>{"open", "abort", "open", "drain"}));
    EXPECT_FALSE(Player.Playing());
}

TEST(SoundPlayer, WithoutADeviceSoundsEndAtOnce)
{
    auto Log = std::make_shared<TScriptedOutput::TLog>();
    Log->DeviceMissing = true;
    TSoundPlayer Player([Log] { return std::make_unique<TScriptedOutput>(Log); });
    Player.Play(Request(Pcm(1, 8000, 8, 8000), false, false));
    Player.Play(Request(Pcm(1, 8000, 8, 8000), true, true));
    EXPECT_TRUE(WaitUntil([&] { return !Player.Playing(); }));
    EXPECT_EQ(Log->Frames.load(), 0u);
}

TEST(SoundPlayer, PlaysAndStopsFromManyThreadsCloseEveryOutputTheyOpen)
{
    auto Log = std::make_shared<TScriptedOutput::TLog>();
    {
        TSoundPlayer Player([Log] { return std::make_unique<TScriptedOutput>(Log); });
        const std::string Loop = Pcm(1, 8000, 8, 400), Short = Pcm(1, 8000, 8, 100);
        std::vector<std::thread> Callers;
        for (int T = 0; T < 8; ++T)
            Callers.emplace_back([&, T] {
                for (int I = 0; I < 20; ++I) {
                    switch ((T + I) % 4) {
                    case 0:
                        Player.Play(Request(Loop, true, true));
                        break;
                    case 1:
                        Player.Play(Request(Short, false, false));
                        break;
                    case 2:
                        Player.Stop();
                        break;
                    default:
                        Player.Playing();
                        break;
                    }
                }
            });
        for (std::thread& Caller : Callers)
            Caller.join();
        // Still looping when the player goes: two rounds at least after what was under way.
        const std::size_t Before = Log->Frames.load();
        Player.Play(Request(Loop, true, true));
        ASSERT_TRUE(WaitUntil([&] { return Log->Frames.load() > Before + 2 * 400; }));
    }
    const std::vector<std::string> Events = Log->Get();
    const auto Opened = std::count(Events.begin(), Events.end(), "open");
    EXPECT_GT(Opened, 0);
    EXPECT_EQ(Opened, std::count(Events.begin(), Events.end(), "drain") +
                          std::count(Events.begin(), Events.end(), "abort"));
    EXPECT_EQ(Events.back(), "abort") << "the last loop is cut off";
}

TEST_F(SoundFile, BuiltInPlayerSucceedsWithOrWithoutASoundDevice)
{
    // Real output: silent on a machine without sound; a second of sound at most elsewhere.
    Write(Pcm(1, 8000, 8, 800));
    EXPECT_TRUE(sndPlaySound(FPath.c_str(), SND_SYNC | SND_FILENAME));
    EXPECT_TRUE(sndPlaySound(FPath.c_str(), SND_ASYNC | SND_LOOP | SND_FILENAME));
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
    EXPECT_TRUE(WaitUntil([] { return !SoundService().Playing(); }));
}

// A sound registry of test back ends; Scripted plays into Log.
struct TSoundBackEnds {
    TBackEndRegistry<ISoundOutput> Registry{"sound"};
    std::shared_ptr<TScriptedOutput::TLog> Log = std::make_shared<TScriptedOutput::TLog>();

    void Add(const std::string& Name, int Order, TProbeResult Probe)
    {
        Registry.Add({Name, Order, [Probe] { return Probe; },
                      [Log = Log] { return std::make_unique<TScriptedOutput>(Log); }});
    }
};

TEST(SoundPlayer, PlaysThroughTheFirstSoundBackEndThatRuns)
{
    TSoundBackEnds BackEnds;
    BackEnds.Add("scripted", 20, {});
    // Nothing is heard from a back end that cannot run.
    auto Unheard = std::make_shared<TScriptedOutput::TLog>();
    BackEnds.Registry.Add({"absent", 10,
                           [] {
                               return TProbeResult{TProbeOutcome::Absent, "no device"};
                           },
                           [Unheard] { return std::make_unique<TScriptedOutput>(Unheard); }});
    TSoundPlayer Player(ChooseSoundOutput(BackEnds.Registry));
    ISoundService* Before = SetSoundService(&Player);
    EXPECT_TRUE(sndPlaySound(Pcm(1, 8000, 8, 400), SND_SYNC));
    SetSoundService(Before);
    EXPECT_EQ(BackEnds.Log->Frames.load(), 400u);
    EXPECT_EQ(BackEnds.Log->Get(), (std::vector<std::string>{"open", "drain"}));
    EXPECT_TRUE(Unheard->Get().empty());
}

// A machine without a sound device plays nothing, and the calls still succeed for a valid sound.
TEST(SoundPlayer, WithoutASoundBackEndTheCallsSucceedSilently)
{
    TSoundBackEnds BackEnds;
    BackEnds.Add("absent", 10, {TProbeOutcome::Absent, "no device"});
    const TSoundOutputFactory None = ChooseSoundOutput(BackEnds.Registry);
    EXPECT_FALSE(None);
    TSoundPlayer Player(None);
    ISoundService* Before = SetSoundService(&Player);
    EXPECT_TRUE(sndPlaySound(Pcm(1, 8000, 8, 400), SND_SYNC));
    EXPECT_TRUE(sndPlaySound(Pcm(1, 8000, 8, 400), SND_ASYNC | SND_LOOP));
    EXPECT_TRUE(WaitUntil([&] { return !Player.Playing(); })) << "a silent loop ends at once";
    EXPECT_TRUE(MessageBeep(MB_OK));
    SetSoundService(Before);
    EXPECT_TRUE(BackEnds.Log->Get().empty());
}

} // namespace
