"""Checks the "Original Levels" maps as shipped: each level's idea is load-bearing and the finale is the hardest.

Usage: python3 check_campaign.py [MAP_DIR [SOLUTION_DIR]]  (defaults: the source tree's). Exits 1 on a fault.

It reads the map files themselves, follows the chain from level1.map and, with the solver of
campaign_tools.py, checks every level:
- its solution text (levelN.sol) is a solution in the model and as short as the shortest there is.
  "Shortest" is the solver's order: the fewest map changes (blocks built or destroyed), then the
  fewest actions (a step, a turn or a block action counts one);
- it cannot be walked: with no block built the exit is out of reach;
- every kind of special block it holds is load-bearing: with every cell of that kind turned into its
  plain counterpart (restriction stones and crumbling blocks into stone, tunnels into empty cells),
  the shortest solution changes, which means the modified map has no solution as short as the
  level's, or has a shorter one. A modified map whose shortest solution costs exactly what the
  level's does fails, whatever its moves: the element could then be ignored at no cost;
- a level with teleports cannot be solved at all once they are taken out (the search must exhaust
  every state reachable without them; a search too big to finish counts as a fault, not a pass).
Then the finale, the last map of the chain, must take the solver more search effort (states whose
actions were tried before the shortest solution was found) than any other level, and over the last
third of the chain (its last n // 3 maps) the effort must rise from each level to the next.
"""
import os
import sys
from campaign_tools import KIND_NAMES, parse_solution, reachable_cells, read_map_file

BLOCK_ACTIONS = ('stand-block', 'down-block', 'up-block')


def check_level(path, solution_path):
    """(faults, effort, notes) of one level."""
    faults, notes = [], []
    read = read_map_file(path)
    if read is None:
        return ['cannot read the map'], 0, notes, None
    name, next_map, m = read
    shortest = m.search()
    effort = m.expanded
    if shortest is None:
        faults.append('no solution found' if m.complete else 'the search for a solution is too big')
        return faults, effort, notes, next_map
    best = m.cost
    notes.append('shortest %d changes, %d actions; effort %d' % (best[0], best[1], effort))
    try:
        with open(solution_path) as f:
            solution = parse_solution(f.read(1 << 16))
    except (OSError, ValueError) as e:
        solution = None
        faults.append('cannot read the solution: %s' % e)
    if solution is not None:
        cost = (sum(a in BLOCK_ACTIONS for a in solution), len(solution))
        if not m.replay(solution):
            faults.append('the solution does not reach the exit in the model')
        elif cost != best:
            faults.append('the solution costs %s, the shortest %s' % (cost, best))
    walk = m.search(walk_only=True)
    if walk is not None or not m.complete:
        faults.append('the level can be walked')
    for kind in m.kinds():
        plain = m.without_kind(kind)
        other = plain.search(bound=best)
        what = KIND_NAMES[kind]
        if not plain.complete:
            faults.append('without the %s: the search is too big to decide' % what)
        elif other is None:
            notes.append('without the %s: no solution as short' % what)
        elif plain.cost == best:
            faults.append('the %s is not load-bearing: without it the shortest solution costs the same' % what)
        else:
            notes.append('without the %s: shorter, %d changes, %d actions' % (what, plain.cost[0], plain.cost[1]))
    if m.ports:
        bare = m.without_teleports()
        if not reachable_cells(bare)[1]:
            notes.append('without teleports: the exit is out of reach')
        elif bare.search(budget=400000) is not None:
            faults.append('solvable without its teleports')
        elif not bare.complete:
            faults.append('without its teleports: the search is too big to decide')
        else:
            notes.append('without teleports: unsolvable (all %d states tried)' % bare.expanded)
    return faults, effort, notes, next_map


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    map_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'data', 'levels', 'original levels')
    sol_dir = sys.argv[2] if len(sys.argv) > 2 else here
    faults, efforts = [], []
    next_map, seen = 'level1.map', set()
    while next_map != 'end':
        if next_map in seen or len(seen) >= 200:
            faults.append('%s: the chain loops' % next_map)
            break
        seen.add(next_map)
        base = next_map[:-4] if next_map.endswith('.map') else next_map
        level_faults, effort, notes, following = check_level(os.path.join(map_dir, next_map),
                                                             os.path.join(sol_dir, base + '.sol'))
        print('%s: %s' % (next_map, '; '.join(notes + ['FAULT: ' + f for f in level_faults])))
        faults += ['%s: %s' % (next_map, f) for f in level_faults]
        efforts.append((effort, next_map))
        if following is None:
            break
        next_map = following
    if efforts:
        finale = efforts[-1]
        harder = [e for e in efforts[:-1] if e[0] >= finale[0]]
        if harder:
            faults.append('the finale %s (effort %d) is not the hardest: %s' % (
                finale[1], finale[0], ', '.join('%s (%d)' % (m, e) for e, m in harder)))
        last_third = efforts[len(efforts) - len(efforts) // 3:]
        for (e1, m1), (e2, m2) in zip(last_third, last_third[1:]):
            if e2 <= e1:
                faults.append('the last third does not rise: %s (effort %d) after %s (%d)' % (m2, e2, m1, e1))
    for f in faults:
        print('FAULT ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
