' POKE writes the controller's own memory, which the simulator does not have.
PRINT "before"                      ' expect: before
POKE 100, 1 ' expect error: Unbehandelter, kritischer Fehler: Speicherplatz existiert nicht @3
