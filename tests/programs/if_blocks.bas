' IF blocks with ELSEIF and ELSE, nested, and one-line IFs with ELSE.
DIM x AS INTEGER
SUB classify(v AS INTEGER)
  IF v < 0 THEN
    PRINT "negative"
  ELSEIF v < 10 THEN
    IF v MOD 2 = 0 THEN
      PRINT "small even"
    ELSE
      PRINT "small odd"
    END IF
  ELSE
    PRINT "large"
  END IF
END SUB
CALL classify(-5)
CALL classify(4)
CALL classify(7)
CALL classify(12)
' expect: negative
' expect: small even
' expect: small odd
' expect: large
x = 5
IF x > 1 THEN IF x > 3 THEN PRINT "big" ELSE PRINT "medium"
IF x > 9 THEN PRINT "huge" ELSE PRINT "not huge"
IF x = 5 THEN x = 6: PRINT "set"
PRINT x
' expect: big
' expect: not huge
' expect: set
' expect: 6
