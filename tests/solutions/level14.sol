# Level 14, "Crumbs on the Crossing": no block can be built on a crumbling block: build before you step, and use the holes it leaves
right 9
down-block
right 7
