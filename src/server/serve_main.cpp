// karvel1-serve: the server of the web page, which `karvel1 serve` starts.
#include "server/server.h"

int main(int argc, char** argv) { return server::serveCommandLine(argc, argv); }
