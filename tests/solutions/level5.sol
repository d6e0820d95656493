# Level 5, "Stone That Says No": a stone that refuses every block stands where the climb would start: lean the climb from the stone before it
right 8
stand-block
up-block
right 8
