# Level 21, "Lantern Relay": prepare the landing, then ride a relay of teleports and falls down onto it
right 6
stand-block
left 8
up-block
left
right
