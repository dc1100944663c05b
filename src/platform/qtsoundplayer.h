#pragma once

#include "sound.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <deque>

class QSoundEffect;

// Qt Multimedia behind the sound service. The audio system is opened at the
// first sound, not at start. Each sound has a time limit from its length, so
// that a device that never reports the end cannot stop the queue.
class TQtSoundPlayer : public QObject, public ISoundPlayer {
    Q_OBJECT
public:
    using ISoundPlayer::play;
    void play(const QList<TSound>& sounds) override;
    bool isPlaying(const QString& file) const override;
    void stop(const QString& file) override;

private:
    struct Item {
        QString path;
        int times;
        int durationMs;
    };
    void startNext();
    void finished();
    QSoundEffect* effectFor(const QString& path);

    std::deque<Item> m_queue;
    QSoundEffect* m_current = nullptr; // the effect of the queue's first item while it plays
    bool m_checkedDevice = false;
    bool m_haveDevice = false;
    QHash<QString, QSoundEffect*> m_effects;
    QTimer m_limit;
};
