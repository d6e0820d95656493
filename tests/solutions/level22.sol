# Level 22, "The Last Dreamer": everything at once: lean a bridge, drop down the chimney, climb into the tube, bridge the last gap
right 3
stand-block
left
turn right
stand-block
up-block
right 8
up-block
right 3
up-block
right 3
down-block
right 2
