# Level 20, "Catch Yourself": the teleport drops you into a bottomless shaft: leave a Standing Block in it first
right 6
stand-block
left 8
up-block
left
right
