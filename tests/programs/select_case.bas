' SELECT CASE with values, lists, IS comparisons, ranges, CASE ELSE and no match; the
' data stack stays balanced on every path, also in a FUNCTION.
DIM i, n AS INTEGER
FUNCTION kind(v AS INTEGER)
  SELECT CASE v
  CASE 1
    kind = 1
  CASE 2, 3
    kind = 2
  CASE 4 TO 6, 9
    kind = 3
  CASE IS >= 20
    kind = 4
  CASE IS < 0, IS = 7
    kind = 5
  CASE ELSE
    kind = 6
  END SELECT
END FUNCTION
FOR i = -1 TO 10
  PRINT kind(i);
NEXT
PRINT kind(25)
' expect: 5612233356364
FOR i = 1 TO 1000
  SELECT CASE i MOD 4
  CASE 0
    n = n + 1
  CASE 1 TO 2
    SELECT CASE i MOD 3
    CASE 0
      n = n + 10
    END SELECT
  END SELECT
NEXT
PRINT n
' expect: 1910
