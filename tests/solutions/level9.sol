# Level 9, "Every Stone Its Rule": read each restriction: where Down is refused go over on a Standing Block, where Up is refused two Standing Blocks carry you
right 5
stand-block
up-block
right 4
stand-block
left
turn right
stand-block
up-block
right 7
