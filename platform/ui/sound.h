// platform/ui/sound.h: playing WAV sounds and message beeps. The calls resolve and parse the
// sound, then hand it to one replaceable sound service: the player thread with the output of the
// sound back end chosen at the first sound, or a recorder in tests.
//
// A machine without a sound device plays nothing, and the calls still succeed for a valid sound:
// the program behaves the same with or without speakers.
#pragma once

#include "platform/ui/backends.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum : unsigned {
    SND_SYNC = 0x0,         // returns once the sound has played
    SND_ASYNC = 0x1,        // returns at once
    SND_NODEFAULT = 0x2,    // no default sound when the named one cannot be played
    SND_MEMORY = 0x4,       // the sound is a WAV image in memory
    SND_LOOP = 0x8,         // repeats until stopped; needs SND_ASYNC
    SND_NOSTOP = 0x10,      // fails instead of stopping a sound that is playing
    SND_PURGE = 0x40,       // stops what is playing
    SND_ALIAS = 0x10000,    // the name is a system sound ("SystemExclamation", ...)
    SND_FILENAME = 0x20000, // the name is a file
    SND_RESOURCE = 0x40004, // the name is an embedded RT_WAVE resource
};

struct TWaveFormat {
    int Channels = 0;      // 1 or 2
    int SampleRate = 0;    // frames per second
    int BitsPerSample = 0; // 8 (unsigned) or 16 (signed little-endian)
    int FrameBytes() const { return Channels * BitsPerSample / 8; }
    friend bool operator==(const TWaveFormat&, const TWaveFormat&) = default;
};

// A parsed RIFF WAVE image: Samples views the image's data chunk (whole frames only).
struct TWave {
    TWaveFormat Format;
    std::string_view Samples;
    std::size_t FrameCount() const
    {
        return Format.FrameBytes() > 0
                   ? Samples.size() / static_cast<std::size_t>(Format.FrameBytes())
                   : 0;
    }
};

// Parses a RIFF WAVE image of PCM samples (8 or 16 bits, 1 or 2 channels). Every chunk is
// bounded by the image; a data chunk cut short plays the whole frames that are there. False
// for anything else: not RIFF WAVE, no complete "fmt " chunk, another coding, no data chunk.
bool ParseWave(std::string_view Image, TWave& Wave);

// What the service is asked to play. Image holds the whole WAV image; Wave views into it.
struct TSoundRequest {
    std::string Source; // the file, resource or alias name; "" for memory
    unsigned Flags = 0; // as passed by the caller
    std::shared_ptr<const std::string> Image;
    TWave Wave;
    bool Loop = false;
    bool Async = false;
};

class ISoundService {
public:
    virtual ~ISoundService() = default;
    // Stops what plays and plays Request; returns only when it has played unless Async.
    virtual void Play(const TSoundRequest& Request) = 0;
    virtual void Stop() = 0;
    // True while a sound (a loop included) is playing.
    virtual bool Playing() = 0;
};

// The service in use, never null; null restores the built-in player.
ISoundService& SoundService();
ISoundService* SetSoundService(ISoundService* Service);

// The device a player writes to: the back end's, or a test's.
class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;
    // False when there is no device or it refuses the format.
    virtual bool Open(const TWaveFormat& Format) = 0;
    // Blocks until the frames are queued; false when the device failed.
    virtual bool Write(const void* Frames, std::size_t FrameCount) = 0;
    // Waits until what was queued has been heard, then closes.
    virtual void Drain() = 0;
    // Drops what was queued and closes.
    virtual void Abort() = 0;
};

using TSoundOutputFactory = std::function<std::unique_ptr<ISoundOutput>()>;

// The sound back ends, each registered by its folder (platform/ui/alsa/); a build without any
// plays nothing.
TBackEndRegistry<ISoundOutput>& SoundBackEnds();
// The outputs of the first of Registry's back ends that can run here; null when none can, which
// leaves the player silent.
TSoundOutputFactory ChooseSoundOutput(const TBackEndRegistry<ISoundOutput>& Registry);

// Plays on a thread of its own, so asynchronous sounds never hold up the caller. A new sound
// stops the previous one; a loop plays until stopped. Without a device (Open fails) the sound
// ends at once.
class TSoundPlayer : public ISoundService {
public:
    explicit TSoundPlayer(TSoundOutputFactory OutputFactory);
    ~TSoundPlayer() override;
    TSoundPlayer(const TSoundPlayer&) = delete;
    TSoundPlayer& operator=(const TSoundPlayer&) = delete;

    void Play(const TSoundRequest& Request) override;
    void Stop() override;
    bool Playing() override;

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// For tests: installed while it lives; records every play and stop instead of sounding.
class TSoundRecorder : public ISoundService {
public:
    struct TEntry {
        bool Stop = false; // a stop rather than a play
        std::string Source;
        unsigned Flags = 0;
        TWaveFormat Format;
        std::size_t FrameCount = 0;
        bool Loop = false;
        bool Async = false;
    };

    TSoundRecorder();
    ~TSoundRecorder() override;
    TSoundRecorder(const TSoundRecorder&) = delete;
    TSoundRecorder& operator=(const TSoundRecorder&) = delete;

    void Play(const TSoundRequest& Request) override;
    void Stop() override;
    // A recorded loop counts as playing until a stop or another play.
    bool Playing() override;

    const std::vector<TEntry>& Entries() const { return FEntries; }
    void Clear() { FEntries.clear(); }

private:
    ISoundService* FPrevious = nullptr;
    std::vector<TEntry> FEntries;
    bool FLooping = false;
};

// Plays Name (by SND_FILENAME, SND_ALIAS or SND_RESOURCE, else an alias when one is known by
// that name, else a file). A null Name, or SND_PURGE, stops what plays. True when the sound
// plays; false for a sound that cannot be found or parsed (the default sound plays instead
// unless SND_NODEFAULT), for SND_NOSTOP while a sound plays, for SND_LOOP without SND_ASYNC,
// and for SND_MEMORY, whose image needs the sized form below. Module is not used: the program's
// resources are its only ones.
bool PlaySound(const char* Name, std::uintptr_t Module, unsigned Flags);
bool sndPlaySound(const char* Name, unsigned Flags);
// Plays a WAV image held in memory (SND_MEMORY implied); the image is copied.
bool sndPlaySound(std::string_view Image, unsigned Flags);
// Plays the sound of an MB_ICON* type, of MB_OK (the default sound) or of 0xFFFFFFFF (a plain
// beep), asynchronously: a short tone of its own pitch. False for another type.
bool MessageBeep(unsigned Type);
