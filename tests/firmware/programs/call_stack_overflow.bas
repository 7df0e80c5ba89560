' A recursion without end overflows the call stack of 16 return addresses; no CRASH
' handler catches it, so the run ends with the report.
SUB forever(n AS INTEGER)
  PRINT n; " ";
  CALL forever(n + 1)
END SUB
CALL forever(1)
