// The display connection of a window, for waiting on its input (kept apart from the other
// platform code: the X headers define names such as None and KeyPress as macros).
#pragma once

struct SDL_Window;

// The file descriptor of the X connection `window` lives on; -1 on other video drivers.
int displayConnectionFd(SDL_Window* window);
