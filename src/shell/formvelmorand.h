#pragma once

#include <QMainWindow>

class TProgramContext;

// The main window: the program's hub and settings page.
class Tformvelmorand : public QMainWindow {
    Q_OBJECT
public:
    explicit Tformvelmorand(TProgramContext& context);

    // The start-up: the data files and the language. False when it failed;
    // the error has then been shown and the program should end.
    bool FormCreate();

private:
    TProgramContext& m_context;
};
