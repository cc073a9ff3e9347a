#pragma once

#include <QDateTime>

#include <functional>

class QLockFile;

// Keeps a second copy of the program, started by the same user on the same machine, from running.
namespace SingleInstance {

// Takes the lock, `<application name>.lock` in this user's runtime folder or else in the user's
// cache folder, and holds it until the program ends. True only when a running copy of this
// program holds it; a lock that cannot be made never stops a start.
bool anotherCopyRuns();

// The current moment, by which the age of a lock file still being made is told.
using Clock = std::function<QDateTime()>;

// The same with this lock, which this copy holds afterwards whenever the answer is false and a
// lock could be made.
bool anotherCopyRuns(
    QLockFile &lock, const Clock &now = [] { return QDateTime::currentDateTime(); });

} // namespace SingleInstance
