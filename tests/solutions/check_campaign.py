"""Checks the "Original Levels" maps as shipped: each level's idea is load-bearing and the difficulty rises to the finale.

Usage: python3 check_campaign.py [MAP_DIR [SOLUTION_DIR]]  (defaults: the source tree's). Exits 1 on a fault.

It reads the map files themselves, follows the chain from level1.map and, with the solver of
campaign_tools.py, checks every level:
- its solution text (levelN.sol) is a solution in the model and as short as the shortest there is.
  "Shortest" is the solver's order: the fewest map changes (blocks built or destroyed), then the
  fewest actions (a step, a turn or a block action counts one); and from no state along it does
  either lower bound the search steers by ask for more than the rest of the solution costs;
- it cannot be walked: with no block built the exit is out of reach;
- every kind of special block it holds is load-bearing against each of its stand-ins: with every
  cell of that kind turned into plain stone, and again with every such cell turned into an empty
  cell (restriction stones and crumbling blocks), or into empty cells (tunnels), the shortest
  solution changes, which means the modified map has no solution as short as the level's, or has a
  shorter one. A modified map whose shortest solution costs exactly what the level's does fails,
  whatever its moves: the element could then be ignored at no cost;
- a level with teleports cannot be solved at all once they are taken out (the search must exhaust
  every state reachable without them; a search too big to finish counts as a fault, not a pass);
- a cave's back wall is whole: every cell Pim could stand in with a roof above it and a floor below
  it in its column shows the back wall in the trans layer, the cells of the start, the exit and the
  teleports too, which the game draws over it.
Then the curve of the search effort (states whose actions the A* search tried before the shortest
solution was proven, see campaign_tools.model.search) over the chain cut in thirds: n // 3 levels,
n // 3 levels and the rest. The median of the middle third must be at least 4 times the first
third's, the last third's at least 4 times the middle third's, at most one level of the last third
may ask less than the middle third's median, and the finale must ask more than any other level.
Every search has a cap on the states it may reach; a level that passes it fails with a message
saying so, so the check ends in bounded time.
"""
import os
import sys
from campaign_tools import (BACK_WALL, H, KIND_NAMES, STAND_INS, STAND_IN_NAMES, W, parse_solution,
                            reachable_cells, read_map_file)

BLOCK_ACTIONS = ('stand-block', 'down-block', 'up-block')
SEARCH_CAP = 600000        # states a level's own search may reach
BOUNDED_CAP = 300000       # states a search on a modified map may reach
CURVE_STEP = 4             # how many times more each third asks than the one before, in medians


def broken_back_wall(m, trans):
    """The cells of a cave that do not show its back wall."""
    block = m.layer
    roof = lambda x, y: block[x * H + y] != 1      # anything but an empty cell
    out = []
    for x in range(W):
        for y in range(H):
            if block[x * H + y] == 1 and any(roof(x, yy) for yy in range(y)) and \
                    any(roof(x, yy) for yy in range(y + 1, H)) and trans[x][y] != BACK_WALL:
                out.append((x, y))
    return out


def check_level(path, solution_path):
    """(faults, effort, notes, next map) of one level."""
    faults, notes = [], []
    read = read_map_file(path)
    if read is None:
        return ['cannot read the map'], 0, notes, None
    name, next_map, m, trans = read
    shortest = m.search(budget=SEARCH_CAP)
    effort = m.expanded
    if shortest is None:
        faults.append('no solution found' if m.complete else
                      'the search for a solution passed its cap of %d states' % SEARCH_CAP)
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
        step = m.overestimate(solution) if cost == best else None
        if step is not None:
            faults.append('the search\'s bound overestimates what is left after %d actions of the solution' % step)
    walk = m.search(walk_only=True)
    if walk is not None or not m.complete:
        faults.append('the level can be walked')
    for kind in m.kinds():
        for stand_in in STAND_INS[kind]:
            other = m.without_kind(kind, stand_in)
            other.search(bound=best, budget=BOUNDED_CAP)
            what = '%s as %s' % (KIND_NAMES[kind], STAND_IN_NAMES[stand_in])
            if not other.complete:
                faults.append('with the %s: the search passed its cap of %d states' % (what, BOUNDED_CAP))
            elif other.cost is None:
                notes.append('with the %s: no solution as short' % what)
            elif other.cost == best:
                faults.append('the %s is not load-bearing: with the %s the shortest solution costs the same'
                              % (KIND_NAMES[kind], what))
            else:
                notes.append('with the %s: shorter, %d changes, %d actions' % (what, other.cost[0], other.cost[1]))
    if m.ports:
        bare = m.without_teleports()
        if not reachable_cells(bare)[1]:
            notes.append('without teleports: the exit is out of reach')
        elif bare.search(budget=BOUNDED_CAP) is not None:
            faults.append('solvable without its teleports')
        elif not bare.complete:
            faults.append('without its teleports: the search passed its cap of %d states' % BOUNDED_CAP)
        else:
            notes.append('without teleports: unsolvable (all %d states tried)' % bare.expanded)
    holes = broken_back_wall(m, trans)
    if holes:
        faults.append('the back wall is open at %s' % ' '.join('(%d, %d)' % c for c in holes))
    return faults, effort, notes, next_map


def median(values):
    values = sorted(values)
    n = len(values)
    return values[n // 2] if n % 2 else (values[n // 2 - 1] + values[n // 2]) / 2


def curve_faults(efforts):
    """What is wrong with the curve of (effort, map) over the chain."""
    faults = []
    n = len(efforts)
    if n < 3:
        return ['the chain is too short for a curve: %d levels' % n]
    thirds = [efforts[:n // 3], efforts[n // 3:2 * (n // 3)], efforts[2 * (n // 3):]]
    medians = [median([e for e, _ in third]) for third in thirds]
    names = ('first', 'middle', 'last')
    for i in (1, 2):
        if medians[i] < CURVE_STEP * medians[i - 1]:
            faults.append('the %s third (median effort %g) does not ask %d times the %s third (median %g)'
                          % (names[i], medians[i], CURVE_STEP, names[i - 1], medians[i - 1]))
    easy = [(e, m) for e, m in thirds[2] if e < medians[1]]
    if len(easy) > 1:
        faults.append('%d levels of the last third ask less than the middle third\'s median (%g): %s' % (
            len(easy), medians[1], ', '.join('%s (%d)' % (m, e) for e, m in easy)))
    finale = efforts[-1]
    harder = [e for e in efforts[:-1] if e[0] >= finale[0]]
    if harder:
        faults.append('the finale %s (effort %d) is not the hardest: %s' % (
            finale[1], finale[0], ', '.join('%s (%d)' % (m, e) for e, m in harder)))
    print('medians of the thirds: %g, %g, %g' % tuple(medians))
    return faults


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
        sys.stdout.flush()
        faults += ['%s: %s' % (next_map, f) for f in level_faults]
        efforts.append((effort, next_map))
        if following is None:
            break
        next_map = following
    faults += curve_faults(efforts)
    for f in faults:
        print('FAULT ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
