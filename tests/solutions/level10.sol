# Level 10, "The Hollow Wall": a horizontal tunnel lets you walk through solid wall, once an Up Block lifts you to it
right 6
up-block
right 10
