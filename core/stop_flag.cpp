// The library's inputs from the front ends: the stop flag and the interrupt count, written by
// their signal handlers and the more? question, read by every search and by the line reader.
#include "core/stop_flag.h"

volatile std::sig_atomic_t stop_flag;
volatile std::sig_atomic_t interrupt_count;
