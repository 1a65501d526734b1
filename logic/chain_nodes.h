// The nodes chains are made of: a candidate, on (the cell holds the value) or off (it does
// not), numbered so that a node and its opposite differ in the lowest bit.
#pragma once

constexpr int node_total = 81 * 9 * 2;

inline int node_of(int cell, int v, bool on) {
    return (cell * 9 + v - 1) * 2 + (on ? 1 : 0);
}
inline int node_cell(int node) {
    return node / 18;
}
inline int node_value(int node) {
    return node / 2 % 9 + 1;
}
inline bool node_on(int node) {
    return (node & 1) != 0;
}

// The length term of a chain of this many nodes, in tenths: 0.1 each time the nodes beyond
// two pass a bound that grows by 3/2 and 4/3 in turn from 4.
inline int length_term(int nodes) {
    int n = nodes - 2;
    int bound = 4;
    int added = 0;
    for (bool half = true; n > bound; half = !half) {
        ++added;
        bound = half ? bound * 3 / 2 : bound * 4 / 3;
    }
    return added;
}
