' Rechner: liest zwei Zahlen und eine Rechenart ueber die serielle Schnittstelle
' und gibt das Ergebnis aus. Rechenart 0 beendet das Programm.
DIM a AS INTEGER, b AS INTEGER
DIM art AS BYTE

DO
  PRINT "Erste Zahl: ";
  INPUT a
  PRINT a                       ' die Eingabe anzeigen
  PRINT "Zweite Zahl: ";
  INPUT b
  PRINT b                       ' die Eingabe anzeigen
  PRINT "Rechenart (1 +, 2 -, 3 *, 4 /, 0 Ende): ";
  INPUT art
  PRINT art                     ' die Eingabe anzeigen
  SELECT CASE art
    CASE 0
      EXIT DO
    CASE 1
      PRINT a; " + "; b; " = "; a + b
    CASE 2
      PRINT a; " - "; b; " = "; a - b
    CASE 3
      PRINT a; " * "; b; " = "; a * b
    CASE 4
      IF b = 0 THEN
        PRINT "Division durch 0 ist nicht erlaubt."
      ELSE
        PRINT a; " / "; b; " = "; a / b; " Rest "; a MOD b
      END IF
    CASE ELSE
      PRINT "Unbekannte Rechenart "; art
  END SELECT
LOOP
PRINT "Auf Wiedersehen."
END
