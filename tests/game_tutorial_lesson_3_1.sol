# Lesson 3, on the Up Restriction Block: Pim builds a Standing Block and a Down Block from it, to show
# that only the Up Block is refused there, and takes both back so that the user can build them too.
from 2 4 right
wait 40
stand-block
wait 50
down-block
wait 60
stand-block
wait 30
down-block
wait 40
