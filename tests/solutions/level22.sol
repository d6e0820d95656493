# Level 22, "The Last Dreamer": everything at once: bridge the shaft, set the catch below, ride the teleport back, climb out of the hole your first crossing left in the crumbling floor, then unmake the bridge
right 5
down-block
right 8
left 6
stand-block
right 9
left 2
up-block
left 2
down-block
left 4
