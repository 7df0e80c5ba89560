' A FUNCTION's result is cut to its declared type as a store into a variable of that type
' would cut it (here Tessel 1.1 code): BYTE keeps the low byte, BOOLEAN is -1 for anything but 0.
' profile: tessel-1.1
DIM b AS BYTE
FUNCTION asByte(xb) AS BYTE
  asByte = xb
END FUNCTION
FUNCTION asFlag(xf) AS BOOLEAN
  asFlag = xf
END FUNCTION
FUNCTION asWord(xw) AS INTEGER
  asWord = xw
END FUNCTION
FUNCTION untyped(xu)
  untyped = xu
END FUNCTION
b = 300
PRINT asByte(300); " "; b; " "; asByte(-1); " "; asByte(255)   ' expect: 44 44 255 255
PRINT asFlag(5); " "; asFlag(0); " "; asFlag(-7)                ' expect: -1 0 -1
PRINT asWord(300); " "; untyped(-300)                           ' expect: 300 -300
IF asByte(256) = 0 THEN PRINT "cut"                             ' expect: cut
