' Arithmetic, comparisons, variables and jumps without output: the token rate of a board.
DIM i, j, s AS INTEGER
s = 0
FOR i = 1 TO 200
  FOR j = 1 TO 100
    s = s + (i * j) MOD 7
    IF s > 10000 THEN s = s - 10000
  NEXT j
NEXT i
PRINT s
