# Level 5, "Stone That Says No": a restriction stone refuses every block, so the far gap is crossed by falling in and climbing out
right 6
down-block
right 3
up-block
right 8
