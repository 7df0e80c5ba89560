' The data file behind the program: written, closed, read back up to EOF, appended to;
' reading past its end is an error at the INPUT # that does it.
DIM v AS INTEGER
DIM i AS INTEGER
OPEN # FOR WRITE
FOR i = 1 TO 3
  PRINT #, i * 100
NEXT i
CLOSE #
PRINT FILESIZE                      ' expect: 3
OPEN # FOR APPEND
PRINT #, -1, 77
CLOSE #
OPEN # FOR READ
DO WHILE NOT EOF
  INPUT #, v
  PRINT v; " ";
LOOP
PRINT                               ' expect: 100 200 300 -1 77 
CLOSE #
OPEN # FOR READ
INPUT #, v, i
PRINT v + i                         ' expect: 300
CLOSE #
OPEN # FOR WRITE
PRINT #, 5
CLOSE #
OPEN # FOR READ
INPUT #, v
PRINT v                             ' expect: 5
INPUT #, v ' expect error: Unbehandelter Ausnahmefehler: Dateiende erreicht @31
PRINT "not reached"
