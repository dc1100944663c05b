#pragma once

#include "storage/datafiles.h"

#include <QStringList>

// The address book's view file, data/Addressbook.ini: 36 lines, "2.0", the
// first-run flag, the 29 option values, the group's table and caption, and
// the filter, order and direction of the list.

// The sort of key k: the filter and order clauses the list query takes.
// Key 0 lists every visible contact by order of insertion; key k lists,
// by the field k - 1, the visible contacts that have that field.
QString SortFilter(int key);
QString SortOrder(int key);

// The default option values and a first-run flag of 0; nothing else changes.
void Nastavdefauld(TAddressBookOptions& options);

QStringList AddressBookViewLines(const TModuleState& module, const TAddressBookOptions& options);

// Takes a view file's lines into the state. A file of another version, or
// one whose option values are not what the program writes, leaves the
// group and the clauses as they are and gives the defaults (and so the
// first-run notice). Filter, order and direction are taken only in the forms
// the program writes; any other takes its default.
void ReadAddressBookView(const QStringList& lines, TModuleState& module,
                         TAddressBookOptions& options);

// Reads the view file, or gives the defaults where there is none.
void Nastavadresar(TModuleState& module, TAddressBookOptions& options);
