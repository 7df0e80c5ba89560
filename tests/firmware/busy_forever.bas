' Runs until the host's probe stops it.
DIM n AS INTEGER
DO
  n = n AND 1
LOOP UNTIL n = -1
