# Level 17, "The Dreamers' Relay": the teleport beside you is a trap; the true one lies behind you, up the ledges, and hands you on to a second one that sets you down by the exit
left
down-block
left 2
up-block
left
stand-block
up-block
left 2
turn right
down-block
right 2
