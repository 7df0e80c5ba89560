' RANDOMIZE makes RAND repeat the token machine's numbers on the board; PAUSE waits in
' 20 ms ticks of TIMER; SETBAUD with the two rates of the board's serial line.
' profile: tessel-1.1
DIM t AS INTEGER
DIM first AS INTEGER
RANDOMIZE 1234
first = RAND AND 32767
PRINT first MOD 100; " "; (RAND AND 32767) MOD 100     ' expect: 0 79
RANDOMIZE 1234
PRINT first = (RAND AND 32767)                         ' expect: -1
SETBAUD 4808, 4808
t = TIMER
PAUSE 50
t = TIMER - t
PRINT t >= 50 AND t < 55                               ' expect: -1
SETBAUD 9615, 9615
PRINT "still talking"                                  ' expect: still talking
