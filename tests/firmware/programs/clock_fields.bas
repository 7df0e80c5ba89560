' The clock starts at 1 January 2005, 00:00:00; its fields can be set one by one, an
' invalid value leaves the clock as it was.
PRINT YEAR; "-"; MONTH; "-"; DAY; " "; DOW; " "; HOUR; ":"; MINUTE
YEAR = 2024
MONTH = 2
DAY = 29
HOUR = 23
MINUTE = 59
PRINT YEAR; "-"; MONTH; "-"; DAY; " "; DOW; " "; HOUR; ":"; MINUTE
DAY = 30
PRINT YEAR; "-"; MONTH; "-"; DAY
MONTH = 13
SECOND = 61
PRINT YEAR; "-"; MONTH; "-"; DAY; " "; DOW
YEAR = 2023
PRINT YEAR; "-"; MONTH; "-"; DAY
MONTH = 12
DAY = 31
PRINT DOW
