' DO with its condition at either end, and EXIT from nested loops and procedures; a
' thousand passes leave nothing behind on the data stack.
DIM i, j, n AS INTEGER
DO WHILE n < 3
  n = n + 1
LOOP
DO
  n = n + 2
LOOP UNTIL n > 6
PRINT n
' expect: 7
DO UNTIL n = 0
  n = n - 1
LOOP
DO
  n = 100
LOOP WHILE n < 0
PRINT n
' expect: 100
FOR i = 1 TO 3
  DO
    j = j + 1
    FOR n = 1 TO 10
      IF n = 2 THEN EXIT FOR
    NEXT
    IF j MOD 2 = 0 THEN EXIT DO
  LOOP
  PRINT i; j; n; " ";
NEXT
PRINT
' expect: 122 242 362 
FUNCTION firstdivisor(v AS INTEGER)
  DIM d AS INTEGER
  FOR d = 2 TO v
    IF v MOD d = 0 THEN
      firstdivisor = d
      EXIT FUNCTION
    END IF
  NEXT
END FUNCTION
SUB countto(last AS INTEGER)
  DIM c AS INTEGER
  c = 0
  DO
    c = c + 1
    IF c > last THEN EXIT SUB
    PRINT c;
  LOOP
END SUB
FOR i = 1 TO 1000
  n = firstdivisor(91)
NEXT
PRINT n
CALL countto(4)
PRINT
' expect: 7
' expect: 1234
