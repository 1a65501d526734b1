// Threads that count leave the signals that stop a search to the program's own thread: while
// one of these is in scope, new threads start with them held back, so that the handler always
// runs on the thread that owns the dialogue and the stop flag. (A Windows console runs its
// handler on a thread of its own anyway.)
#pragma once

#ifndef _WIN32
#include <csignal>
#include <pthread.h>
#endif

class signals_held_back {
  public:
    signals_held_back() {
#ifndef _WIN32
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &held, &before_);
#endif
    }
    ~signals_held_back() {
#ifndef _WIN32
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
#endif
    }
    signals_held_back(const signals_held_back&) = delete;
    signals_held_back& operator=(const signals_held_back&) = delete;

  private:
#ifndef _WIN32
    sigset_t before_;
#endif
};
