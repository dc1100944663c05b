#include "qtsoundplayer.h"

#include "trace.h"
#include "wavfile.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

void TQtSoundPlayer::play(const QList<TSound>& sounds) {
    QList<int> durations;
    for (const TSound& sound : sounds) {
        const TWavInfo info = InspectWavFile(sound.file);
        if (!info.ok)
            throw ESoundError(u"Cannot play the sound \"%1\": %2"_s.arg(sound.file, info.problem),
                              sound.file);
        durations.append(info.durationMs);
    }
    if (!m_checkedDevice) {
        m_checkedDevice = true;
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, &TQtSoundPlayer::finished);
    }
    // Until there is an output, every sound looks again: one may appear.
    if (!m_haveDevice) {
        m_haveDevice = !QMediaDevices::audioOutputs().isEmpty();
        Trace(m_haveDevice ? u"sound device: "_s + QMediaDevices::defaultAudioOutput().description()
                           : u"sound device: none"_s);
        if (!m_haveDevice)
            throw ENoSoundDevice(u"no sound device: the alarm is silent"_s);
    }
    for (qsizetype i = 0; i < sounds.size(); ++i)
        if (sounds[i].times > 0)
            m_queue.push_back(
                {QFileInfo(sounds[i].file).absoluteFilePath(), sounds[i].times, durations[i]});
    if (!m_current)
        startNext();
}

bool TQtSoundPlayer::isPlaying(const QString& file) const {
    const QString path = QFileInfo(file).absoluteFilePath();
    for (const Item& item : m_queue)
        if (item.path == path)
            return true;
    return false;
}

void TQtSoundPlayer::stop(const QString& file) {
    const QString path = QFileInfo(file).absoluteFilePath();
    if (m_current && !m_queue.empty() && m_queue.front().path == path) {
        finished(); // stops it and goes on with the rest of the queue
        stop(file);
        return;
    }
    std::erase_if(m_queue, [&](const Item& item) { return item.path == path; });
}

QSoundEffect* TQtSoundPlayer::effectFor(const QString& path) {
    QSoundEffect*& effect = m_effects[path];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
        connect(effect, &QSoundEffect::playingChanged, this, [this, effect] {
            if (effect == m_current && !effect->isPlaying())
                finished();
        });
        connect(effect, &QSoundEffect::statusChanged, this, [this, effect] {
            if (effect == m_current && effect->status() == QSoundEffect::Error)
                finished();
        });
    }
    return effect;
}

void TQtSoundPlayer::startNext() {
    if (m_queue.empty())
        return;
    const Item& item = m_queue.front();
    QSoundEffect* effect = effectFor(item.path);
    effect->setLoopCount(item.times);
    m_current = effect;
    effect->play();
    Trace(u"sound: %1 x%2"_s.arg(QFileInfo(item.path).fileName()).arg(item.times));
    // Loading, the device's start and some slack on top of the sound itself.
    m_limit.start(item.durationMs * item.times + 3000);
}

void TQtSoundPlayer::finished() {
    m_limit.stop();
    QSoundEffect* effect = std::exchange(m_current, nullptr);
    if (effect && effect->isPlaying())
        effect->stop();
    if (!m_queue.empty())
        m_queue.pop_front();
    startNext();
}
