#pragma once

#include <QHash>
#include <QSize>
#include <QString>

// The settings this program has beyond those of Velmorand.ini, which stays
// as the Windows program writes it: a file of their own in the home folder,
// velmorand.conf, which the Windows program never reads. A missing or
// damaged file gives the defaults.
struct TOwnSettings {
    static inline const QString FileName = QStringLiteral("velmorand.conf");

    // Closing the main window leaves the program in the notification area.
    bool closeToTray = true;

    // A record window's reading pane: shown or not, and the list's share of
    // the room beside (or above) it. By the window's name.
    struct Pane {
        bool shown = true;
        double listShare = 0.4;
    };
    QHash<QString, Pane> panes;
    // The size an editor or dialog had when it last closed, by its name.
    QHash<QString, QSize> sizes;

    // Reads the file of the working folder (the home folder).
    void load();
    // Writes it; false when it cannot be written.
    bool save() const;
};
