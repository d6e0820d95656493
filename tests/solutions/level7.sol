# Level 7, "Over, Not Across": no Down Block here: go up and over the gap on a Standing Block
right 7
stand-block
up-block
right 9
