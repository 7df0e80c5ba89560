' STRING * n joins on the larger board, with the variables in the internal EEPROM too.
' profile: atmega-128
DIM a$ AS STRING * 6
DIM e$ AS STRING * 9 IEEPROM
DIM n AS INTEGER
a$ = "Wert"
n = -300
e$ = a$ + ":" + STR$(n) + CHR$(33) + "??"
PRINT e$; LEN(e$)                    ' expect: Wert:-3009
a$ = e$ + "xyz"
PRINT a$                             ' expect: Wert:-
