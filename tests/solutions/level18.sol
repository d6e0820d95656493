# Level 18, "Starfall Shaft": a teleport entrance catches you in the middle of a fall
right 6
up-block
right 3
down-block
right 4
