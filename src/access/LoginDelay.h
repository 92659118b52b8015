#pragma once

#include <QtGlobal>

#include <functional>

// The wait after wrong passwords: 1 s after the first, then twice as long after each further
// one, at most 30 s. The count and the time of the last wrong try are kept in the user's
// settings, so a restart does not reset them; the password store itself is left as it is.
// It slows down guessing at the keyboard; it is no protection for the files themselves.
namespace LoginDelay
{

// Milliseconds since the epoch; tests put a clock of their own in its place.
using Clock = std::function<qint64()>;
void setClock(Clock clock); // an empty clock restores the system's

// The wait that follows `failures` wrong tries in a row.
qint64 waitAfter(int failures);

// Milliseconds still to wait before a password may be checked; 0 when it may be now.
qint64 remaining();
// A wrong password was typed now.
void failed();
// The right password was typed: the count starts again.
void succeeded();
int failures();

// Whole seconds to tell the user for `milliseconds`, never 0.
int seconds(qint64 milliseconds);

} // namespace LoginDelay
