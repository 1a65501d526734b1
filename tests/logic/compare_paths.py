#!/usr/bin/env python3
"""Rates the puzzles of reference path files with a verbagrid build and compares, step by step,
what it does with what the reference did: the rating, the technique, what is placed and what is
removed. For each puzzle that differs it names the first step where the two part.

Usage: compare_paths.py VERBAGRID FILE.tsv... [--quiet] [--ignore-names] [--jobs N]
A file holds blocks of one P line (puzzle, rating, hardest technique) and its S lines (rating,
technique, placed, removed), tab-separated, cells as rRcC counting from 1."""
import re
import subprocess
import sys

# The reference's names for what verbagrid calls each technique, with the shapes that carry a
# type or a nesting level in the name.
NAMES = {
    'full house': 'Hidden Single', 'hidden single': 'Hidden Single',
    'direct pointing': 'Direct Pointing', 'direct claiming': 'Direct Claiming',
    'direct hidden pair': 'Direct Hidden Pair', 'naked single': 'Naked Single',
    'direct hidden triple': 'Direct Hidden Triplet', 'pointing': 'Pointing',
    'claiming': 'Claiming', 'naked pair': 'Naked Pair', 'x-wing': 'X-Wing',
    'hidden pair': 'Hidden Pair', 'naked triple': 'Naked Triplet', 'swordfish': 'Swordfish',
    'hidden triple': 'Hidden Triplet', 'xy-wing': 'XY-Wing', 'xyz-wing': 'XYZ-Wing',
    'naked quad': 'Naked Quad', 'jellyfish': 'Jellyfish', 'hidden quad': 'Hidden Quad',
    'aligned pair exclusion': 'Aligned Pair Exclusion',
    'aligned triple exclusion': 'Aligned Triplet Exclusion',
    'x-cycle': 'Bidirectional X-Cycle', 'y-cycle': 'Bidirectional Y-Cycle',
    'xy-cycle': 'Bidirectional Cycle', 'turbot fish': 'Turbot Fish',
    'forcing x-chain': 'Forcing X-Chain', 'forcing chain': 'Forcing Chain',
    'nishio forcing chain': 'Nishio Forcing Chains', 'cell forcing chain': 'Cell Forcing Chains',
    'region forcing chain': 'Region Forcing Chains',
}
NESTED = {'': '', ' (+)': ' (+)', ' (+ forcing chains)': ' (+ Forcing Chains)',
          ' (+ multiple forcing chains)': ' (+ Multiple Forcing Chains)',
          ' (+ dynamic forcing chains)': ' (+ Dynamic Forcing Chains)',
          ' (+ dynamic forcing chains (+))': ' (+ Dynamic Forcing Chains (+))'}


def reference_name(ours):
    match = re.fullmatch(r'(unique rectangle|unique loop|bivalue universal grave) type (\d)', ours)
    if match:
        kind = {'unique rectangle': 'Unique Rectangle', 'unique loop': 'Unique Loop',
                'bivalue universal grave': 'BUG'}[match.group(1)]
        return f'{kind} type {match.group(2)}'
    match = re.fullmatch(r'dynamic (contradiction|double|cell|region) forcing chain(.*)', ours)
    if match and match.group(2) in NESTED:
        return f'Dynamic {match.group(1).capitalize()} Forcing Chains{NESTED[match.group(2)]}'
    return NAMES.get(ours, ours)


def cells(text, sign):
    """{(cell, digit)} from 'r1c2=3' or 'r1c2-34 r5c6-7' (ours: one digit a word)."""
    found = set()
    for word in text.split():
        row, col, digits = re.fullmatch(rf'r(\d)c(\d){sign}(\d+)', word).groups()
        found |= {(int(row), int(col), int(d)) for d in digits}
    return found


def read_reference(paths):
    puzzles = []
    for path in paths:
        for line in open(path):
            fields = line.rstrip('\n').split('\t')
            if fields[0] == 'P':
                puzzles.append({'puzzle': fields[1], 'rating': fields[2], 'steps': [],
                                'file': path})
            elif fields[0] == 'S':
                puzzles[-1]['steps'].append((fields[1], fields[2], cells(fields[3], '='),
                                             cells(fields[4], '-')))
    return puzzles


def rate(program, puzzles, jobs):
    text = ''.join(p['puzzle'] + '\n' for p in puzzles)
    done = subprocess.run([program, 'solve', '--explain', '--format', 'csv', '--jobs', jobs, '-'],
                          input=text.encode(), capture_output=True, check=False)
    steps = {}
    for row in done.stdout.decode().splitlines()[1:]:
        puzzle, _, rating, technique, placed, removed = row.split(',')
        steps.setdefault(puzzle, []).append((rating, reference_name(technique),
                                             cells(placed, '='), cells(removed, '-')))
    grades = subprocess.run([program, 'solve', '--grade', '--format', 'csv', '--jobs', jobs,
                             '-'], input=text.encode(), capture_output=True, check=False)
    ratings = {}
    for row in grades.stdout.decode().splitlines()[1:]:
        puzzle, rating = row.split(',')[:2]
        ratings[puzzle] = rating
    return steps, ratings


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    quiet = '--quiet' in sys.argv
    ignore_names = '--ignore-names' in sys.argv
    jobs = '2'
    if '--jobs' in sys.argv:
        jobs = sys.argv[sys.argv.index('--jobs') + 1]
        args.remove(jobs)
    program, paths = args[0], args[1:]
    puzzles = read_reference(paths)
    steps, ratings = rate(program, puzzles, jobs)
    if ignore_names:  # for a build whose technique names are its own
        for p in puzzles:
            p['steps'] = [(r, '', pl, rm) for r, _, pl, rm in p['steps']]
            steps[p['puzzle']] = [(r, '', pl, rm) for r, _, pl, rm in steps.get(p['puzzle'], [])]
    differ = 0
    for p in puzzles:
        ours = steps.get(p['puzzle'], [])
        parted = None
        for i, theirs in enumerate(p['steps']):
            if i >= len(ours) or ours[i] != theirs:
                parted = i
                break
        if parted is None and len(ours) > len(p['steps']):
            parted = len(p['steps'])
        rating = ratings.get(p['puzzle'], '?')
        if parted is None and rating == p['rating']:
            continue
        differ += 1
        if quiet:
            continue
        print(f"{p['file']}: {p['puzzle']} rated {rating}, reference {p['rating']}")
        if parted is not None:
            def show(step):
                if step is None:
                    return 'nothing'
                rating, name, placed, removed = step
                words = [f'r{r}c{c}={d}' for r, c, d in sorted(placed)]
                words += [f'r{r}c{c}-{d}' for r, c, d in sorted(removed)]
                return f"{rating} {name} {' '.join(words)}"
            print(f'  step {parted + 1}: reference {show(p["steps"][parted] if parted < len(p["steps"]) else None)}')
            print(f'  step {parted + 1}: verbagrid {show(ours[parted] if parted < len(ours) else None)}')
    print(f'{len(puzzles) - differ} of {len(puzzles)} puzzles rated and explained as the reference does')
    return 1 if differ else 0


if __name__ == '__main__':
    sys.exit(main())
