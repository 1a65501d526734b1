// The program: banner, mode prompt, and the two mode loops, each of which lasts until an
// empty answer or the end of input ends the session.
#pragma once

class layout_watcher;

struct dialogue_settings {
    int jobs = 1;                      // threads that count a composition's lay-outs
    bool in_reading_order = false;     // every count the plain way (the measuring build)
    layout_watcher* watcher = nullptr; // sees each lay-out a composition makes: for the fuzzer
};

int run_program(const dialogue_settings& settings);   // the whole run; returns 0
void run_composer(const dialogue_settings& settings); // returns when the session ends
void run_solver(const dialogue_settings& settings);   // returns when the session ends
