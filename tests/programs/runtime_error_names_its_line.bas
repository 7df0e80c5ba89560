' A statement the machine cannot execute stops the run and names its line.
DIM x AS BYTE
x = 5
$ 0 ' expect error: Unbehandelter, kritischer Fehler: Ungültiges Token @4
