# Level 12, "Tubes Both Ways": down a vertical tunnel, then along a horizontal one: each lets you pass only its own way
right 3
up-block
right 15
