# Level 11, "Tube Over the Abyss": inside a tunnel you do not fall; build from its last cell, where stone lies beneath
right 9
down-block
right 6
