// platform/ui/sound.cpp: WAV parsing, the player thread, the recorder and the play calls.
#include "platform/ui/sound.h"

#include "platform/rtl/byteorder.h"
#include "platform/rtl/resources.h"
#include "platform/ui/dialogservice.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <strings.h>
#include <thread>

namespace {

constexpr int ToneRate = 22050;
constexpr double Pi = 3.14159265358979323846;

// A short 16-bit mono sine tone with soft ends, as a WAV image.
std::string ToneImage(double Frequency, int Milliseconds)
{
    const int Frames = ToneRate * Milliseconds / 1000;
    const int Ramp = ToneRate / 200;
    std::string Samples;
    Samples.reserve(static_cast<std::size_t>(Frames) * 2);
    for (int I = 0; I < Frames; ++I) {
        double Envelope = std::min(
            {1.0, static_cast<double>(I) / Ramp, static_cast<double>(Frames - 1 - I) / Ramp});
        double Value = 0.3 * Envelope * std::sin(2 * Pi * Frequency * I / ToneRate);
        AppendLE16(Samples, static_cast<std::uint16_t>(static_cast<std::int16_t>(Value * 32767)));
    }
    std::string Image = "RIFF";
    AppendLE32(Image, static_cast<std::uint32_t>(36 + Samples.size()));
    Image += "WAVEfmt ";
    AppendLE32(Image, 16);
    AppendLE16(Image, 1); // PCM
    AppendLE16(Image, 1);
    AppendLE32(Image, ToneRate);
    AppendLE32(Image, ToneRate * 2);
    AppendLE16(Image, 2);
    AppendLE16(Image, 16);
    Image += "data";
    AppendLE32(Image, static_cast<std::uint32_t>(Samples.size()));
    return Image + Samples;
}

// The system sounds: each a tone of its own pitch.
struct TAlias {
    const char* Name;
    unsigned BeepType;
    double Frequency;
};
const TAlias Aliases[] = {
    {"SystemDefault", MB_OK, 880},
    {".Default", MB_OK, 880},
    {"SystemHand", MB_ICONHAND, 440},
    {"SystemQuestion", MB_ICONQUESTION, 660},
    {"SystemExclamation", MB_ICONEXCLAMATION, 990},
    {"SystemAsterisk", MB_ICONASTERISK, 1320},
    {"Beep", 0xFFFFFFFF, 1000},
};

const TAlias* FindAlias(const std::string& Name)
{
    for (const TAlias& Alias : Aliases)
        if (strcasecmp(Alias.Name, Name.c_str()) == 0)
            return &Alias;
    return nullptr;
}

TSoundPlayer& BuiltInPlayer()
{
    static TSoundPlayer Player(ChooseSoundOutput(SoundBackEnds()));
    return Player;
}

std::atomic<ISoundService*> InstalledSound{nullptr};

std::optional<std::string> ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    if (!In)
        return std::nullopt;
    std::ostringstream Data;
    Data << In.rdbuf();
    if (In.bad())
        return std::nullopt;
    return Data.str();
}

// Hands a parsed image to the service; false when it is not a WAV we play.
bool PlayImage(std::string Source, std::string Image, unsigned Flags)
{
    TSoundRequest Request;
    Request.Source = std::move(Source);
    Request.Flags = Flags;
    Request.Image = std::make_shared<const std::string>(std::move(Image));
    if (!ParseWave(*Request.Image, Request.Wave))
        return false;
    Request.Loop = (Flags & SND_LOOP) != 0;
    Request.Async = (Flags & SND_ASYNC) != 0;
    SoundService().Play(Request);
    return true;
}

bool PlayAlias(const TAlias& Alias, unsigned Flags)
{
    return PlayImage(Alias.Name, ToneImage(Alias.Frequency, 150), Flags);
}

// The common path of the play calls once the image (or nothing) has been found.
bool PlayFound(const std::string& Source, std::optional<std::string> Image, unsigned Flags)
{
    if (Image && PlayImage(Source, std::move(*Image), Flags))
        return true;
    if (!(Flags & SND_NODEFAULT))
        PlayAlias(Aliases[0], Flags & (SND_ASYNC | SND_FILENAME | SND_ALIAS | SND_RESOURCE));
    return false;
}

// Checks shared by every play call; false when the call must fail before looking anything up.
bool Admissible(unsigned Flags)
{
    if ((Flags & SND_LOOP) && !(Flags & SND_ASYNC))
        return false; // a synchronous loop would never return
    if ((Flags & SND_NOSTOP) && SoundService().Playing())
        return false;
    return true;
}

} // namespace

bool ParseWave(std::string_view Image, TWave& Wave)
{
    if (Image.size() < 12 || Image.substr(0, 4) != "RIFF" || Image.substr(8, 4) != "WAVE")
        return false;
    // Writers that stream leave the RIFF size at 0 or at its maximum: the image bounds the
    // chunks, not that field.
    const std::size_t End = Image.size();
    std::optional<TWaveFormat> Format;
    std::optional<std::string_view> Data;
    for (std::size_t At = 12; At + 8 <= End;) {
        std::string_view Id = Image.substr(At, 4);
        std::size_t Size = ReadLE32(Image, At + 4);
        std::size_t Body = At + 8;
        std::size_t Available = End - Body;
        if (Id == "fmt ") {
            if (Size < 16 || Size > Available)
                return false;
            if (ReadLE16(Image, Body) != 1) // PCM only
                return false;
            TWaveFormat F;
            F.Channels = ReadLE16(Image, Body + 2);
            std::uint32_t Rate = ReadLE32(Image, Body + 4);
            std::uint16_t BlockAlign = ReadLE16(Image, Body + 12);
            F.BitsPerSample = ReadLE16(Image, Body + 14);
            if (F.Channels < 1 || F.Channels > 2 ||
                (F.BitsPerSample != 8 && F.BitsPerSample != 16) || Rate < 1000 || Rate > 384000 ||
                BlockAlign != F.FrameBytes())
                return false;
            F.SampleRate = static_cast<int>(Rate);
            Format = F;
        } else if (Id == "data" && !Data) {
            Data = Image.substr(Body, std::min(Size, Available));
        }
        if (Size >= Available)
            break;
        At = Body + Size + (Size & 1); // chunks are padded to an even length
    }
    if (!Format || !Data)
        return false;
    Wave.Format = *Format;
    Wave.Samples = Data->substr(0, Data->size() - Data->size() % Format->FrameBytes());
    return true;
}

TBackEndRegistry<ISoundOutput>& SoundBackEnds()
{
    static TBackEndRegistry<ISoundOutput> Registry("sound");
    return Registry;
}

TSoundOutputFactory ChooseSoundOutput(const TBackEndRegistry<ISoundOutput>& Registry)
{
    // The program has no setting that names a sound back end: the first that runs plays.
    auto Chosen = Registry.Select("", std::cerr);
    return Chosen ? Chosen->Create : nullptr;
}

ISoundService& SoundService()
{
    ISoundService* Service = InstalledSound.load();
    return Service ? *Service : BuiltInPlayer();
}

ISoundService* SetSoundService(ISoundService* Service)
{
    return InstalledSound.exchange(Service);
}

struct TSoundPlayer::TState {
    TSoundOutputFactory Factory;
    std::mutex Mutex;
    std::condition_variable Changed;
    std::optional<TSoundRequest> Next;
    // Each play and stop starts a new generation; a sound stops once its own is over.
    std::atomic<std::uint64_t> Generation{0};
    std::uint64_t NextGeneration = 0;
    std::uint64_t Finished = 0;
    bool Busy = false;
    bool Quit = false;
    std::thread Thread;

    void Run();
    void PlayOne(const TSoundRequest& Request, std::uint64_t Own);
};

void TSoundPlayer::TState::Run()
{
    std::unique_lock<std::mutex> Lock(Mutex);
    for (;;) {
        Changed.wait(Lock, [&] { return Quit || Next; });
        if (Quit)
            return;
        TSoundRequest Request = std::move(*Next);
        Next.reset();
        std::uint64_t Own = NextGeneration;
        Busy = true;
        Lock.unlock();
        PlayOne(Request, Own);
        Lock.lock();
        Busy = false;
        Finished = Own;
        Changed.notify_all();
    }
}

void TSoundPlayer::TState::PlayOne(const TSoundRequest& Request, std::uint64_t Own)
{
    std::unique_ptr<ISoundOutput> Output = Factory ? Factory() : nullptr;
    if (!Output || !Output->Open(Request.Wave.Format))
        return;
    const auto FrameBytes = static_cast<std::size_t>(Request.Wave.Format.FrameBytes());
    const std::size_t Frames = Request.Wave.FrameCount();
    // Pieces of 50 ms, so that a stop is heard promptly.
    const auto Piece = static_cast<std::size_t>(std::max(1, Request.Wave.Format.SampleRate / 20));
    do {
        for (std::size_t At = 0; At < Frames; At += Piece) {
            if (Generation.load() != Own ||
                !Output->Write(Request.Wave.Samples.data() + At * FrameBytes,
                               std::min(Piece, Frames - At))) {
                Output->Abort();
                return;
            }
        }
    } while (Request.Loop && Frames > 0 && Generation.load() == Own);
    if (Generation.load() != Own)
        Output->Abort();
    else
        Output->Drain();
}

TSoundPlayer::TSoundPlayer(TSoundOutputFactory OutputFactory) : FState(std::make_unique<TState>())
{
    FState->Factory = std::move(OutputFactory);
}

TSoundPlayer::~TSoundPlayer()
{
    {
        std::lock_guard<std::mutex> Lock(FState->Mutex);
        FState->Quit = true;
        ++FState->Generation;
    }
    FState->Changed.notify_all();
    if (FState->Thread.joinable())
        FState->Thread.join();
}

void TSoundPlayer::Play(const TSoundRequest& Request)
{
    std::unique_lock<std::mutex> Lock(FState->Mutex);
    std::uint64_t Own = ++FState->Generation;
    FState->NextGeneration = Own;
    FState->Next = Request;
    if (!FState->Thread.joinable())
        FState->Thread = std::thread([State = FState.get()] { State->Run(); });
    FState->Changed.notify_all();
    if (!Request.Async)
        FState->Changed.wait(
            Lock, [&] { return FState->Finished >= Own || FState->Generation.load() != Own; });
}

void TSoundPlayer::Stop()
{
    {
        std::lock_guard<std::mutex> Lock(FState->Mutex);
        ++FState->Generation;
        FState->Next.reset();
    }
    FState->Changed.notify_all();
}

bool TSoundPlayer::Playing()
{
    std::lock_guard<std::mutex> Lock(FState->Mutex);
    return FState->Busy || FState->Next.has_value();
}

TSoundRecorder::TSoundRecorder() : FPrevious(SetSoundService(this)) {}

TSoundRecorder::~TSoundRecorder()
{
    SetSoundService(FPrevious);
}

void TSoundRecorder::Play(const TSoundRequest& Request)
{
    TEntry Entry;
    Entry.Source = Request.Source;
    Entry.Flags = Request.Flags;
    Entry.Format = Request.Wave.Format;
    Entry.FrameCount = Request.Wave.FrameCount();
    Entry.Loop = Request.Loop;
    Entry.Async = Request.Async;
    FEntries.push_back(Entry);
    FLooping = Request.Loop;
}

void TSoundRecorder::Stop()
{
    TEntry Entry;
    Entry.Stop = true;
    FEntries.push_back(Entry);
    FLooping = false;
}

bool TSoundRecorder::Playing()
{
    return FLooping;
}

bool PlaySound(const char* Name, std::uintptr_t /*Module*/, unsigned Flags)
{
    if (!Name || (Flags & SND_PURGE)) {
        SoundService().Stop();
        return true;
    }
    if (!Admissible(Flags))
        return false;
    if ((Flags & SND_RESOURCE) == SND_RESOURCE) {
        std::optional<std::string_view> Bytes = FindResource(RT_WAVE, Name);
        return PlayFound(
            Name, Bytes ? std::optional<std::string>(std::string(*Bytes)) : std::nullopt, Flags);
    }
    if (Flags & SND_MEMORY)
        return false; // an unsized image cannot be read safely: use the sized form
    if (!(Flags & SND_FILENAME)) {
        if (const TAlias* Alias = FindAlias(Name))
            return PlayAlias(*Alias, Flags);
        if (Flags & SND_ALIAS)
            return PlayFound(Name, std::nullopt, Flags);
    }
    return PlayFound(Name, ReadFile(Name), Flags);
}

bool sndPlaySound(const char* Name, unsigned Flags)
{
    return PlaySound(Name, 0, Flags);
}

bool sndPlaySound(std::string_view Image, unsigned Flags)
{
    if (Flags & SND_PURGE) {
        SoundService().Stop();
        return true;
    }
    if (!Admissible(Flags))
        return false;
    return PlayFound("", std::string(Image), Flags | SND_MEMORY);
}

bool MessageBeep(unsigned Type)
{
    for (const TAlias& Alias : Aliases)
        if (Alias.BeepType == Type)
            return PlayAlias(Alias, SND_ASYNC);
    return false;
}
