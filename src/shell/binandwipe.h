#pragma once

class QWidget;
class TProgramContext;

// The settings page's two buttons that act on every data file at once:
// notes, diary, address book, journal and birthdays, in this order. Each
// asks first, works file by file with one transaction per file, and shows
// the log of what it did in a box owned by `owner`. A failure leaves the
// file it met as it was, and the files after it untouched; the box then
// says what stopped it and what was done before.

// Empties the bin: records in the bin go for good, groups in the bin are
// dropped and their catalogue rows marked 3 (they can be neither shown nor
// restored again); then each file gives the freed space back.
void kosClick(TProgramContext& context, QWidget* owner);

// Wipes everything: keeps a copy of the five files in a dated folder beside
// data (the newest three copies stay), then drops every table of each file
// and makes it afresh with its default group, on which its window opens.
void vymazatClick(TProgramContext& context, QWidget* owner);
