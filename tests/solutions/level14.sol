# Level 14, "Crumbs on the Crossing": no block can be built on a crumbling block: climb each bump from the stone beside it, lean a block over the crumbs, and cross the last of them before they go
right 4
stand-block
up-block
right 3
up-block
right 4
down-block
right 5
