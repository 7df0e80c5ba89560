' STRING variables print the constant they refer to, STRING * n variables their own
' bytes; one character of a STRING * n prints as a character.
CONST name$ = "Zarvek"
DIM s$ AS STRING
DIM t$ AS STRING = "initial"
DIM f$ AS STRING * 5
PRINT "["; s$; "]"                  ' expect: []
PRINT t$                            ' expect: initial
s$ = "assigned"
PRINT s$; " "; LEN(s$)              ' expect: assigned 8
s$ = name$
t$ = s$
PRINT s$, t$                        ' expect: Zarvek Zarvek
f$ = "abcdefgh"
PRINT f$; LEN(f$)                   ' expect: abcde5
PRINT f$[1]; f$[5]                  ' expect: ae
f$ = s$
PRINT "<"; f$; ">"                  ' expect: <Zarve>
f$ = "ab"
PRINT f$; "|"                       ' expect: ab|
