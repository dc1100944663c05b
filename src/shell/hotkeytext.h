#pragma once

#include <QKeyCombination>
#include <QString>

// Hot keys are kept as text in the menu short-cut form: modifier prefixes
// and the key's name, "Shift+Ctrl+H". Written with the prefixes in the order
// Shift, Ctrl, Alt; read with them in any order, names in any letter case.

// The combination the text names, or one without a key (IsHotKey false)
// when it names none: empty text, an unknown key name, modifiers alone.
QKeyCombination ParseHotKeyText(const QString& text);
QString HotKeyText(QKeyCombination keys);
// Whether the combination has a key.
bool IsHotKey(QKeyCombination keys);
// Whether the combination may be taken from the whole desktop: it has Ctrl,
// Alt or Super, or its key is an F-key; never Esc, Enter, Tab or Backspace.
// A lone letter or Shift with a letter would take that letter from every
// program.
bool IsUsableHotKey(QKeyCombination keys);
