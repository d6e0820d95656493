# Level 2, "Pillow Stairs": each step up needs an Up Block built at its foot
right 4
up-block
right 2
up-block
right 2
up-block
right 2
up-block
right 6
