#pragma once

// Keeps a second copy of the program, started by the same user on the same machine, from running.
namespace SingleInstance {

// Takes the lock, `<application name>.lock` in this user's runtime folder or else in the user's
// cache folder, and holds it until the program ends. True only when a running copy of this
// program, started by this user on this machine, holds it; a lock that cannot be made, read or
// removed never stops a start.
bool anotherCopyRuns();

} // namespace SingleInstance
