' SWITCH, PULSE and DEACT drive and release pins and ports (their levels go to the
' simulated hardware, not to the serial line); SLOWMODE means nothing on this board.
DIM led AS BOOLEAN PORT[1, 1]
DIM bar AS BYTE PORT[2]
SWITCH led
PULSE led
DEACT led
bar = 170
DEACT bar
SLOWMODE 1
PRINT "pins done"                   ' expect: pins done
