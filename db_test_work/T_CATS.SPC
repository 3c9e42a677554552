T_CATS
FIELD
"•ª—Þ","char*","CAT",2,0,0,"",2
"•ª—Þ–¼","char*","CATNAME",20,0,0,"",20
INDEX
"CAT","¢"
END
