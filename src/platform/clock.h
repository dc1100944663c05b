#pragma once

#include <QDateTime>

// The time of day as the user's wall clock shows it, as a moment without a
// time zone (see storage/datetimetext.h).
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
};

class TSystemClock : public IClock {
public:
    QDateTime now() const override;
};
