' STRING * n variables take texts, other STRING * n and STRING variables, CHR$ and STR$
' joined by "+" or "&"; what does not fit the declared length is cut off.
CONST greeting$ = "Hallo"
DIM a$ AS STRING * 10
DIM b$ AS STRING * 10
DIM c$ AS STRING * 12
DIM short$ AS STRING * 4
DIM r$ AS STRING
DIM empty$ AS STRING
DIM n AS INTEGER
DIM k AS BYTE
DIM t$[3] AS STRING * 6
DIM e$ AS STRING * 8 XEEPROM
a$ = "abc"
b$ = "defg"
c$ = a$ + b$
PRINT c$; LEN(c$)                    ' expect: abcdefg7
c$ = "<" + a$ + ">"
PRINT c$                             ' expect: <abc>
c$ = a$ & "-" & b$
PRINT c$                             ' expect: abc-defg
short$ = a$ + b$
PRINT short$; LEN(short$)            ' expect: abcd4
short$ = "xy" + "z" + a$
PRINT short$                         ' expect: xyza
r$ = greeting$
c$ = r$ + ", " + a$
PRINT c$                             ' expect: Hallo, abc
c$ = empty$ + a$ + empty$
PRINT "["; c$; "]"                   ' expect: [abc]
k = 66
c$ = CHR$(65) + CHR$(k) + CHR$(k + 1)
PRINT c$                             ' expect: ABC
n = -1234
c$ = "n=" + STR$(n) + ";" + STR$(0)
PRINT c$                             ' expect: n=-1234;0
n = 32767
c$ = STR$(n) + STR$(n + 1)
PRINT c$                             ' expect: 32767-32768
n = 10
c$ = STR$(n) + "|" + STR$(n * 10) + "|" + STR$(9)
PRINT c$                             ' expect: 10|100|9
c$ = a$
c$ = c$ + "!" + c$[1]
PRINT c$                             ' expect: abc!a
c$ = c$ + "123456789"
PRINT c$; " "; LEN(c$)               ' expect: abc!a1234567 12
c$ = ""
PRINT "["; c$; "]"; LEN(c$)          ' expect: []0
b$ = STR$(n)
PRINT b$                             ' expect: 10
t$[2] = "[" + a$ + "]"
t$[3] = t$[2] + t$[2]
PRINT t$[2]; t$[3]                   ' expect: [abc][abc][
e$ = "E:" + t$[2] + STR$(-5)
PRINT e$                             ' expect: E:[abc]-
CALL Show("abc", 42)
SUB Show(s$, v AS INTEGER)
  DIM line$ AS STRING * 20
  line$ = s$ + "=" + STR$(v)
  PRINT line$                        ' expect: abc=42
END SUB
