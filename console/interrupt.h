// Ctrl-C (and Ctrl-Break where the platform has it) stops the current search, not the program.
#pragma once

#include <csignal>

void install_interrupt_handler(); // catches the interrupt signals from now on

// At a Windows console, Ctrl-C and Ctrl-Break end a pending read as if input had ended, and the
// handler runs on a thread of its own, perhaps a moment after the read has returned. This gives
// it that moment, and when the interrupt count has moved past count_before it readies standard
// input for another read. Elsewhere an interrupt never ends a read, and this does nothing.
void await_console_interrupt(std::sig_atomic_t count_before);
