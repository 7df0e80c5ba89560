' Recursive FUNCTIONs and SUBs: each call has a frame of its own, fifteen below the main
' program at most.
FUNCTION factorial(n AS INTEGER)
  IF n <= 1 THEN
    factorial = 1
  ELSE
    factorial = n * factorial(n - 1)
  END IF
END FUNCTION
FUNCTION depth(n AS INTEGER)
  DIM below AS INTEGER
  IF n = 0 THEN EXIT FUNCTION
  below = depth(n - 1)
  depth = below + n
END FUNCTION
SUB hanoi(disks AS BYTE, source AS BYTE, target AS BYTE, spare AS BYTE)
  IF disks = 0 THEN EXIT SUB
  CALL hanoi(disks - 1, source, spare, target)
  PRINT source; target; " ";
  CALL hanoi(disks - 1, spare, target, source)
END SUB
PRINT factorial(7); " "; depth(14)
' expect: 5040 105
CALL hanoi(3, 1, 3, 2)
PRINT
' expect: 13 12 32 13 21 23 13 
