' Tessel Micro: SELECT CASE, nested subroutines, DO WHILE loops and typed input with
' BYTE variables.
' profile: tessel-micro
DIM n, k, depth AS BYTE
SUB nest(level AS BYTE)
  depth = depth + level
  IF level > 1 THEN CALL nest(level - 1)
END SUB
CALL nest(4)
PRINT "depth "; depth
FOR k = 1 TO 4
  SELECT CASE k
    CASE 1
      PRINT "one"
    CASE 2, 3
      PRINT "two or three"
    CASE ELSE
      PRINT "more"
  END SELECT
NEXT k
INPUT n
k = 0
DO WHILE n > 0
  n = n - 1
  k = k + 2
LOOP
PRINT "twice "; k
' input: 7
' expect: depth 10
' expect: one
' expect: two or three
' expect: two or three
' expect: more
' expect: twice 14
