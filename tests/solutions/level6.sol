# Level 6, "The Leaning Bridge": where no Up Block may stand, two Standing Blocks carry you from the last honest stone
right 9
stand-block
left
turn right
stand-block
up-block
right 7
