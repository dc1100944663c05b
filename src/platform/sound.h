#pragma once

#include "storage/exception.h"

#include <QString>

// A sound that cannot be played: the message names the file and the reason.
class ESoundError : public Exception {
public:
    using Exception::Exception;
};

// Plays WAV files one after another without holding up the windows.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Queues the file to sound `times` times in a row after what is queued.
    // Throws ESoundError at once when the file cannot be played.
    virtual void play(const QString& file, int times = 1) = 0;
    // Whether the file is playing or waiting in the queue.
    virtual bool isPlaying(const QString& file) const = 0;
};
