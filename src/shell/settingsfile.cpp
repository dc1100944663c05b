#include "settingsfile.h"

#include "hotkeytext.h"
#include "recordkinds.h"

using namespace Qt::Literals::StringLiterals;

bool ReadSettingsLines(const QStringList& lines, TSettings& settings, bool* modeRead) {
    if (lines.value(0) != TSettings::Version)
        return false;
    const TSettings defaults;
    const auto line = [&](int number) { return lines.value(number - 1); };
    const auto flag = [&](int number, bool fallback) {
        const QString text = line(number);
        return text.isEmpty() ? fallback : !text.endsWith(u'0');
    };

    settings.lastWindow = IsWindowName(line(2)) ? line(2) : defaults.lastWindow;
    settings.oknozdiara = flag(3, defaults.oknozdiara);
    settings.autoupdate = flag(4, defaults.autoupdate);
    const QString mode = line(5);
    bool read = true;
    if (mode.isEmpty())
        settings.mode = defaults.mode;
    else if (mode.back() >= u'0' && mode.back() <= u'3')
        settings.mode = mode.back().unicode() - u'0';
    else
        read = false;
    if (modeRead)
        *modeRead = read;
    settings.skrytokno = flag(6, defaults.skrytokno);
    // An empty hot-key line is a hot key the user removed; one that names no
    // combination is kept as it is, registered as nothing, written back.
    const auto hotKey = [&](int number, const QString& fallback) {
        return number > lines.size() ? fallback : line(number);
    };
    settings.hotKey1 = hotKey(7, defaults.hotKey1);
    settings.hotKey2 = hotKey(8, defaults.hotKey2);
    settings.language = line(9).isEmpty() ? defaults.language : line(9);
    return true;
}

QStringList SettingsLines(const TSettings& settings) {
    return {TSettings::Version,
            settings.lastWindow,
            settings.oknozdiara ? u"Reminderwindows: 1"_s : u"Reminderwindow: 0"_s,
            settings.autoupdate ? u"Autoupdate: 1"_s : u"Autoupdate: 0"_s,
            u"Anounce: "_s + QString::number(settings.mode),
            settings.skrytokno ? u"Hide: 1"_s : u"Hide: 0"_s,
            settings.hotKey1,
            settings.hotKey2,
            settings.language};
}
