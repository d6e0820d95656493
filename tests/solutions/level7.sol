# Level 7, "The Stepping Stone": a no-Down stone alone in the chasm: bridge to it, then lean the next crossing from it instead of bridging
right 4
down-block
right 2
stand-block
up-block
right 11
