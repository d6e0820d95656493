# Level 10, "The Hollow Wall": a horizontal tunnel carries you through the wall and over the hollow inside it, where you do not fall
right 6
up-block
right 10
