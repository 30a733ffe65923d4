// A file system without hard links, for the tests: preloaded into the program, link()
// and linkat() fail with EPERM as they do on FAT, exFAT and some network shares.
#include <cerrno>

extern "C" {

int link(const char*, const char*) {
    errno = EPERM;
    return -1;
}

int linkat(int, const char*, int, const char*, int) {
    errno = EPERM;
    return -1;
}
}
