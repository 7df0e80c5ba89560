' RANDOMIZE makes RAND repeat its numbers; PAUSE waits in 20 ms ticks of TIMER; SETBAUD
' sets the serial line's speed.
DIM t AS INTEGER
DIM first AS INTEGER
DIM k AS INTEGER
RANDOMIZE 1234
first = RAND AND 32767
PRINT first MOD 100; " "; (RAND AND 32767) MOD 100     ' expect: 0 79
RANDOMIZE 1234
PRINT first = (RAND AND 32767)                         ' expect: -1
SETBAUD 115200
t = TIMER
PAUSE 50
t = TIMER - t
PRINT t >= 50 AND t < 55                               ' expect: -1
SETBAUD 9600
PRINT "still talking"                                  ' expect: still talking
