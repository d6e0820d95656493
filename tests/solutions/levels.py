"""The "Original Levels" campaign, drawn as text; run it to write the maps and the solution texts.

Cells: . empty, S start, E exit, # cloud-stone, = dream-wood, + crystal, X all-restriction,
s no-Standing, d no-Down, u no-Up, c crumbling, h horizontal tunnel, v vertical tunnel,
1..9 teleport entrances with their exits at ! @ $ & * (or another entrance, by `chain`).
Backgrounds: 0 star field, 2 cloud sea, 3 crystal cavern, 4 dream forest, 5 starfall, 6 pillow hills.
"""
import os
import sys
from campaign_tools import level, model, solution_text

LEVELS = [
    level(1, "Where the Floor Forgets",
          "a Down Block bridges a gap that falls away into nothing",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           ".S..................",
           "=====...............",
           "=====...............",
           "=====...........E...",
           "==========.=========",
           "==========.=========",
           "==========.========="], background=6),

    level(2, "Pillow Stairs",
          "each step up needs an Up Block built at its foot",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "............##......",
           "..........####......",
           "........######......",
           ".S....########...E..",
           "####################",
           "####################",
           "####################"], background=4),

    level(3, "A Block to Lean On",
          "a Standing Block over a gap becomes the floor an Up Block lifts you onto",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "..............E.....",
           ".S.......++++++++++.",
           "++++++++.++++++++++.",
           "++++++++.++++++++++.",
           "++++++++.++++++++++."], background=3),

    level(4, "Moonlit Crossing",
          "the three blocks together: bridge a gap, climb a step, lean a block over a chasm",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           ".S..................",
           "===.................",
           "===..............E..",
           "===............=====",
           "===.......====.=====",
           "======.=======.=====",
           "======.=======.=====",
           "======.=======.====="], background=0),

    level(5, "Stone That Says No",
          "a restriction stone refuses every block, so the far gap is crossed by falling in and climbing out",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           ".S................E.",
           "########.X.XXX######",
           "########.##.########",
           "########.###########"], background=6),

    level(6, "The Leaning Bridge",
          "where no Up Block may stand, two Standing Blocks carry you from the last honest stone",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "................E...",
           ".S..........========",
           "==========uu========",
           "====================",
           "===================="], background=4),

    level(7, "Over, Not Across",
          "no Down Block here: go up and over the gap on a Standing Block",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           ".S...............E..",
           "######ddd.ddd#######",
           "#########.##########",
           "#########.##########"], background=2, xv=0),

    level(8, "Every Stone Its Rule",
          "read each restriction: Down where Standing is refused, Standing where Up is refused",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "................E...",
           ".S..........++++++++",
           "+++++s.+++uu++++++++",
           "++++++.+++++++++++++",
           "++++++.+++++++++++++"], background=3),

    level(9, "The Hollow Wall",
          "a horizontal tunnel lets you walk through solid wall, once an Up Block lifts you to it",
          ["....................",
           "....................",
           "........####........",
           "........####........",
           "........####........",
           "........####........",
           "........####........",
           "........####........",
           "........####........",
           "........####........",
           "........hhhh........",
           ".S......####.....E..",
           "####################",
           "####################",
           "####################"], background=5),

    level(10, "Tube Over the Abyss",
          "inside a tunnel you do not fall; build from its last cell, where stone lies beneath",
          ["....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "....................",
           "==..................",
           "==.S..hhhhhhh.....E.",
           "======......=.======",
           "======......=.======",
           "======......=.======"], background=2),

    level(11, "The Chimney",
          "a vertical tunnel bars the way sideways but lets you drop through from above",
          ["....................",
           "....................",
           "....................",
           "..........==========",
           "..........==========",
           "..........==========",
           "..........==========",
           ".S.......v==========",
           "=========v==========",
           "=========...........",
           "=========...........",
           "=========......E....",
           "====================",
           "====================",
           "===================="], background=4),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_maps = os.path.join(here, '..', '..', 'data', 'levels', 'original levels')
    os.makedirs(out_maps, exist_ok=True)
    only = [int(a) for a in sys.argv[1:]]
    for i, lv in enumerate(LEVELS):
        assert lv.number == i + 1
        last = i == len(LEVELS) - 1
        with open(os.path.join(out_maps, lv.file_name()), 'w', newline='\n') as f:
            f.write(lv.map_text(last))
        if only and lv.number not in only:
            continue
        m = model(lv)
        path = m.solve()
        walk = m.solve(walk_only=True)
        status = 'WALKABLE!' if walk is not None and walk != 'too big' else 'ok'
        print('%2d %-31s %s %s' % (lv.number, lv.name, status,
                                  'NO SOLUTION' if path is None else path if path == 'too big'
                                  else '%d actions: %s' % (len(path), ' '.join(p.replace(' ', '_') for p in path))))
        if isinstance(path, list):
            with open(os.path.join(here, 'level%d.sol' % lv.number), 'w', newline='\n') as f:
                f.write(solution_text(lv, path))


if __name__ == '__main__':
    main()
