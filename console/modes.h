// The program: banner, mode prompt, and the two mode loops, each of which lasts until an
// empty answer or the end of input ends the session.
#pragma once

int run_program(int jobs); // the whole run, compositions counted by jobs threads; returns 0
void run_composer();       // returns when the session ends
void run_solver();         // returns when the session ends
