# Level 16, "The Room Above the Room": the teleport sets you on a floor that crumbles behind you, over a pit and a safe room: the hole you fall through is the one you come back to, so go two steps out and one back
right 5
up-block
right 3
left
right 4
