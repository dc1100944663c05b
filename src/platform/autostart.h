#pragma once

#include <QString>

// The autostart entry of the desktop session:
// $XDG_CONFIG_HOME/autostart/velmorand.desktop, which starts this program on
// a home folder when the user logs in. The entry is the user's, one for all
// home folders: this home counts it as set only when it starts this home,
// and removes it only then. Failures are silent: the entry is then simply
// absent.
class TAutostart {
public:
    TAutostart(QString program, QString homeFolder);

    QString entryPath() const;
    // Whether the entry is there and starts this home folder.
    bool isSet() const;
    // Writes the entry for this home folder.
    void add() const;
    // Removes the entry if it starts this home folder.
    void remove() const;
    // The home folder the entry starts (its Exec's --home), empty for none.
    QString entryHome() const;

    // The entry's Exec value: program and arguments quoted as desktop
    // entries require.
    QString execLine() const;

private:
    QString m_program;
    QString m_home;
};
