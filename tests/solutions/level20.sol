# Level 20, "The Room Above the Room": the teleport sets you on crumbling ground: walk off it, come back, and drop through
right 5
up-block
right 2
left
right 4
