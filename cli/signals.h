// The commands stop on Ctrl-C, Ctrl-Break, SIGTERM and SIGHUP alike: the search ends, what was
// found is written, temporary files are removed, and the status is 1.
#pragma once

void install_stop_signals(); // from now on those signals set the stop flag
bool stopped_by_signal();    // one of them has arrived since install_stop_signals
