// The one state the library shares with signal handlers: the stop flag, which makes every
// search unwind, and the count of signals, which tells a read that a signal arrived while it
// waited even when the flag was already set. Only the handler sets them; a front end clears
// the flag before each search. Answers to questions travel as return values, never here.
#pragma once

#include <csignal>

extern volatile std::sig_atomic_t stop_flag;       // 1: stop; written by the handler, cleared by
                                                   // the front ends, read by every search
extern volatile std::sig_atomic_t interrupt_count; // signals so far, wrapping; written by the
                                                   // handler alone, read by the line reader

// The handler the front ends install for the signals that stop a search: it counts the signal,
// sets the stop flag, installs itself again (where a platform resets it before the call) and
// does nothing else.
void on_stop_signal(int signal);
