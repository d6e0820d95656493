# Level 5, "Stone That Says No": a stone that refuses every block: bridge the gap, then build the climb from the stone before it
right 5
down-block
right 3
stand-block
up-block
right 9
