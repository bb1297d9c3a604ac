/* Test-only preload library: lets the modem-control ioctls (TIOCMGET,
 * TIOCMBIS, TIOCMBIC, TIOCMSET) succeed on a pseudo-terminal, which has no
 * modem lines and refuses them. Clients that drop and raise DTR before
 * talking to a phone then get past their start-up. Other descriptors and
 * requests go to the real ioctl unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdarg.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>

typedef int (*IoctlFunction)(int, unsigned long, ...);

/* Unix 98 pseudo-terminal slaves have major numbers 136-143. */
static int isPseudoTerminal(int fd) {
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 &&
           major(info.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...) {
    static IoctlFunction realIoctl;
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (!realIoctl) {
        realIoctl = (IoctlFunction)dlsym(RTLD_NEXT, "ioctl");
    }
    if ((request == TIOCMGET || request == TIOCMBIS || request == TIOCMBIC ||
         request == TIOCMSET) &&
        isPseudoTerminal(fd)) {
        if (request == TIOCMGET && argument) {
            /* The lines a phone connected by cable shows. */
            *(int*)argument = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
        }
        return 0;
    }
    return realIoctl(fd, request, argument);
}
