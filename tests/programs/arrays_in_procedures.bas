' Arrays and structures in loops and procedures: a global array filled in a FOR loop and
' summed in a FUNCTION, an array declared inside a SUB, structure members as loop bounds.
TYPE Point
  x AS INTEGER
  y AS INTEGER
END TYPE
DIM squares[10] AS INTEGER
DIM corners[3] AS Point
DIM i AS BYTE
FOR i = 1 TO 10
  squares[i] = i * i
  IF i <= 3 THEN corners[i].x = i: corners[i].y = i * 10
NEXT
SUB histogram
  DIM bins[3] AS BYTE
  DIM k AS BYTE
  FOR k = 1 TO 3
    bins[k] = 0
  NEXT
  FOR k = 1 TO 10
    SELECT CASE squares[k]
    CASE IS < 10
      bins[1] = bins[1] + 1
    CASE 10 TO 49
      bins[2] = bins[2] + 1
    CASE ELSE
      bins[3] = bins[3] + 1
    END SELECT
  NEXT
  PRINT bins[1]; bins[2]; bins[3]
END SUB
CALL histogram
' expect: 343
FUNCTION area(n AS BYTE)
  area = corners[n].x * corners[n].y
END FUNCTION
FOR i = corners[1].x TO corners[3].x
  PRINT area(i); " ";
NEXT
PRINT
' expect: 10 40 90 
