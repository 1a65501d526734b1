// The one flag shared with the interrupt handler: 0 = run, 1 = stop, -1 = the more? question
// waits for its answer. Any value but 0 makes the counter and the composer unwind. Beside it,
// the handler counts every interrupt, so that a read can tell that one arrived while it waited
// even when the flag was already set.
#pragma once
#include <csignal>
#include <type_traits>

static_assert(std::is_signed_v<std::sig_atomic_t>, "the stop flag holds -1");

extern volatile std::sig_atomic_t stop_flag;       // written by the handler, the more? dialogue
                                                   // and each search start; read by every search
extern volatile std::sig_atomic_t interrupt_count; // interrupts so far, wrapping; written by the
                                                   // handler alone, read by the line reader
