#include "access/LoginDelay.h"

#include "core/UserSettings.h"

#include <QDateTime>

namespace
{

const QString kFailures = QStringLiteral("Accesso/TentativiErrati");
const QString kLastFailure = QStringLiteral("Accesso/UltimoErrore");
constexpr qint64 kLongest = 30000;

LoginDelay::Clock &testClock()
{
    static LoginDelay::Clock c;
    return c;
}

qint64 now()
{
    return testClock() ? testClock()() : QDateTime::currentMSecsSinceEpoch();
}


} // namespace

namespace LoginDelay
{

void setClock(Clock c)
{
    testClock() = std::move(c);
}

qint64 waitAfter(int failures)
{
    if (failures <= 0)
        return 0;
    if (failures > 6) // 2^5 s already passes the longest wait
        return kLongest;
    return qMin(kLongest, qint64(1000) << (failures - 1));
}

int failures()
{
    // A hand-edited or damaged value counts as no wrong tries at all rather than a lock-out.
    bool ok = false;
    const int n = UserSettings().value(kFailures).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

qint64 remaining()
{
    const qint64 wait = waitAfter(failures());
    if (wait == 0)
        return 0;
    const qint64 last = UserSettings().value(kLastFailure).toLongLong();
    const qint64 passed = now() - last;
    // A clock put back makes the time passed negative: the whole wait is still to come, but
    // never more than the longest wait.
    if (passed < 0)
        return wait;
    return qMax<qint64>(0, wait - passed);
}

void failed()
{
    UserSettings s;
    s.setValue(kFailures, qMin(failures() + 1, 1000));
    s.setValue(kLastFailure, now());
    s.sync();
}

void succeeded()
{
    UserSettings s;
    s.remove(QStringLiteral("Accesso"));
    s.sync();
}

int seconds(qint64 milliseconds)
{
    return int(qMax<qint64>(1, (milliseconds + 999) / 1000));
}

} // namespace LoginDelay
