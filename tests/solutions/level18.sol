# Level 18, "The Second Fall": the first fall through the tower is the only way to the niche beside it: set a Standing Block there as the floor for the second fall
right 9
stand-block
left 6
right 9
