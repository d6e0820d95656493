# Level 18, "The Second Fall": the first fall through the tower is the only way to the niche beside it: set a Standing Block there as the floor for the second fall
right
down-block
right 3
up-block
right 5
stand-block
left 6
right
up-block
right 8
