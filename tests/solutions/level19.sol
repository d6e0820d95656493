# Level 19, "Starfall Shaft": a teleport entrance in the shaft catches you in the middle of your fall, and carries you past a wall you could never cross
right 3
up-block
right
up-block
right 2
up-block
right 3
down-block
right 2
up-block
right 2
