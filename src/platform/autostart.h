#pragma once

#include <QString>

// The autostart entry of the desktop session:
// $XDG_CONFIG_HOME/autostart/velmorand.desktop, which starts this program on
// this home folder when the user logs in. Failures are silent: the entry is
// then simply absent.
class TAutostart {
public:
    TAutostart(QString program, QString homeFolder);

    QString entryPath() const;
    // Whether the entry is there with a command to run.
    bool isSet() const;
    void add() const;
    void remove() const;

    // The entry's Exec value: program and arguments quoted as desktop
    // entries require.
    QString execLine() const;

private:
    QString m_program;
    QString m_home;
};
