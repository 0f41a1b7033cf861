// Asks a window to close the way a window manager does:
// kestrel-close-request WINDOW_ID. Exits 0 once the display has taken the
// request.
#include "CloseRequest.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel-close-request WINDOW_ID\n");
        return 2;
    }
    if (!SendCloseRequest(std::strtoul(argv[1], nullptr, 0))) {
        std::fprintf(stderr, "the window %s could not be asked to close\n", argv[1]);
        return 1;
    }
    return 0;
}
