#pragma once

#include <QByteArrayView>
#include <QString>

// What the sound service needs to know of a WAV file before it plays it.
struct TWavInfo {
    bool ok = false;
    QString problem; // why the file cannot be played, when not ok
    int durationMs = 0;
};

// Checks a RIFF/WAVE header: uncompressed PCM, 8 or 16 bits, one or two
// channels, and sound data that is all there.
TWavInfo InspectWav(QByteArrayView bytes);
// The same for a file, with "the file does not exist" and read errors.
TWavInfo InspectWavFile(const QString& path);
