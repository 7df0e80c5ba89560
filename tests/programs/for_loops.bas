' FOR with TO, DOWNTO and STEP; a BYTE counter runs up to 255 and the loop still ends.
DIM b AS BYTE
DIM i, j, total AS INTEGER
FOR b = 253 TO 255
  PRINT b; " ";
NEXT b
PRINT
' expect: 253 254 255 
j = 2
FOR i = 20 DOWNTO 5 STEP -j * 3
  PRINT i; " ";
NEXT
PRINT
' expect: 20 14 8 
FOR i = 5 TO 4
  PRINT "never"
NEXT
FOR i = 1 TO 3
  FOR j = i TO 3
    total = total + i * j
  NEXT j
NEXT i
PRINT total; " "; i; " "; j
' expect: 25 4 4
