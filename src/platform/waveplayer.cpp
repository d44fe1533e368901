#include "platform/waveplayer.h"

#include <QFile>
#include <alsa/asoundlib.h>
#include <sndfile.h>
#include <vector>

namespace {

// ALSA prints every failure to stderr by default; a missing sound card is an expected state here.
void silentAlsaError(const char *, int, const char *, int, const char *, ...) {}

class SoundFile {
public:
    explicit SoundFile(const QString &path) {
        m_file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &m_info);
    }
    ~SoundFile() {
        if (m_file)
            sf_close(m_file);
    }
    SoundFile(const SoundFile &) = delete;
    SoundFile &operator=(const SoundFile &) = delete;

    SNDFILE *get() const { return m_file; }
    const SF_INFO &info() const { return m_info; }

private:
    SF_INFO m_info{};
    SNDFILE *m_file = nullptr;
};

class Pcm {
public:
    Pcm() {
        snd_lib_error_set_handler(&silentAlsaError);
        // Non-blocking open: a device held by another program fails at once instead of waiting.
        if (snd_pcm_open(&m_pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
            m_pcm = nullptr;
        else
            snd_pcm_nonblock(m_pcm, 0);
    }
    ~Pcm() {
        if (m_pcm)
            snd_pcm_close(m_pcm);
    }
    Pcm(const Pcm &) = delete;
    Pcm &operator=(const Pcm &) = delete;

    snd_pcm_t *get() const { return m_pcm; }

private:
    snd_pcm_t *m_pcm = nullptr;
};

} // namespace

WavePlayback PlayWaveFile(const QString &path) {
    SoundFile sound(path);
    const SF_INFO &info = sound.info();
    if (!sound.get() || info.channels <= 0 || info.samplerate <= 0)
        return WavePlayback::Unreadable;

    Pcm pcm;
    if (!pcm.get())
        return WavePlayback::NoDevice;
    constexpr unsigned kLatencyUs = 200000;
    if (snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(info.channels), unsigned(info.samplerate), 1, kLatencyUs) < 0)
        return WavePlayback::NoDevice;

    constexpr sf_count_t kFrames = 4096;
    std::vector<short> buffer(size_t(kFrames) * size_t(info.channels));
    for (;;) {
        const sf_count_t frames = sf_readf_short(sound.get(), buffer.data(), kFrames);
        if (frames <= 0)
            break;
        sf_count_t done = 0;
        while (done < frames) {
            const snd_pcm_sframes_t written = snd_pcm_writei(
                pcm.get(), buffer.data() + done * info.channels, snd_pcm_uframes_t(frames - done));
            if (written < 0) {
                // An underrun or a suspend: recover once and go on; anything else ends playback.
                if (snd_pcm_recover(pcm.get(), int(written), 1) < 0)
                    return WavePlayback::NoDevice;
                continue;
            }
            done += written;
        }
    }
    snd_pcm_drain(pcm.get());
    return WavePlayback::Played;
}
