#pragma once

class QWidget;
struct TOwnSettings;

// Shows an editor or dialog at the size its kind (its object name) had
// when it last closed, kept in the program's own settings; the first time
// at the size its content asks for. Never larger than the screen's free
// room, never smaller than its content needs.
void ShowAtKeptSize(QWidget* window, TOwnSettings& own);
