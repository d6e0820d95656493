# Level 1, "Where the Floor Forgets": a Down Block bridges a gap that falls away into nothing
right 8
down-block
right 7
