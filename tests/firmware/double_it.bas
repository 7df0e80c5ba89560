' Waits for a number and answers with its double: a board that got this program answers.
DIM n AS INTEGER
INPUT n
PRINT "double "; n * 2
