# Level 14, "Crumbs on the Crossing": no block can be built on a crumbling block: lean a Standing Block and lay a Down Block over the crumbs from the stone beside them, then cross the last crumbs before they go
right 4
stand-block
up-block
right 2
down-block
right 5
down-block
right 5
