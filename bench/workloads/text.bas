10 I = 0
20 S$ = ""
30 I = I + 1
40 S$ = S$ + STR$(I)
50 IF I < 20000 THEN 30
60 END
