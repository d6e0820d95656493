# Level 22, "The Last Dreamer": everything at once: bridge the shaft, drop to the tube over the pit and set the catch below, ride the teleport back, climb out of the hole your crossing left in the crumbling floor, then unmake the bridge
right 5
down-block
right 9
left 7
stand-block
right 9
left 2
up-block
left 2
down-block
left 4
