// Whether the terminal named by TERM has a description, asked before the screen is set up.
#pragma once

// True when the terminal database describes TERM for standard output. Asking first keeps a
// refused start clean: the screen's set-up keeps memory it never gives back when it fails.
bool terminal_described();
