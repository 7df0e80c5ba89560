' Tessel Micro keeps BYTE variables: loops, arithmetic, branches, subroutines and
' FUNCTIONs on the board with 62 variable bytes.
' profile: tessel-micro
DIM i, total, x AS BYTE
FUNCTION twice(v AS BYTE)
  twice = v + v
END FUNCTION
total = 0
FOR i = 1 TO 10
  total = total + i
NEXT i
PRINT "sum "; total
x = twice(21)
PRINT "twice "; x
IF x > 40 THEN
  PRINT "big"
ELSE
  PRINT "small"
END IF
GOSUB show
i = 0
DO
  i = i + 3
LOOP UNTIL i > 20
PRINT "loop "; i
x = 200
x = x + 100
PRINT "wrap "; x
PRINT "mod "; 17 MOD 5; " div "; 17 / 5
END
show:
  PRINT "sub"
RETURN
' expect: sum 55
' expect: twice 42
' expect: big
' expect: sub
' expect: loop 21
' expect: wrap 44
' expect: mod 2 div 3
