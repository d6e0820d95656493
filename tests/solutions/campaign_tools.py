"""Level-design tools for the "Original Levels" campaign: map writer, cell-level model of Pim's rules, solver.

The levels themselves are drawn as text in levels.py. `python3 levels.py` writes the map files into
data/levels/original levels/ and a solution text for each level into tests/solutions/; the
solution is the shortest action sequence the solver finds, so any shortcut shows up at once.
The model works on whole cells and whole actions; the tests replay every solution through the
real game logic, which keeps this model honest.
"""
from collections import deque

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
                if not free(x, y):
                    continue
                if any(roof(x, yy) for yy in range(y)) and any(roof(x, yy) for yy in range(y + 1, H)):
                    # under a roof: a cave or a tunnel, lined with the dim back wall
                    trans[x][y] = 54 if solid(x, y + 1) and roll < 12 else 58
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
                            'g': 55, 'f': 54, 'V': 56}.get(ch)
                    if code is not None:
                        trans[x][y] = code
                    if ch == '-':
                        trans[x][y] = EMPTY
        return trans

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

NO_STILL = (EMPTY, UP, STILL, CROUCH, BLK_ALL, BLK_STILL, CRUMBLE)
NO_CROUCH = (EMPTY, UP, STILL, CROUCH, BLK_ALL, BLK_CROUCH, CRUMBLE)
NO_UP = (EMPTY, UP, STILL, CROUCH, BLK_ALL, BLK_UP, CRUMBLE)

WIN, DEAD, STUCK = 'win', 'dead', 'stuck'


class model:
    def __init__(self, lv):
        self.lv = lv
        self.ports = {src: dst for src, dst in reversed(lv.teleports)}  # first in the list wins

    def at(self, layer, x, y):
        return layer[x * H + y]

    def put(self, layer, x, y, v):
        cells = list(layer)
        cells[x * H + y] = v
        return tuple(cells)

    def settle(self, layer, x, y):
        """Exit, teleports and falling from a cell reached at rest or in a fall."""
        seen = set()
        while True:
            if (x, y) == self.lv.exit:
                return WIN, x, y
            if (x, y) in self.ports:
                if (x, y) in seen:
                    return STUCK, x, y
                seen.add((x, y))
                x, y = self.ports[(x, y)]
                if not (0 <= x < W and 0 <= y < H):
                    return DEAD, x, y
                continue
            if self.at(layer, x, y) == TUN_H:
                return None, x, y
            if y + 1 >= H:
                return DEAD, x, y
            if self.at(layer, x, y + 1) in (EMPTY, TUN_V):
                y += 1
                continue
            return None, x, y

    def moves(self, state, walk_only=False):
        x, y, f, layer = state
        below = self.at(layer, x, y + 1) if y + 1 < H else None
        out = []
        for d, name in ((0, 'right'), (1, 'left')):
            nx = x + (1 if d == 0 else -1)
            if 0 <= nx < W and self.at(layer, x, y) != TUN_V and self.at(layer, nx, y) in (EMPTY, TUN_H):
                lay = layer
                if below == CRUMBLE:
                    lay = self.put(lay, x, y + 1, EMPTY)
                out.append((name, self.settle(lay, nx, y), lay, d))
            if f != d:
                out.append(('turn ' + name, (None, x, y), layer, d))
        if walk_only:
            return out
        fx = x + (1 if f == 0 else -1)
        inside = 0 <= fx < W
        # Standing Block in front
        t = self.at(layer, fx, y) if inside else None
        if t == EMPTY and below not in NO_STILL:
            out.append(('stand-block', (None, x, y), self.put(layer, fx, y, STILL), f))
        elif t == STILL:
            out.append(('stand-block', (None, x, y), self.put(layer, fx, y, EMPTY), f))
        # Down Block diagonally below in front
        t = self.at(layer, fx, y + 1) if inside and y + 1 < H else None
        if t == EMPTY and below not in NO_CROUCH:
            out.append(('down-block', (None, x, y), self.put(layer, fx, y + 1, CROUCH), f))
        elif t == CROUCH:
            out.append(('down-block', (None, x, y), self.put(layer, fx, y + 1, EMPTY), f))
        # Up Block in his own cell, or destroying the one he stands on
        above = self.at(layer, x, y - 1) if y > 0 else None
        own = self.at(layer, x, y)
        if above in (EMPTY, TUN_V) and y > 0 and below not in NO_UP and own not in (TUN_H, TUN_V):
            lay = self.put(layer, x, y, UP)
            out.append(('up-block', self.settle(lay, x, y - 1), lay, f))
        elif below == UP:
            lay = self.put(layer, x, y + 1, EMPTY)
            out.append(('up-block', self.settle(lay, x, y), lay, f))
        return out

    def start_state(self):
        layer = tuple(self.lv.block[x][y] for x in range(W) for y in range(H))
        result, x, y = self.settle(layer, *self.lv.start)
        return result, (x, y, 0, layer)

    def closure(self, layer, s0):
        """Everything reachable from s0 by walking, turning and falling, with the walks that get there."""
        prev = {s0: None}
        queue = deque([s0])
        while queue:
            state = queue.popleft()
            for name, (result, x, y), lay, f in self.moves((*state, layer), walk_only=True):
                if result in (DEAD, STUCK):
                    continue
                if lay != layer:           # a crumbling block broke: this walk changes the map
                    if result == WIN:
                        return prev, (state, name)
                    continue
                if result == WIN:
                    return prev, (state, name)
                nxt = (x, y, f)
                if nxt not in prev:
                    prev[nxt] = (state, name)
                    queue.append(nxt)
        return prev, None

    def walks_to(self, prev, state):
        path = []
        while prev[state]:
            state, step = prev[state]
            path.append(step)
        return path[::-1]

    def solve(self, walk_only=False, limit=60000):
        """Fewest map changes first (blocks built or destroyed, blocks crumbled), then fewest walks."""
        result, start = self.start_state()
        if result == WIN:
            return []
        if result is not None:
            return None
        x, y, f, layer = start
        root = (layer, (x, y, f))
        parent = {root: None}
        frontier = [root]
        self.depth_done = -1
        depth = 0
        while frontier:
            nxt_frontier = []
            for node in frontier:
                layer, s0 = node
                prev, win = self.closure(layer, s0)
                if win:
                    state, name = win
                    return self.path_to(parent, node) + self.walks_to(prev, state) + [name]
                if walk_only:
                    continue
                for state in prev:
                    for name, (result, x, y), lay, f in self.moves((*state, layer)):
                        if lay == layer or result in (DEAD, STUCK):
                            continue
                        if result == WIN:
                            return self.path_to(parent, node) + self.walks_to(prev, state) + [name]
                        child = (lay, (x, y, f))
                        if child not in parent:
                            parent[child] = (node, self.walks_to(prev, state) + [name])
                            nxt_frontier.append(child)
                            if len(parent) > limit:
                                self.depth_done = depth
                                return 'too big (no solution with %d or fewer map changes)' % depth
            frontier = nxt_frontier
            depth += 1
        return None

    def path_to(self, parent, node):
        out = []
        while parent[node]:
            node, steps = parent[node]
            out = steps + out
        return out


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
