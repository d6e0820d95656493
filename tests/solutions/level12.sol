# Level 12, "The Chimney": a vertical tunnel bars the way sideways but lets you drop through from above
right 7
up-block
right 7
