# Level 9, "Every Stone Its Rule": read each restriction: Down where Standing is refused, Standing where Up is refused
right 4
down-block
right 5
stand-block
left
turn right
stand-block
up-block
right 7
