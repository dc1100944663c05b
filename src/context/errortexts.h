#pragma once

#include <QString>

class Exception;
class TLanguageTable;

// What the user reads when an error ends a command: a sentence in the
// interface language saying what went wrong and with which file, never the
// statement or the library's own words.
QString ErrorText(const Exception& error, const TLanguageTable& strings);
