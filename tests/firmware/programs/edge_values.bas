' Values at the edges of the 16-bit arithmetic and the built-in functions, computed at
' run time (from variables) so that the board's tokens do the work, not the compiler.
DIM a, b, c AS INTEGER
DIM w AS WORD
DIM x AS BYTE
a = 30000
b = 30000
PRINT a + b; " "; a * 3; " "; -a - b
a = -32768
PRINT a; " "; ABS(a); " "; -a
w = ABS(a)
PRINT w
b = 0
PRINT 7 / b; " "; 7 MOD b; " "; a / -1
a = -7
b = 2
PRINT a / b; " "; a MOD b; " "; 7 MOD -2
FOR c = 0 TO 12
  PRINT SQR(c * 7); " ";
NEXT c
PRINT ""
a = -4
PRINT SQR(a); " "; SQR(32767)
a = 3
b = 5
PRINT a > b; " "; a < b; " "; a = b; " "; a <> b; " "; a >= 3; " "; b <= 4
a = -1
b = a SHR 1
PRINT b; " ";
b = a SHL 15
PRINT b; " ";
c = (a AND 255) XOR 15
PRINT c
x = 300
b = 0
c = NOT b
PRINT x; " "; c; " ";
b = -1
c = NOT b
PRINT c
RANDOMIZE 77
FOR c = 1 TO 5
  PRINT RAND AND 1023; " ";
NEXT c
PRINT ""
RANDOMIZE -1
PRINT (RAND SHR 16) AND 32767
