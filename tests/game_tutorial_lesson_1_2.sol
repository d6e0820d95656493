# Lesson 1, before "Just like that!": from the edge Pim steps over it and falls to the ground below.
from 9 5 right
wait 30
right 1
wait 40
