; The survey definition of a sheet definition: one row, 調査コード "01".
; 調査名 is 255 wide, the width old definitions are widened to.
調査定義
FIELD
"調査コード","char*","調査コード",2,0,0,"",2
"調査名","char*","調査名",255,0,0,"",255
"集計テーブル名","char*","集計テーブル名",40,0,0,"",40
"選択肢の幅","int","チェック04",3,0,0,"",3
"グループ項目１","char*","グループ項目01",40,0,0,"",40
"グループ項目２","char*","グループ項目02",40,0,0,"",40
INDEX
"調査コード","△"
END
