// Ctrl-C (and Ctrl-Break where the platform has it) stops the current search, not the program.
#pragma once

void on_interrupt(int signal);    // sets the stop flag and installs itself again
void install_interrupt_handler(); // catches the interrupt signals from now on
