// platform/ui/alsa/alsasound.cpp: the sound back end "alsa", PCM playback through libasound on
// the "default" device.
#include "platform/ui/sound.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <mutex>

namespace {

// The library reports every failed open on stderr; a machine without sound is normal here.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

class TAlsaOutput : public ISoundOutput {
public:
    ~TAlsaOutput() override { Close(); }

    bool Open(const TWaveFormat& Format) override
    {
        static std::once_flag Silenced;
        std::call_once(Silenced, [] { snd_lib_error_set_handler(Quiet); });
        Close();
        // Opened without blocking, so a busy device fails instead of waiting; writes block.
        if (snd_pcm_open(&FPcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
            FPcm = nullptr;
            return false;
        }
        FFrameBytes = static_cast<std::size_t>(Format.FrameBytes());
        snd_pcm_format_t Sample =
            Format.BitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        if (snd_pcm_nonblock(FPcm, 0) < 0 ||
            snd_pcm_set_params(FPcm, Sample, SND_PCM_ACCESS_RW_INTERLEAVED,
                               static_cast<unsigned>(Format.Channels),
                               static_cast<unsigned>(Format.SampleRate), 1, 100000) < 0) {
            Close();
            return false;
        }
        return true;
    }

    bool Write(const void* Frames, std::size_t FrameCount) override
    {
        const auto* At = static_cast<const unsigned char*>(Frames);
        while (FPcm && FrameCount > 0) {
            snd_pcm_sframes_t Written = snd_pcm_writei(FPcm, At, FrameCount);
            if (Written < 0) {
                if (snd_pcm_recover(FPcm, static_cast<int>(Written), 1) < 0)
                    return false;
                continue;
            }
            if (Written == 0 && snd_pcm_wait(FPcm, 1000) < 0)
                return false;
            At += static_cast<std::size_t>(Written) * FFrameBytes;
            FrameCount -= static_cast<std::size_t>(Written);
        }
        return FPcm != nullptr;
    }

    void Drain() override
    {
        if (FPcm)
            snd_pcm_drain(FPcm);
        Close();
    }

    void Abort() override
    {
        if (FPcm)
            snd_pcm_drop(FPcm);
        Close();
    }

private:
    void Close()
    {
        if (FPcm)
            snd_pcm_close(FPcm);
        FPcm = nullptr;
    }

    snd_pcm_t* FPcm = nullptr;
    std::size_t FFrameBytes = 0;
};

// No probe: each sound opens the device, and one that is missing or busy leaves only that sound
// silent; a probe at start-up would silence the whole run for a device busy at that moment.
const TBackEndRegistration<ISoundOutput>
    Registration(SoundBackEnds(),
                 {"alsa", 100, nullptr, [] { return std::make_unique<TAlsaOutput>(); }});

} // namespace

TARNWICK_BACKEND_ANCHOR(alsa);
