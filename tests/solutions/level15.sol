# Level 15, "A Door in the Dream": a teleport carries you through a wall you could never climb
right 6
up-block
right 4
