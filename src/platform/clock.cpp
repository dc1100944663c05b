#include "clock.h"

#include "storage/datetimetext.h"

QDateTime TSystemClock::now() const {
    const QDateTime local = QDateTime::currentDateTime();
    return Moment(local.date(), local.time());
}
