#pragma once

#include <QString>
#include <span>

struct TRecordKind;

// Every kind of record the program has, in the order their windows are made.
std::span<const TRecordKind* const> RecordKinds();

// Whether the text is a last-window name: a kind's, or "velmorand".
bool IsWindowName(const QString& name);
