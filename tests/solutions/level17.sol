# Level 17, "Drifting Cloudsea": the clouds drift by while you fall into a shallow pit and climb out the far side
right 4
up-block
right 4
stand-block
up-block
right 7
