' INPUT reads numbers and whole lines from the serial line: into variables, array and
' structure elements, a port (nothing to see of it here), STRING and STRING * n variables.
' Lines longer than the variable keep what fits; the rest of the line is dropped.
TYPE point
  x AS INTEGER
  label$ AS STRING
END TYPE
DIM a AS INTEGER
DIM b AS BYTE
DIM flag AS BOOLEAN
DIM list[3] AS INTEGER
DIM p AS point
DIM leds AS BYTE PORT[1]
DIM name$ AS STRING
DIM city$ AS STRING
DIM short$ AS STRING * 4
' input: 42
' input: -300
' input: 1
' input: 7
' input: 9
' input: 128
' input: Ada Lovelace
' input: Paris
' input: somewhere
' input: Berlin
' input: 0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789
' input: 12
INPUT a, b
PRINT a; " "; b                     ' expect: 42 212
INPUT flag
PRINT flag                          ' expect: -1
INPUT list[2], p.x
PRINT list[1]; list[2]; p.x         ' expect: 079
INPUT leds
INPUT name$, city$
PRINT name$; " from "; city$        ' expect: Ada Lovelace from Paris
INPUT p.label$
PRINT p.label$; "."                 ' expect: somewhere.
INPUT short$
PRINT short$; LEN(short$)           ' expect: Berl4
INPUT name$
PRINT LEN(name$); " "; LEN(city$)   ' expect: 80 5
INPUT short$
PRINT short$                        ' expect: 12
