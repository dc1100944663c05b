#pragma once

#include "records/formbuilder.h"

// The 24 fields of a contact in their fixed order (the field numbers that
// the options, the sorting, the import and the export use), with their
// labels and their places in the contact editor: two columns of 13 rows,
// rows 7 on the left and 5 on the right left empty.
inline constexpr TFormField kContactFields[] = {
    {"meno", Str::FirstName, TFormField::Line, 0, 1},
    {"priezvisko", Str::Surname, TFormField::Line, 0, 2},
    {"ulica", Str::Street, TFormField::Line, 0, 3},
    {"psc", Str::Postcode, TFormField::Line, 0, 4},
    {"mesto", Str::Town, TFormField::Line, 0, 5},
    {"stat", Str::Country, TFormField::Line, 0, 6},
    {"tel1", Str::HomePhone, TFormField::Line, 0, 8},
    {"tel2", Str::WorkPhone, TFormField::Line, 0, 9},
    {"mob1", Str::Mobile1, TFormField::Line, 0, 10},
    {"mob2", Str::Mobile2, TFormField::Line, 0, 11},
    {"mob3", Str::Mobile3, TFormField::Line, 0, 12},
    {"fax", Str::Fax, TFormField::Line, 0, 13},
    {"mail1", Str::Mail1, TFormField::Line, 1, 1},
    {"mail2", Str::Mail2, TFormField::Line, 1, 2},
    {"mail3", Str::Mail3, TFormField::Line, 1, 3},
    {"web", Str::Web, TFormField::Line, 1, 4},
    {"icq", Str::Icq, TFormField::Line, 1, 6},
    {"skype", Str::Skype, TFormField::Line, 1, 7},
    {"irc", Str::Irc, TFormField::Line, 1, 8},
    {"jabber", Str::Jabber, TFormField::Line, 1, 9},
    {"msn", Str::Msn, TFormField::Line, 1, 10},
    {"yahoo", Str::Yahoo, TFormField::Line, 1, 11},
    {"ain", Str::Aim, TFormField::Line, 1, 12},
    {"gadugadu", Str::GaduGadu, TFormField::Line, 1, 13},
};
