# Level 16, "The Dreamers' Relay": a teleport that lands on another teleport goes on; the near one is a trap
right 2
up-block
right 4
