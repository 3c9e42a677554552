; The screen tables of a screen database: screens (SCRTBL), their field
; rows (FLDTBL), their ruled lines (LINTBL) and the graph colours (GCOLOR),
; one description per table (section line, FIELD, INDEX, END). Readers skip
; lines outside a description; these notes begin with ";".
; FSCRTBL3.SPC joins the three parts of this folder; FSCRTBL2.SPC, the older
; layout, leaves out the execution text of fields (FLDEXEC, FLDSFLD).
; SCRFKEY is one character per function-key position (SCRFKEY00 to 15);
; FLDCD holds a command code or code character as one byte.
SCRTBL
FIELD
"画面名","char*","SCRNAME",20,0,0,"",20
"画面コード","char*","SCRCODE",20,0,0,"",20
"画面種別","char*","SCRTYPE",10,0,0,"",10
"テーブル","char*","SCRTBL",40,0,0,"",40
"データベース","char*","SCRDBS",120,0,0,"",40
"入力形式","char*","SCREDT",4,0,0,"",4
"罫線ファイル","char*","PFORM",30,0,0,"",30
"入力","char*","SCRINP",2,0,0,"",2
"カーソル移動","char*","CURMOV",2,0,0,"",2
"項目枠","char*","SCRFRM",2,0,0,"",2
"表示位置","char*","SCRPOS",4,0,0,"",4
"用紙","char*","PAPSIZE",4,0,0,"",4
"タイトル","char*","SCRTITLE",100,0,0,"",50
"キー項目","char*","SCRKEYFLD",200,0,0,"",50
"ファンクションキー","char","SCRFKEY",1,16,0,"",1
"文字サイズ","int","SCRCSIZ",4,0,0,"",4
"行送り","int","SCRLPCH",4,0,0,"",4
"横幅","int","SCRWID",4,0,0,"",4
"高さ","int","SCRHIG",4,0,0,"",4
"Ｘ位置","int","SCRX",4,0,0,"",4
"Ｙ位置","int","SCRY",4,0,0,"",4
"インデックス","int","SCRIDX",4,0,0,"",4
"行数","int","LINCNT",4,0,0,"",4
"画面番号","int","SCRNO",4,0,0,"",4
"ボタン枠","char","SCRTRN",1,0,0,"",1
"見出しボタン","int","BORATE",4,0,0,"",4
"読取装置","int","READER",4,0,0,"",4
"通信ポート","int","COMPORT",4,0,0,"",4
"横スクロール","char","SCRLSCRL",1,0,0,"",1
INDEX
"SCRCODE","△"
"SCRNAME","△"
END
FLDTBL
FIELD
"画面コード","char*","SCRCODE",20,0,0,"",20
"項目コード","char*","FLDCODE",10,0,0,"",10
"画面名","char*","SCRNAME",20,0,0,"",20
"項目名","char*","FLDNAME",60,0,0,"",30
"タイトル","char*","FLDTITLE",200,0,0,"",50
"入力","char*","FLDLOCK",2,0,0,"",2
"結合条件","char*","FLDJOIN",200,0,0,"",50
"ガイド","char*","FLDGMSG",255,0,0,"",50
"候補","char*","FLDKOHO",1000,0,0,"",50
"枠","char*","FLDDECR",4,0,0,"",4
"編集","char*","FLDEDT",4,0,0,"",4
"タイトル位置","char*","FLDTTL",2,0,0,"",2
"種別","char*","FLDTYPE",4,0,0,"",4
"文字色","char*","FLDCCOL",2,0,0,"",2
"背景色","char*","FLDBCOL",2,0,0,"",2
"一覧","char*","FLDLST",2,0,0,"",2
"一覧表示数","int","FLDCLCNT",4,0,0,"",4
"配列開始","int","FLDARSTT",4,0,0,"",4
"配列数","int","FLDARCNT",4,0,0,"",4
"配列方向","char*","FLDARHOK",2,0,0,"",2
"桁数","int","FLDSMSU",4,0,0,"",4
"行数","int","FLDRMSU",4,0,0,"",4
"文字サイズ","int","FLDCSIZ",4,0,0,"",4
"高さ","int","FLDHIG",4,0,0,"",4
"Ｘ位置","int","FLDX",4,0,0,"",4
"Ｙ位置","int","FLDY",4,0,0,"",4
"Ｘずれ","int","FLDXSFT",4,0,0,"",4
"Ｙずれ","int","FLDYSFT",4,0,0,"",4
"小数桁","int","FLDDEC",4,0,0,"",4
"コード","char","FLDCD",1,0,0,"",1
"印刷","int","FLDPFLG",4,0,0,"",4
"レコード区分","int","FLDRCD",4,0,0,"",4
"インデックス","char","FLDIDX",1,0,0,"",1
"最小値","char*","FLDMIN",12,0,0,"",12
"最大値","char*","FLDMAX",12,0,0,"",12
"頁","int","FLDPNO",4,0,0,"",4
"区切り","int","FLDTFLG",4,0,0,"",4
"初期値","char*","FLDDEFLT",30,0,0,"",30
"移動先","char*","FLDJUMP",60,0,0,"",30
"イメージ","char*","FLDUNQ",2,0,0,"",2
"間隔","int","FLDTNO",4,0,0,"",4
