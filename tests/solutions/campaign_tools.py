"""Level-design tools for the "Original Levels" campaign: map writer, cell-level model of Pim's rules, solver.

The levels themselves are drawn as text in levels.py. `python3 levels.py` writes the map files into
data/levels/original levels/ and a solution text for each level into tests/solutions/; the
solution is the shortest the solver finds (fewest map changes, then fewest actions), so any
shortcut shows up at once, and it prints what each special block and the teleports are worth
(check_campaign.py, which ctest runs over the shipped maps). The model works on whole cells and
whole actions; the tests replay every solution through the real game logic, which keeps this
model honest.
"""

W, H = 20, 15
EMPTY, UP, STILL, CROUCH = -1, -2, -3, -4
BLK_ALL, BLK_STILL, BLK_CROUCH, BLK_UP = -5, -6, -7, -8
CRUMBLE, TUN_H, TUN_V = -9, -10, -11

# Characters of the level drawings.
SPECIAL = {
    '.': EMPTY, 'S': EMPTY, 'E': EMPTY,
    'X': BLK_ALL, 's': BLK_STILL, 'd': BLK_CROUCH, 'u': BLK_UP,
    'c': CRUMBLE, 'h': TUN_H, 'v': TUN_V,
}
FAMILIES = {'#': 0, '=': 16, '+': 32}     # cloud-stone, dream-wood, crystal
SOURCES = '123456789'
DESTS = '!@$&*?;:~'                     # destination of teleport 1, 2, ...
BACK_WALL = 58                          # the trans tile of a cave's back wall


def autotile(grid, x, y, ch):
    """Chooses the piece of a family for a cell from its same-family neighbours."""
    base = FAMILIES[ch]

    def same(xx, yy, side):
        if xx < 0 or xx >= W or yy >= H:
            return side            # beyond the left, right and bottom edges the mass goes on
        if yy < 0:
            return False
        return grid[yy][xx] == ch

    u, d = same(x, y - 1, False), same(x, y + 1, True)
    l, r = same(x - 1, y, True), same(x + 1, y, True)
    if not u and not d:
        return base + {(False, False): 3, (False, True): 7, (True, True): 11, (True, False): 15}[(l, r)]
    if not l and not r:
        return base + (12 if not u else 14 if not d else 13)
    row = 0 if not u else 8 if not d else 4
    col = 0 if not l else 2 if not r else 1
    return base + row + col


class level:
    def __init__(self, number, name, idea, rows, background, xv=0, yv=0, chain=None, deco=None):
        assert len(name) <= 31, name
        assert len(rows) == H, (number, len(rows))
        for row in rows:
            assert len(row) == W, (number, row)
        self.number, self.name, self.idea = number, name, idea
        self.rows, self.background, self.xv, self.yv = rows, background, xv, yv
        self.chain = chain or {}
        self.deco = deco
        self.block = [[EMPTY] * H for _ in range(W)]
        self.start = self.exit = None
        srcs, dsts = {}, {}
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in SPECIAL:
                    self.block[x][y] = SPECIAL[ch]
                elif ch in FAMILIES:
                    self.block[x][y] = autotile(rows, x, y, ch)
                elif ch in SOURCES:
                    srcs[ch] = (x, y)
                elif ch in DESTS:
                    dsts[SOURCES[DESTS.index(ch)]] = (x, y)
                else:
                    raise ValueError('level %d: unknown cell %r' % (number, ch))
                if ch == 'S':
                    self.start = (x, y)
                if ch == 'E':
                    self.exit = (x, y)
        assert self.start and self.exit, number
        self.teleports = []
        for key in sorted(srcs):
            target = self.chain.get(key)
            dst = srcs[target] if target else dsts[key]
            self.teleports.append((srcs[key], dst))
        self.trans = self.decorate()

    def file_name(self):
        return 'level%d.map' % self.number

    def decorate(self):
        """Scenery for the trans layer: grass on tops, vines under ledges, a sky of stars and moons."""
        trans = [[EMPTY] * H for _ in range(W)]
        solid = lambda x, y: 0 <= x < W and 0 <= y < H and self.rows[y][x] in FAMILIES
        free = lambda x, y: self.rows[y][x] in '.'
        roof = lambda x, y: self.rows[y][x] in FAMILIES or self.rows[y][x] in 'Xsduchv'
        seed = self.number * 7919
        for x in range(W):
            for y in range(H):
                seed = (seed * 1103515245 + 12345) & 0x7fffffff
                roll = seed % 100
                if self.in_cave(x, y):
                    # A cave or a tunnel is lined with the dim back wall, whole: a cell holds one trans
                    # tile, so anything else there (a mushroom, or nothing behind the exit, the start
                    # or a teleport) would open a window onto the sky.
                    trans[x][y] = BACK_WALL
                    continue
                if not free(x, y):
                    continue
                if solid(x, y + 1):
                    if roll < 30:
                        trans[x][y] = 55
                    elif roll < 36:
                        trans[x][y] = 54
                elif solid(x, y - 1) and not solid(x, y + 1) and roll < 22:
                    trans[x][y] = 56
                elif y < 6 and self.background in (0, 4, 5) and roll < 5:
                    trans[x][y] = 48 if roll < 3 else 49
        if self.deco:
            for y, row in enumerate(self.deco):
                for x, ch in enumerate(row):
                    code = {'m': 50, 'l': 51, 'r': 52, 'L': 53, 'z': 57, 'w': 58, '*': 49, 'o': 48,
                            'g': 55, 'f': 54, 'V': 56, '-': EMPTY}.get(ch)
                    if code is not None:
                        trans[x][y] = code
        return trans

    def in_cave(self, x, y):
        """A cell Pim may stand in with a roof somewhere above it and a floor somewhere below."""
        roof = lambda yy: self.rows[yy][x] in FAMILIES or self.rows[yy][x] in 'Xsduchv'
        return (self.rows[y][x] not in FAMILIES and self.rows[y][x] not in 'Xsduchv'
                and any(roof(yy) for yy in range(y)) and any(roof(yy) for yy in range(y + 1, H)))

    def next_map(self, last):
        return 'end' if last else 'level%d.map' % (self.number + 1)

    def map_text(self, last):
        lines = [self.name, self.file_name(), self.next_map(last),
                 self.start[0], self.start[1], self.exit[0], self.exit[1],
                 self.background, self.xv, self.yv]
        for x in range(W):
            for y in range(H):
                lines += [self.block[x][y], self.trans[x][y]]
        lines.append(len(self.teleports))
        for (sx, sy), (dx, dy) in self.teleports:
            lines += [sx, sy, dx, dy]
        return ''.join('%s\n' % v for v in lines)


# ---------------------------------------------------------------- the model of Pim's rules

# The model keeps a map as one byte a cell, column by column, holding the cell's kind: every plain tile
# is one kind (0), a special block code v is the kind -v (1 empty, 2 Up, 3 Standing, 4 Down Block,
# 5..8 the restrictions, 9 crumbling, 10 and 11 the tunnels).
K_PLAIN, K_EMPTY, K_UP, K_STILL, K_CROUCH = 0, 1, 2, 3, 4
K_ALL, K_NO_STILL, K_NO_CROUCH, K_NO_UP, K_CRUMBLE, K_TUN_H, K_TUN_V = 5, 6, 7, 8, 9, 10, 11
KIND_NAMES = {K_ALL: 'all-restriction stone', K_NO_STILL: 'no-Standing stone', K_NO_CROUCH: 'no-Down stone',
              K_NO_UP: 'no-Up stone', K_CRUMBLE: 'crumbling block', K_TUN_H: 'horizontal tunnel',
              K_TUN_V: 'vertical tunnel'}
# What a special kind may be replaced by when it is taken out of a level, to see what it is worth:
# restrictions and crumbling blocks by plain stone and by an empty cell, tunnels by an empty cell.
STAND_INS = {K_ALL: (K_PLAIN, K_EMPTY), K_NO_STILL: (K_PLAIN, K_EMPTY), K_NO_CROUCH: (K_PLAIN, K_EMPTY),
             K_NO_UP: (K_PLAIN, K_EMPTY), K_CRUMBLE: (K_PLAIN, K_EMPTY), K_TUN_H: (K_EMPTY,),
             K_TUN_V: (K_EMPTY,)}
STAND_IN_NAMES = {K_PLAIN: 'stone', K_EMPTY: 'empty cells'}

# The cell under Pim that refuses each kind of block (a player block, a crumbling block, the
# all-restriction stone or the kind's own restriction).
REFUSES_STILL = frozenset((K_EMPTY, K_UP, K_STILL, K_CROUCH, K_ALL, K_NO_STILL, K_CRUMBLE))
REFUSES_CROUCH = frozenset((K_EMPTY, K_UP, K_STILL, K_CROUCH, K_ALL, K_NO_CROUCH, K_CRUMBLE))
REFUSES_UP = frozenset((K_EMPTY, K_UP, K_STILL, K_CROUCH, K_ALL, K_NO_UP, K_CRUMBLE))
WALKABLE = frozenset((K_EMPTY, K_TUN_H))
FALLS_INTO = frozenset((K_EMPTY, K_TUN_V))

WIN, DEAD, STUCK = 'win', 'dead', 'stuck'


def kind_of(value):
    return -value if -11 <= value < 0 else K_PLAIN


class model:
    """Pim on one map, a whole cell and a whole action at a time.

    `block` is the block layer as [x][y] values, `teleports` a list of ((sx, sy), (dx, dy)).
    """

    def __init__(self, start, exit, block, teleports):
        self.start, self.exit = start, exit
        self.layer = bytes(kind_of(block[x][y]) for x in range(W) for y in range(H))
        self.ports = {}
        for src, dst in teleports:
            self.ports.setdefault(src, dst)       # the first in the map's list wins

    @staticmethod
    def of_level(lv):
        return model(lv.start, lv.exit, lv.block, lv.teleports)

    def kinds(self):
        """The special kinds of block the map holds."""
        return sorted(k for k in set(self.layer) if k in KIND_NAMES)

    def without_kind(self, kind, stand_in):
        """The map with every cell of a special kind turned into `stand_in` (a kind)."""
        m = model(self.start, self.exit, [[-1] * H for _ in range(W)], [])
        m.ports = self.ports
        m.layer = bytes(stand_in if k == kind else k for k in self.layer)
        return m

    def without_teleports(self):
        m = model(self.start, self.exit, [[-1] * H for _ in range(W)], [])
        m.layer = self.layer
        return m

    def settle(self, layer, x, y):
        """Exit, teleports and falling from a cell reached at rest or in a fall."""
        seen = None
        while True:
            if (x, y) == self.exit:
                return WIN, x, y
            dst = self.ports.get((x, y))
            if dst is not None:
                seen = seen or set()
                if (x, y) in seen:
                    return STUCK, x, y
                seen.add((x, y))
                x, y = dst
                if not (0 <= x < W and 0 <= y < H):
                    return DEAD, x, y
                continue
            if layer[x * H + y] == K_TUN_H:
                return None, x, y
            if y + 1 >= H:
                return DEAD, x, y
            if layer[x * H + y + 1] in FALLS_INTO:
                y += 1
                continue
            return None, x, y

    def moves(self, x, y, f, layer, walk_only=False):
        """(action, result, x, y, facing, layer) for every action Pim can take at rest in (x, y)."""
        i = x * H + y
        below = layer[i + 1] if y + 1 < H else None
        own = layer[i]
        out = []
        for d, name in ((0, 'right'), (1, 'left')):
            nx = x + 1 if d == 0 else x - 1
            if 0 <= nx < W and own != K_TUN_V and layer[nx * H + y] in WALKABLE:
                lay = layer
                if below == K_CRUMBLE:      # walking off a crumbling block leaves a hole behind
                    lay = layer[:i + 1] + b'\x01' + layer[i + 2:]
                result, rx, ry = self.settle(lay, nx, y)
                out.append((name, result, rx, ry, d, lay))
            if f != d:
                out.append(('turn ' + name, None, x, y, d, layer))
        if walk_only:
            return out
        fx = x + 1 if f == 0 else x - 1
        if 0 <= fx < W:
            j = fx * H + y
            t = layer[j]
            # Standing Block in front
            if t == K_EMPTY and below not in REFUSES_STILL:
                out.append(('stand-block', None, x, y, f, layer[:j] + b'\x03' + layer[j + 1:]))
            elif t == K_STILL:
                out.append(('stand-block', None, x, y, f, layer[:j] + b'\x01' + layer[j + 1:]))
            # Down Block diagonally below in front
            if y + 1 < H:
                t = layer[j + 1]
                if t == K_EMPTY and below not in REFUSES_CROUCH:
                    out.append(('down-block', None, x, y, f, layer[:j + 1] + b'\x04' + layer[j + 2:]))
                elif t == K_CROUCH:
                    out.append(('down-block', None, x, y, f, layer[:j + 1] + b'\x01' + layer[j + 2:]))
        # Up Block in his own cell, or destroying the one he stands on
        above = layer[i - 1] if y > 0 else None
        if above in FALLS_INTO and below not in REFUSES_UP and own not in (K_TUN_H, K_TUN_V):
            lay = layer[:i] + b'\x02' + layer[i + 1:]
            result, rx, ry = self.settle(lay, x, y - 1)
            out.append(('up-block', result, rx, ry, f, lay))
        elif below == K_UP:
            lay = layer[:i + 1] + b'\x01' + layer[i + 2:]
            result, rx, ry = self.settle(lay, x, y)
            out.append(('up-block', result, rx, ry, f, lay))
        return out

    def distances(self, rise, side):
        """A lower bound, for each cell, on what it costs to go from resting there to the exit.

        Every action moves Pim at most one cell sideways, or lifts him one row on an Up Block he
        builds, and then lets him fall and ride teleports for nothing, through cells that are not
        stone: stone and restriction stones stay where they are whatever he does. Every other rule
        only makes the way longer. So the cheapest way through the grid under those moves, where a
        lift costs `rise` and a step sideways `side`, never costs more than the real way. With
        (1, 1) it bounds the actions left, with (1, 0) the map changes left: every lift is a block.
        """
        fixed = (K_PLAIN, K_ALL, K_NO_STILL, K_NO_CROUCH, K_NO_UP)
        open_cell = lambda x, y: 0 <= x < W and 0 <= y < H and self.layer[x * H + y] not in fixed
        import heapq
        inf = 1 << 30
        dist = [inf] * (W * H)
        into = {}
        for src, dst in self.ports.items():
            if 0 <= dst[0] < W and 0 <= dst[1] < H:
                into.setdefault(dst, []).append(src)
        ex, ey = self.exit
        dist[ex * H + ey] = 0
        heap = [(0, ex, ey)]
        while heap:
            d, x, y = heapq.heappop(heap)
            if d > dist[x * H + y]:
                continue
            # the cells one might come to (x, y) from, and what that last move costs
            steps = [(x - 1, y, side), (x + 1, y, side), (x, y + 1, rise)]
            yy = y - 1
            while open_cell(x, yy):       # falls from above
                steps.append((x, yy, 0))
                yy -= 1
            steps += [(sx, sy, 0) for sx, sy in into.get((x, y), ())]
            for px, py, c in steps:
                if open_cell(px, py) and d + c < dist[px * H + py]:
                    dist[px * H + py] = d + c
                    heapq.heappush(heap, (d + c, px, py))
        return dist

    def search(self, walk_only=False, bound=None, budget=2000000):
        """The shortest solution as a list of actions, or None.

        Shortest means the fewest map changes (blocks built or destroyed), then the fewest actions
        (steps, turns and block actions, one each) among those. It is an A* search on that order:
        a state is taken up in order of its changes so far plus the bound of distances() on the
        changes still to come, then its actions so far plus the bound on the actions still to come.
        Both bounds never overestimate and never drop by more than an action costs, so the first
        solution taken up is the cheapest there is.

        Sets `expanded` (states whose actions were tried: the search effort), `cost` (changes,
        actions) of the solution found and `complete`: True when the answer is certain, that is a
        solution was found, or none exists at all, or (with a `bound`, a (changes, actions) pair)
        none costs `bound` or less. Past `budget` states reached it gives up.
        """
        import heapq
        self.expanded, self.complete, self.cost = 0, False, None
        result, x, y = self.settle(self.layer, *self.start)
        if result is not None:
            self.complete = True
            if result == WIN:
                self.cost = (0, 0)
                return []
            return None
        dist, lifts = self.distances(1, 1), self.distances(1, 0)
        root = (x, y, 0, self.layer)
        best = {root: (0, 0)}
        parent = {root: None}
        heap = [(lifts[x * H + y], dist[x * H + y], 0, 0, 0, root)]
        order = 1
        while heap:
            fc, fa, changes, actions, _, state = heapq.heappop(heap)
            if best.get(state) != (changes, actions):
                continue
            if bound and (fc, fa) > bound:
                break
            if state == WIN:
                self.complete, self.cost = True, (changes, actions)
                return self.path_to(parent, state)
            self.expanded += 1
            for name, result, rx, ry, rf, lay in self.moves(*state, walk_only=walk_only):
                if result not in (None, WIN):
                    continue
                child = WIN if result == WIN else (rx, ry, rf, lay)
                built = lay != state[3] and not name.startswith(('right', 'left'))
                cost = (changes + built, actions + 1)
                if child in best and best[child] <= cost:
                    continue
                best[child] = cost
                parent[child] = (state, name)
                i = 0 if child == WIN else rx * H + ry
                hc, ha = (0, 0) if child == WIN else (lifts[i], dist[i])
                heapq.heappush(heap, (cost[0] + hc, cost[1] + ha, cost[0], cost[1], order, child))
                order += 1
            if len(best) > budget:
                return None
        self.complete = True
        return None

    def path_to(self, parent, state):
        out = []
        while parent[state]:
            state, name = parent[state]
            out.append(name)
        return out[::-1]

    def overestimate(self, actions):
        """The first step of a solution from which the search's lower bounds ask more than it costs.

        Every state along a solution can reach the exit for what the rest of the solution costs, so
        an honest bound never exceeds that there: returns the number of actions played before the
        state where one does, or None when neither bound ever does.
        """
        dist, lifts = self.distances(1, 1), self.distances(1, 0)
        result, x, y = self.settle(self.layer, *self.start)
        state = (x, y, 0, self.layer)
        left_changes = sum(a in ('stand-block', 'down-block', 'up-block') for a in actions)
        for n, action in enumerate(actions):
            i = state[0] * H + state[1]
            if lifts[i] > left_changes or dist[i] > len(actions) - n:
                return n
            for name, result, rx, ry, rf, lay in self.moves(*state):
                if name == action:
                    built = lay != state[3] and not name.startswith(('right', 'left'))
                    left_changes -= built
                    state = (rx, ry, rf, lay)
                    break
            else:
                return None
        return None

    def replay(self, actions):
        """Plays a list of actions; True when the last one reaches the exit and none is impossible."""
        result, x, y = self.settle(self.layer, *self.start)
        state = (x, y, 0, self.layer)
        for n, action in enumerate(actions):
            if result is not None:
                return False
            for name, result, rx, ry, rf, lay in self.moves(*state):
                if name == action:
                    state = (rx, ry, rf, lay)
                    break
            else:
                return False
            if result == WIN:
                return n == len(actions) - 1
        return False


def solution_text(lv, path):
    out = ['# Level %d, "%s": %s' % (lv.number, lv.name, lv.idea)]
    i = 0
    while i < len(path):
        j = i
        while j < len(path) and path[j] == path[i] and path[i] in ('right', 'left'):
            j += 1
        if j - i > 1:
            out.append('%s %d' % (path[i], j - i))
            i = j
        else:
            out.append(path[i])
            i += 1
    return '\n'.join(out) + '\n'


def read_map_file(path):
    """A map file as (name, next map, model, trans layer as [x][y] values); None when it is not a
    whole map of the expected shape."""
    with open(path, 'rb') as f:
        data = f.read(1 << 20)
    lines = data.decode('latin-1').split('\n')
    if len(lines) < 611:
        return None
    name, next_map = lines[0], lines[2]
    try:
        values = [int(v) for v in ' '.join(lines[3:]).split()]
    except ValueError:
        return None
    if len(values) < 608:
        return None
    sx, sy, ex, ey = values[0:4]
    cells = values[7:607]
    block = [[cells[(x * H + y) * 2] for y in range(H)] for x in range(W)]
    trans = [[cells[(x * H + y) * 2 + 1] for y in range(H)] for x in range(W)]
    count = values[607]
    if not (0 <= count <= 300) or len(values) < 608 + 4 * count:
        return None
    ports = values[608:608 + 4 * count]
    teleports = [((ports[k], ports[k + 1]), (ports[k + 2], ports[k + 3])) for k in range(0, 4 * count, 4)]
    for x, y in [(sx, sy), (ex, ey)] + [c for t in teleports for c in t]:
        if not (0 <= x < W and 0 <= y < H):
            return None
    return name, next_map, model((sx, sy), (ex, ey), block, teleports), trans


def parse_solution(text):
    """A solution text ("right 3", "stand-block", ...) as the list of single actions it names."""
    actions = []
    for line in text.splitlines():
        words = line.split('#', 1)[0].split()
        if not words:
            continue
        if words[0] in ('right', 'left') and len(words) == 2:
            actions += [words[0]] * int(words[1])
        else:
            actions.append(' '.join(words))
    return actions


def _reach(m, start, blocks, usable):
    """Cells Pim might stand in from `start`, by the loose reckoning of reachable_cells.

    `blocks` is the set of cells that may hold a player block; when `usable` is None it grows with
    every cell a block could be built in from a cell reached, else it stays as given and a block in
    cell b carries Pim in cell q only if usable(q, b). Returns (cells, exit reached, blocks).
    """
    O = m.layer
    at = lambda x, y: O[x * H + y]
    passable = lambda x, y: at(x, y) in (K_EMPTY, K_TUN_H, K_CRUMBLE)
    fall_through = lambda x, y: at(x, y) in (K_EMPTY, K_TUN_V, K_CRUMBLE)
    blocks = set(blocks)

    def solid(x, y):
        if at(x, y) not in (K_EMPTY, K_TUN_V):
            return True
        return (x, y) in blocks and (usable is None or usable((x, y - 1), (x, y)))

    def drop(x, y, out):
        """Adds the cells a fall from (x, y) may come to rest in; True if the fall passes the exit."""
        while True:
            if (x, y) == m.exit:
                return True
            if at(x, y) == K_TUN_H:
                out.add((x, y))
                return False
            if y + 1 >= H:
                return False
            if solid(x, y + 1):
                out.add((x, y))
            if not fall_through(x, y + 1):
                return False
            y += 1

    while True:
        cells = set()
        if drop(start[0], start[1], cells):
            return cells, True, blocks
        todo = list(cells)
        grown = False
        while todo:
            x, y = todo.pop()
            below = at(x, y + 1) if y + 1 < H else K_EMPTY
            nxt = set()
            for d in (-1, 1):
                nx = x + d
                if not 0 <= nx < W:
                    continue
                if at(x, y) != K_TUN_V and passable(nx, y) and drop(nx, y, nxt):
                    return cells, True, blocks
                if usable is None:
                    for cell, refused in (((nx, y), REFUSES_STILL), ((nx, y + 1), REFUSES_CROUCH)):
                        if cell[1] < H and at(*cell) == K_EMPTY and below not in refused and cell not in blocks:
                            blocks.add(cell)
                            grown = True
            if y > 0 and fall_through(x, y - 1) and below not in REFUSES_UP and at(x, y) not in (K_TUN_H, K_TUN_V):
                if (x, y - 1) == m.exit:
                    return cells, True, blocks
                nxt.add((x, y - 1))      # onto the Up Block just built, which carries him at once
                if usable is None and (x, y) not in blocks:
                    blocks.add((x, y))
                    grown = True
            if y + 1 < H and fall_through(x, y + 1) and drop(x, y + 1, nxt):   # the floor taken away
                return cells, True, blocks
            for c in nxt - cells:
                cells.add(c)
                todo.append(c)
        if not grown:
            return cells, False, blocks


def reachable_cells(m):
    """Every cell Pim might ever stand in, by a loose reckoning that never leaves out a real one.

    The reckoning forgets when things happen: a player block may stand in any cell that Pim could
    build it in from some cell he might reach, and a crumbling block may be whole or gone. Walls,
    tunnels, falls and the rules for where a block may be built and what lifts him are kept. Then it
    remembers one thing about time, in rounds until nothing changes: a block is first built from a
    cell reached while it did not stand yet, and whatever it carries him to later is reached from
    there. Returns (cells, True when the exit is among them); teleports are not followed, so it
    answers for a map without them.
    """
    cells, hit, blocks = _reach(m, m.start, set(), None)
    if not hit:
        return cells, False
    onward = {p: _reach(m, p, blocks, lambda q, b: True)[0] | {p} for p in cells}
    builders = {}
    for (x, y) in cells:
        for b in ((x - 1, y), (x + 1, y), (x - 1, y + 1), (x + 1, y + 1), (x, y)):
            builders.setdefault(b, set()).add((x, y))
    usable = lambda q, b: True
    while True:
        first = {}
        for b in blocks:
            before = _reach(m, m.start, blocks - {b}, usable)[0]
            first[b] = [p for p in builders.get(b, ()) if p in before]
        usable = lambda q, b, first=first: any(q in onward[p] for p in first[b])
        narrower, hit, _ = _reach(m, m.start, blocks, usable)
        if not hit or narrower == cells:
            return narrower, hit
        cells = narrower
