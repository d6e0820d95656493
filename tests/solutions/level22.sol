# Level 22, "The Last Dreamer": ride the same teleport twice: the first landing crumbles under you, so the second drops you down the tube into the hall below
down-block
right 2
up-block
right 2
left 2
up-block
left 3
up-block
left 4
up-block
left 4
down-block
left 6
down-block
left 5
