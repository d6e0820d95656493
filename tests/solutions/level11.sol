# Level 11, "The Roof of the Tube": a tunnel's top is a floor like any other: climb onto it and build the last lift from there
right 8
up-block
right 2
up-block
left
turn right
stand-block
up-block
right 8
