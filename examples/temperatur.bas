' Temperaturtabelle: Celsius, Fahrenheit und eine Einschaetzung.
DIM celsius AS INTEGER

PRINT "Celsius Fahrenheit Einschaetzung"
FOR celsius = -20 TO 40 STEP 10
  PRINT celsius, celsius * 9 / 5 + 32,   ' das Komma am Ende haelt die Zeile offen
  SELECT CASE celsius
    CASE IS < 0
      PRINT "Frost"
    CASE 0 TO 15
      PRINT "kalt"
    CASE 16 TO 25
      PRINT "angenehm"
    CASE ELSE
      PRINT "heiss"
  END SELECT
NEXT celsius
END
