#pragma once

#include "storage/datafiles.h"

#include <QString>
#include <span>

struct TRecordKind;
class TProgramContext;

// Every kind of record the program has, in the order of their F-keys, which
// is the order their windows are made and their files are visited.
std::span<const TRecordKind* const> RecordKinds();

// Adds a kind after the others for as long as it lives (a kind a test makes).
class TRecordKindRegistration {
public:
    explicit TRecordKindRegistration(const TRecordKind& kind);
    ~TRecordKindRegistration();
    TRecordKindRegistration(const TRecordKindRegistration&) = delete;
    TRecordKindRegistration& operator=(const TRecordKindRegistration&) = delete;

private:
    const TRecordKind& m_kind;
};

// Whether the text is a last-window name: a kind's, or "velmorand".
bool IsWindowName(const QString& name);

// The caption of the kind's default group in the current language; empty
// for a kind without groups.
QString DefaultCaption(const TRecordKind& kind, const TProgramContext& context);

// Every kind's data file made where missing, each kind on its default group;
// the files that could not be made are listed.
QList<TDataFileFailure> CreateDataFiles(TProgramContext& context);
