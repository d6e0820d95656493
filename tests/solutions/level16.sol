# Level 16, "The Room Above the Room": the teleport sets you on a floor that crumbles behind you, over a pit and a safe room: the hole you fall through is the one you come back to, so go two steps out and one back
down-block
right 2
down-block
right 2
stand-block
up-block
right 4
left
right
up-block
right 3
