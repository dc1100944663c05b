#pragma once

#include <QStringList>

class QWidget;
class TProgramContext;

// The data files hold text in the Windows-1250 code page, which lacks most
// of the world's letters; such a character is stored as "?". Before texts
// are stored, the characters that would be lost are named and the user
// chooses: store them so (Yes), or go back and change them (No, the
// default). True when nothing would be lost or the user chose to store.
bool MayStore(TProgramContext& context, QWidget* owner, const QStringList& texts);
