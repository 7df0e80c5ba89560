' Tessel 1.1 has no day of the week in its runtime: a generated subroutine computes it.
' profile: tessel-1.1
PRINT DOW ' expect: 6
YEAR = 2024 : MONTH = 2 : DAY = 29
PRINT DOW ' expect: 4
YEAR = 2000 : MONTH = 3 : DAY = 1
PRINT DOW ' expect: 3
YEAR = 1999 : MONTH = 12 : DAY = 31
PRINT DOW ' expect: 5
YEAR = 2023 : MONTH = 1 : DAY = 1
PRINT DOW ' expect: 7
