' Lauflicht: ein Licht wandert ueber die acht LEDs an Port 1.
' In der Simulation leuchten die LED-Objekte des Ports; hier zeigt PRINT das Muster.
DIM leds AS BYTE PORT[1]
DIM muster AS BYTE
DIM schritt AS BYTE, bit AS BYTE

muster = 1
FOR schritt = 1 TO 16
  leds = muster
  FOR bit = 0 TO 7
    IF muster AND (1 SHL bit) THEN
      PRINT "*";
    ELSE
      PRINT ".";
    END IF
  NEXT bit
  PRINT
  PAUSE 5                        ' 5 x 20 ms
  muster = muster SHL 1
  IF muster = 0 THEN muster = 1  ' nach der achten LED wieder von vorn
NEXT schritt
END
