// A private X server for pictures drawn without a display: an Xvfb that the program
// starts for itself, with the same software renderer as any Xvfb, and ends again.
#pragma once

#include <string>
#include <sys/types.h>

namespace fv {

struct PrivateServer {
    pid_t pid = -1;   // the Xvfb process
    std::string name; // its display name, ":N"
};

// Starts Xvfb on a free display number and waits until it accepts clients; false
// with *error ("Xvfb: reason") when it cannot.
bool startPrivateServer(PrivateServer* server, std::string* error);

// Ends the server and waits for it.
void stopPrivateServer(PrivateServer* server);

} // namespace fv
