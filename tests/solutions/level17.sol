# Level 17, "The Dreamers' Relay": a teleport that lands on another teleport goes on; the near one is a trap: a moon marks it and the cell it leads to, lanterns the relay and its exit; bridge the gap beyond it
right 2
up-block
right 2
down-block
right 2
