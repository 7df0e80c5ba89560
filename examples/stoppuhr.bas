' Stoppuhr: misst mit TIMER (Schritte von 20 ms), wie lange Pausen dauern,
' und zeigt die Uhr des Controllers, die beim Start auf 1.1.2005 0:00 steht.
DIM start AS INTEGER, dauer AS INTEGER
DIM runde AS BYTE

PRINT "Datum: "; DAY; "."; MONTH; "."; YEAR
FOR runde = 1 TO 3
  start = TIMER
  PAUSE runde * 25               ' 0,5 s, 1 s, 1,5 s
  dauer = TIMER - start
  PRINT "Runde "; runde; ": "; dauer * 20; " ms"
NEXT runde
PRINT "Uhrzeit: "; HOUR; ":"; MINUTE; ":"; SECOND
END
