// The server of the web page: `karvel1 serve [DIR] [--port N]` serves the
// page and its API (server/workdir.h) for the working directory DIR on
// 127.0.0.1 only, until it is interrupted.
//
// Every request must carry the token the server prints (header X-Token or
// query parameter token) and a Host header that names the loopback address
// with the server's port; otherwise 403.  Bodies over 1 MB: 413.  A known
// path asked with another method: 405; an unknown path: 404.  At most as
// many computations run at once as the machine has cores; at most 16 more
// wait; beyond them the answer is 503.  Every answer of the API is JSON,
// errors as {"ok": false, "message": ...}.
#pragma once

#include <string>

namespace server {

struct Options {
    std::string dir = ".";    // the working directory, as given
    int port = 0;             // 0: a free port
    int computations = 0;     // at once (0: the number of cores)
    int queue = 16;           // computations that may wait
};

// Enters the working directory, binds 127.0.0.1:port, prints the line
// "Serving DIR at http://127.0.0.1:PORT/?token=TOKEN" on standard output
// and serves until SIGINT or SIGTERM.  Returns the exit status: 0 after an
// interruption, 1 when the directory cannot be entered or the port bound
// (the message on standard error).
int serve(const Options& options);

// The command line of karvel1-serve (and of `karvel1 serve`): [DIR]
// [--port N]; exit status 2 after wrong usage.
int serveCommandLine(int argc, char** argv);

}  // namespace server
