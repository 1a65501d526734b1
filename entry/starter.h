// Solver-mode entry of a starter, row by row. Each row is checked whole before the next is
// asked for; a rejected row leaves the grid as it was before it.
#pragma once

int read_starter();    // 1 once nine rows are in; 0 when an empty answer or end of input ends it
int read_row(int row); // asks for one row until accepted (1) or the session ends (0)
int parse_row(const char* line, int row);           // checks and places nine cells; 1 = accepted
void undo_row(const char* line, int row, int last); // lifts the cells placed from 0 to last
