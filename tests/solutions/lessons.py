"""Tutorial lessons 3 and 4, drawn as text; run it to write lesson3.map and lesson4.map.

Cells as in levels.py (decoration rows: L lantern, f mushroom, as campaign_tools reads them), and T for a Standing Block that the map puts in Pim's way (he breaks it with the
action key, as lesson 2 teaches). Every cell a lesson waits for Pim in is reached by holding an arrow
key: there is a wall right after it, or he drops into it (a lesson that answers with a message stops
him there in the tick after he lands).
"""
import os
import campaign_tools
from campaign_tools import level, STILL

campaign_tools.SPECIAL['T'] = STILL

LESSONS = [
    # Lesson 3: the hole at (2, 2) drops Pim onto the Up Restriction Block, (3, 4) and (3, 5) take his
    # Standing and Down Blocks, the pillar at (5, 4) stops him on the Down Restriction Block at (4, 5),
    # an Up Block lifts him over it into the shaft that lands him on the Standing Restriction Block at
    # (6, 8), and a Down Block over the pit at (7, 8) leads to the exit.
    ('lesson3.map', 'Lesson 3: Restrictions', 103, 3,
     ["++++++++++++++++++++",
      "++++++++++++++++++++",
      "++.S+...++++++++++++",
      "++.X....++++++++++++",
      "++...+..+...........",
      "++u.d+..+...........",
      "++++++..+...........",
      "++++++...........E..",
      "++++++s.++++++++++++"] + ["+" * 20] * 6,
     ["....................",
      "....................",
      ".....L..............",
      "....................",
      "..........L...L...L.",
      "....................",
      "....................",
      "..........f........."]),
    # Lesson 4: the Vertical Tunnel at (6, 6) blocks the way and drops Pim to (6, 9), where a Standing
    # Block plugs the Horizontal Tunnel's mouth; on top of the tunnel the wall at (14, 8) ends the walk
    # at (13, 8), inside it a second Standing Block ends it at the tunnel's right end (13, 9); past that
    # the Crumbling Block at (14, 10), the wall at (17, 9) under the teleport entrance, and the exit.
    ('lesson4.map', 'Lesson 4: Tunnels, Teleports', 104, 2,
     ["." * 20] * 4 +
     [".................!.E",
      "................####",
      "...S..v.............",
      "######v########.....",
      "######........#..1..",
      "######.ThhhhhhT..###",
      "##############c#####",
      "##############.#####"] + ["#" * 20] * 3,
     None),
]


def lesson_text(file_name, name, lv):
    text = lv.map_text(True).split('\n')
    text[0], text[1] = name, file_name
    return '\n'.join(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, '..', '..', 'data', 'levels', 'tutorial')
    for file_name, name, number, background, rows, deco in LESSONS:
        lv = level(number, name[:31], 'lesson', rows, background, deco=deco)
        with open(os.path.join(out, file_name), 'w', newline='\n') as f:
            f.write(lesson_text(file_name, name, lv))


if __name__ == '__main__':
    main()
