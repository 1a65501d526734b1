// The dialogue's one line reader: every answer is read through read_line.
#pragma once

#include <csignal>

// Flushes stdout, empties buf, then reads one line like std::fgets: at most size - 1 bytes,
// the line feed kept when it fits, the rest left for the next read. Returns the number of
// bytes taken (NUL bytes count like any other). 0 means that nothing could be read: input has
// ended, or reading failed (standard input a directory, say); callers take both as the end of
// input. An interrupt while the read waits is neither.
int read_line(char* buf, int size);

// The rule read_line keeps, apart from the stream: bytes come from read_byte (EOF at the end).
// When a read ends with nothing, wait(count) is called with the interrupt count from before
// that read; if the count has moved by then, an interrupt ended the read, and it is read again.
int read_line_from(char* buf, int size, int (*read_byte)(), void (*wait)(std::sig_atomic_t));
