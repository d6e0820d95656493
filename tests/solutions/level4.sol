# Level 4, "Moonlit Crossing": the three blocks together: bridge a gap, climb a step, lean a block over a chasm
right 4
down-block
right 4
up-block
right 4
stand-block
up-block
right 4
