' SUB ERROR catches the data file's errors: it gets the address of the failing token and
' the error number, and the program goes on after the statement.
DIM value AS INTEGER
DIM caught AS BYTE
SUB ERROR(address AS INTEGER, number AS INTEGER)
  DIM seen AS INTEGER
  seen = number
  caught = caught + 1
  PRINT "error "; seen;
  IF address > 4 THEN PRINT " at an address" ELSE PRINT " nowhere"
END SUB
SUB readone
  DIM mine AS INTEGER
  mine = 42
  INPUT #, value
  PRINT "mine "; mine
END SUB
CLOSE #
' expect: error 9 at an address
OPEN # FOR WRITE
PRINT #, 11
CLOSE #
OPEN # FOR READ
INPUT #, value
PRINT "read "; value
' expect: read 11
CALL readone
' expect: error 11 at an address
' expect: mine 42
CLOSE #
OPEN # FOR READ
OPEN # FOR READ
' expect: error 8 at an address
PRINT caught
' expect: 3
