# Level 3, "A Block to Lean On": a Standing Block over a gap becomes the floor an Up Block lifts you onto
right 6
stand-block
up-block
right 7
