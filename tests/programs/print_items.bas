' PRINT items: texts, the separators "," and ";", numbers, STR$, CHR$, string constants
' and the line breaks.
CONST greeting$ = "Hello" + ", " + "world"
CONST twoLines$ = "first" + CHR$(13) + CHR$(10) + "second"
CONST empty$ = ""
DIM n AS INTEGER
DIM b AS BYTE
n = -123
b = 255
PRINT "plain text"                  ' expect: plain text
PRINT "a"; "b"; "c"                 ' expect: abc
PRINT "a", "b", "c"                 ' expect: a b c
PRINT n; "/"; b                     ' expect: -123/255
PRINT n, b                          ' expect: -123 255
PRINT 30000 + 30000                 ' expect: -5536
PRINT 32767 + 1; " "; -(1 - 1)      ' expect: -32768 0
PRINT STR$(n * 2); "!"              ' expect: -246!
PRINT CHR$(72); CHR$(b - 150)       ' expect: Hi
PRINT greeting$; "."                ' expect: Hello, world.
PRINT twoLines$                     ' expect: first
                                    ' expect: second
PRINT "no break ";
PRINT "here"                        ' expect: no break here
PRINT 1;
PRINT 2,
PRINT 3                             ' expect: 12 3
PRINT                               ' expect:
PRINT empty$                        ' expect:
PRINT "x": PRINT "y"                ' expect: x
                                    ' expect: y
