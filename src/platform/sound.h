#pragma once

#include "storage/exception.h"

#include <QList>
#include <QString>

// A sound that cannot be played: the message names the file and the reason.
class ESoundError : public Exception {
public:
    ESoundError(QString message, QString file)
        : Exception(std::move(message), EFault::CannotPlay, std::move(file)) {}
};

// No sound can be played at all: the desktop has no audio output.
class ENoSoundDevice : public ESoundError {
public:
    explicit ENoSoundDevice(QString message) : ESoundError(std::move(message), QString()) {}
};

// A file to sound a number of times in a row.
struct TSound {
    QString file;
    int times = 1;
};

// Plays WAV files one after another without holding up the windows.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Queues the sounds in order after what is queued. Every file is
    // checked first: when one cannot be played, ESoundError is thrown at
    // once and none of them is queued. Without an audio output,
    // ENoSoundDevice is thrown and nothing counts as played.
    virtual void play(const QList<TSound>& sounds) = 0;
    void play(const QString& file, int times = 1) { play({{file, times}}); }
    // Whether the file is playing or waiting in the queue.
    virtual bool isPlaying(const QString& file) const = 0;
    // Stops the file if it plays and takes it out of the queue.
    virtual void stop(const QString& file) = 0;
};
