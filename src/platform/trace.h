#pragma once

#include <QString>

// A line for the end-to-end tests and for diagnosis: appended, with the
// time, to the file that $VELMORAND_TRACE names. Without it, nothing.
void Trace(const QString& line);
// Whether lines are written at all.
bool Tracing();
