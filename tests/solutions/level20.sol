# Level 20, "Shut the Door": a teleport in your way throws you back to the start: a Standing Block set in its mouth shuts it, and you climb over
right
down-block
right 2
up-block
right 2
up-block
right 2
stand-block
up-block
right 3
up-block
right 2
