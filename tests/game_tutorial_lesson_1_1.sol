# Lesson 1, before "Here is a cliff": Pim walks from his start to the edge of the ledge and looks down.
from 2 5 right
wait 40
right 7
wait 30
duck 50
wait 40
