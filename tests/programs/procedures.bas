' SUBs and FUNCTIONs with parameters of every type and locals that stay apart between
' nested calls; FUNCTION results in expressions; a call before the declaration; GOTO
' and GOSUB.
DIM g AS INTEGER
CALL later(3)
' expect: later 3
SUB later(n)
  PRINT "later "; n
END SUB
SUB describe(label$, count AS BYTE, flag AS BOOLEAN, amount AS INTEGER)
  PRINT label$; count; " ";
  IF flag THEN PRINT "on "; amount ELSE PRINT "off "; amount
END SUB
CALL describe("first ", 255, TRUE, -21)
' expect: first 255 on -21
SUB outer(a AS INTEGER)
  DIM mine AS INTEGER
  mine = a * 10
  CALL inner(a + 1, mine)
  PRINT "outer "; mine
END SUB
SUB inner(a AS INTEGER, b AS INTEGER)
  DIM mine AS INTEGER
  mine = a + b
  g = mine
END SUB
CALL outer(1)
PRINT g
' expect: outer 10
' expect: 12
FUNCTION square(x AS INTEGER)
  square = x * x
END FUNCTION
FUNCTION sum3(x, y, z)
  sum3 = x + y + z
END FUNCTION
FUNCTION nothing
END FUNCTION
PRINT sum3(square(2), 10, sum3(1, 2, 3)) + nothing
' expect: 20
SUB search(limit AS INTEGER)
  DIM k AS INTEGER
  k = 0
  more:
  k = k + 1
  IF k * k <= limit THEN GOTO more
  PRINT k * k
END SUB
CALL search(50)
GOSUB twice
PRINT g
' expect: 64
' expect: 24
END
twice:
g = g * 2
RETURN
