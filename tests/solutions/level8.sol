# Level 8, "Nowhere to Lean": a stone that refuses the Standing Block: no leaning bridge from its edge, so go down the chasm and come up from below with the Down and Up Blocks it still allows
right 8
down-block
right 3
up-block
right
up-block
