#pragma once

#include <QString>

enum class WavePlayback {
    Played,
    Unreadable, // not a sound file libsndfile can decode (or no such file)
    NoDevice    // no sound device could be opened or set up; nothing was heard
};

// Plays a sound file to its end (blocking) through the default ALSA device. Without a device it
// fails within milliseconds and ALSA's own error printing stays silent.
WavePlayback PlayWaveFile(const QString &path);
