# Level 13, "The Floor That Remembers": a crumbling block leaves a hole once you have walked off it: the only way down
right 6
left
up-block
left 3
