# Level 21, "Unmake the Bridge": the Down Block that carries you over the shaft is the floor you must take away, once a Standing Block below waits to catch you
right 5
down-block
right 8
left 6
stand-block
right 9
left 4
down-block
left 4
