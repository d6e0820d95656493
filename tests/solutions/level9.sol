# Level 9, "Every Stone Its Rule": two stones, two refusals: lean from the no-Down stone over its chasm, then build the climb beside the no-Up stone, which only hides the way down
right 5
stand-block
up-block
right 3
stand-block
up-block
right 8
