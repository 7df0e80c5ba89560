' SUB INTERRUPT runs when the interrupt input fires while INTERRUPT ON holds; INTERRUPT
' OFF ignores it; ON INTERRUPT GOSUB names a subroutine that ends with RETURN INTERRUPT.
' interrupt after: 1000
' interrupt after: 20000
' interrupt after: 70000
DIM hits, spins AS INTEGER
DIM which AS BYTE
SUB INTERRUPT
  DIM inside AS INTEGER
  inside = 7
  hits = hits + inside
END SUB
INTERRUPT ON
DO
  spins = spins + 1
LOOP UNTIL hits > 0 OR spins > 30000
PRINT "handler "; hits
' expect: handler 7
INTERRUPT OFF
spins = 0
DO
  spins = spins + 1
LOOP UNTIL spins = 3000
PRINT "ignored "; hits
' expect: ignored 7
ON INTERRUPT GOSUB pressed
spins = 0
DO
  spins = spins + 1
LOOP UNTIL which = 1 OR spins > 30000
PRINT "subroutine "; which
' expect: subroutine 1
END
pressed:
  which = 1
RETURN INTERRUPT
