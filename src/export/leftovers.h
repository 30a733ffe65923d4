// What runs that ended without cleaning up (a SIGKILL, a power cut) left in a folder:
// their temporaries, named ".fv-PID-N" with the run's process ID, and their copies of old
// content, ".fv-PID-N-old". The next run that writes into the folder removes those of
// this user's runs that no longer exist, and puts each copy of old content back into its
// file first, so that a file left half written gets its old content again.
#pragma once

namespace fv {

// Cleans the folder (a descriptor, O_PATH will do) of dead runs' leftovers. A folder
// that cannot be read, a name of another user's, a run still alive and a copy that
// cannot be put back are left alone.
void removeLeftovers(int folder);

} // namespace fv
