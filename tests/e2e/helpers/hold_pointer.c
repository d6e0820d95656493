/* Holds the X pointer grabbed, as another program on a desktop may: a full-screen mode, which must
   grab it too, is then refused, while windows work. Prints "held" once it holds it, then waits to be
   killed. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <unistd.h>

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    int result = XGrabPointer(display, DefaultRootWindow(display), False, ButtonPressMask, GrabModeAsync,
                              GrabModeAsync, None, None, CurrentTime);
    XSync(display, False);
    if (result != GrabSuccess)
        return 3;
    printf("held\n");
    fflush(stdout);
    for (;;)
        pause();
}
