# The credits movie: Pim's last little dream while the names go by (compiled into credits.qmv).
# It ends one step short of the exit: the credits themselves send Pim home once the names have gone.
# Pim wakes on the cloud-stone ledge under his "z z z" and looks about.
from 1 4 right
wait 250
turn left
wait 50
turn right
wait 70
right 3
wait 90
# A block for the road, built and taken back.
stand-block
wait 100
stand-block
wait 80
# Over the edge, down onto the dream-wood.
right 1
wait 220
turn left
wait 40
stand-block
wait 90
stand-block
wait 60
turn right
wait 60
right 1
wait 80
# A stone in the way: an Up Block lifts him over it.
up-block
wait 90
right 2
wait 100
# Into the teleport, out on the crystal floor.
right 1
wait 220
right 2
wait 90
# A gap: he looks down, fills it with a Down Block and crosses.
down-block
wait 80
right 1
wait 60
right 2
wait 40
right 1
wait 70
# The crumbling block falls away behind him; a look back, and he waits by the door for the last names.
turn left
wait 90
turn right
wait 380
