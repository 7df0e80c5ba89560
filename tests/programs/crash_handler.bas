' SUB CRASH catches critical errors and restarts the program; a variable that survives
' the restart decides what each run does: a call stack overflow by endless recursion,
' then a data stack overflow, then a read outside variable memory.
DIM runs AS BYTE
DIM numbers[3] AS INTEGER
SUB CRASH(address AS INTEGER, number AS INTEGER)
  runs = runs + 1
  PRINT "crash "; number
END SUB
FUNCTION endless(n AS INTEGER)
  endless = endless(n + 1)
END FUNCTION
SUB nested(n AS INTEGER)
  IF n > 0 THEN CALL nested(n - 1)
  PRINT n;
END SUB
SELECT CASE runs
CASE 0
  PRINT endless(1)
CASE 1
  ' Procedures nest as deep as before after a restart from deep inside them.
  CALL nested(13)
  PRINT
  DO
    $ &H5A, 1
  LOOP
CASE 2
  PRINT numbers[1000]
CASE ELSE
  PRINT "done after "; runs
END SELECT
' expect: crash 1
' expect: 012345678910111213
' expect: crash 3
' expect: crash 5
' expect: done after 3
