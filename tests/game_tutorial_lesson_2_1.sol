# Lesson 2, before the Down Block: Pim walks from where he broke the Up Block to the gap in the
# ground and looks down into it, and stays at its edge for the user's own Down Block.
from 6 6 right
wait 30
right 3
wait 30
duck 60
wait 30
